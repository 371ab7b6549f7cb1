// Broth: the rectangle, the density, the generator's sequence and the configuration checks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/messages.h"
#include "game_support.h"
#include "games/broth.h"
#include "games/millitime.h"

namespace tessera::test {
namespace {

class ProgressLog : public CBrothProgress {
public:
    void ShowProgress(std::string_view text) override { lines.emplace_back(text); }
    std::vector<std::string> lines;
};

class BrothTest : public GameTestBase {
protected:
    Cells Broth(uint32_t seed, uint32_t density, const CLRect& rect, ProgressLog* log = nullptr) {
        generator.SetState(seed);
        UniverseRef universe = Owned(MakeUniverse({}));
        FillBroth(*universe, density, rect, generator, log);
        return CellsOf(*universe);
    }
    CRandomGenerator generator{CMillitime(1'700'000'123, 456)};
};

TEST_F(BrothTest, SeedingAndStirringFollowTheClock) {
    EXPECT_EQ(generator.State(), (456u * uint32_t(1'700'000'123)) ^ 0x1234FEDCu);
    const uint32_t before = generator.State();
    generator.Stir(CMillitime(10, 5));
    EXPECT_EQ(generator.State(), before) << "stirred only when Randomize is 0";
    params::Randomize.SetInt(0);
    generator.Stir(CMillitime(10, 5));
    EXPECT_EQ(generator.State(), before ^ (10u * 1000u + 101u + 5u));
    EXPECT_EQ(BrothRectangle(7, 7, true), (CLRect{-50, 50, -50, 50})) << "BrothSizeX and BrothSizeY";
    EXPECT_EQ(BrothRectangle(5, 4, false), (CLRect{-2, 3, -2, 2}));
}

TEST_F(BrothTest, DensityAndSeedDecideTheBroth) {
    const CLRect rect = BrothRectangle(200, 150);
    EXPECT_TRUE(Broth(5, 0, rect).empty());
    const size_t cells = size_t(200) * 150;
    const size_t full = Broth(5, 100, rect).size();
    EXPECT_LT(full, cells) << "r ranges over 0..100: a few cells stay dead";
    EXPECT_GT(full, cells * 97 / 100);
    for (uint32_t density : {10u, 30u, 75u}) {
        const double share = double(Broth(77, density, rect).size()) / double(cells);
        EXPECT_NEAR(share, density / 101.0, 0.015) << density;
    }
    EXPECT_EQ(Broth(123, 30, rect), Broth(123, 30, rect));
}

TEST_F(BrothTest, ProgressIsReportedPerRowAndEndsAt100) {
    ProgressLog log;
    Broth(1, 50, BrothRectangle(3, 4), &log);
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{"Creating broth: 25%", "Creating broth: 50%", "Creating broth: 75%",
                                        "Creating broth: 100%", "Creating broth: 100%"}));
    log.lines.clear();
    EXPECT_TRUE(Broth(1, 50, BrothRectangle(0, 0), &log).empty());
    EXPECT_EQ(log.lines, std::vector<std::string>{"Creating broth: 100%"});
    EXPECT_FALSE(generator.IsBusy());
}

TEST_F(BrothTest, SettingsOutsideThePercentageAreRefusedAndNothingIsStored) {
    params::AutoSaveConfig.SetInt(0);  // the values stay in memory
    for (const char* bad : {"101", "-1"}) {
        EXPECT_EQ(ApplyBrothSettings({bad, true, "20", "30"}), msg::BrothDensityRange);
        EXPECT_EQ(params::BrothDensity.GetUInt(), 30u);
        EXPECT_EQ(params::BrothSizeX.GetUInt(), 100u);
    }
    EXPECT_EQ(ApplyBrothSettings({"abc", false, "20", "30"}), 0) << "text that is no number reads as 0";
    EXPECT_EQ(params::BrothDensity.GetUInt(), 0u);
    EXPECT_EQ(params::BrothSizeX.GetUInt(), 100u) << "sizes are stored only when explicit";
    EXPECT_EQ(params::BrothExplicitSize.GetInt(), 0);
    EXPECT_EQ(ApplyBrothSettings({"45", true, "20", "30"}), 0);
    EXPECT_EQ(params::BrothDensity.GetUInt(), 45u);
    EXPECT_EQ(params::BrothSizeX.GetUInt(), 20u);
    EXPECT_EQ(params::BrothSizeY.GetUInt(), 30u);
}

}  // namespace
}  // namespace tessera::test
