// Broth: the generator's seed, the rectangle, the progress and the configuration checks.
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
    CRandomGenerator generator{CMillitime(1'700'000'123, 456)};
};

// The cells a broth holds are checked against a model of the generator by the batch tool's tests.
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

TEST_F(BrothTest, ProgressIsReportedPerRowAndEndsAt100) {
    ProgressLog log;
    UniverseRef universe = Owned(MakeUniverse({}));
    FillBroth(*universe, 50, BrothRectangle(3, 4), generator, &log);
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{"Creating broth: 25%", "Creating broth: 50%", "Creating broth: 75%",
                                        "Creating broth: 100%", "Creating broth: 100%"}));
    log.lines.clear();
    FillBroth(*universe, 50, BrothRectangle(0, 0), generator, &log);
    EXPECT_EQ(log.lines, std::vector<std::string>{"Creating broth: 100%"});
    EXPECT_FALSE(generator.IsBusy());
}

TEST_F(BrothTest, SettingsOutsideThePercentageAreRefusedAndNothingIsStored) {
    params::AutoSaveConfig.SetInt(0);  // the values stay in memory
    for (const char* bad : {"101", "-1"})
        EXPECT_EQ(ApplyBrothSettings({bad, true, "20", "30"}), msg::BrothDensityRange) << bad;
    EXPECT_EQ(params::BrothDensity.GetUInt(), 30u);
    EXPECT_EQ(params::BrothSizeX.GetUInt(), 100u);
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
