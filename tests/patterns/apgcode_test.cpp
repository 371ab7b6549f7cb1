// Apgcodes against codes the Life community publishes for well-known objects.
#include "patterns/apgcode.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "engine/growable_universe.h"
#include "support/cells.h"

namespace tessera::test {
namespace {

// Reads the shape part of an apgcode back into cells, straight from the format's description.
std::vector<CLPoint> DecodeWechsler(std::string_view code) {
    constexpr std::string_view digits = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::vector<CLPoint> cells;
    int x = 0, stripTop = 0;
    for (size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (c == 'z') {
            x = 0, stripTop += 5;
        } else if (c == 'w') {
            x += 2;
        } else if (c == 'x') {
            x += 3;
        } else if (c == 'y') {
            x += 4 + static_cast<int>(digits.find(code[++i]));
        } else {
            const auto value = static_cast<int>(digits.find(c));
            for (int bit = 0; bit < 5; ++bit)
                if (value & (1 << bit)) cells.push_back({x, stripTop + bit});
            ++x;
        }
    }
    return cells;
}

// period generations of what start becomes after settle generations, grown by the engine.
std::vector<std::vector<CLPoint>> Phases(const std::vector<CLPoint>& start, int period, int settle) {
    std::vector<std::vector<CLPoint>> phases;
    auto universe = MakeUniverse(Cells(start.begin(), start.end()));
    for (int generation = 0; generation < settle; ++generation) universe = universe->Grow(nullptr);
    for (int generation = 0; generation < period; ++generation) {
        phases.push_back(SequenceOf(*universe->ExploreAll()));
        universe = universe->Grow(nullptr);
    }
    return phases;
}

std::string ShapeOf(std::string_view code) { return std::string(code.substr(code.find('_') + 1)); }

TEST(ApgCode, PublishedStillLifeCodesAreCanonical) {
    // Decoding a published code and encoding the shape again over all orientations gives the same code:
    // the shortest encoding, then the smallest, with runs of blank columns and blank strips shortened.
    for (std::string_view code :
         {"xs4_33",          "xs4_252",        "xs5_253",        "xs6_bd",           "xs6_356",
          "xs6_696",         "xs6_39c",        "xs6_25a4",       "xs7_3lo",          "xs7_2596",
          "xs7_178c",        "xs7_25ac",       "xs8_6996",       "xs8_69ic",         "xs8_31248c",
          "xs9_g0g853z11",   "xs10_xg853z321", "xs10_wg853z65",  "xs10_0drz32",      "xs10_g0s252z11",
          "xs11_wg84213z65", "xs11_4ai3zx123", "xs12_g8o653z11", "xs14_g88m952z121", "xs16_j1u0696z11",
          "xs18_rhe0ehr"}) {
        const std::vector<CLPoint> cells = DecodeWechsler(ShapeOf(code));
        const std::vector<std::vector<CLPoint>> phases{cells};
        EXPECT_EQ(code, ApgCode(EApgKind::StillLife, static_cast<uint32_t>(cells.size()), phases));
    }
}

TEST(ApgCode, OscillatorsAndShipsTakeTheBestOfEveryPhase) {
    struct Case {
        std::string_view code;
        EApgKind kind;
        int period;
        std::string_view startShape;  // some phase in some orientation, or what becomes the object
        int settle = 0;               // generations until it has become the object
    };
    const Case cases[] = {
        {"xp2_7", EApgKind::Oscillator, 2, "111"},
        {"xp2_7e", EApgKind::Oscillator, 2, "2331"},
        {"xp2_318c", EApgKind::Oscillator, 2, "33cc"},
        {"xp15_4r4z4r4", EApgKind::Oscillator, 15, "1111111111", 20},
        {"xp3_co9nas0san9oczgoldlo0oldlogz1047210127401", EApgKind::Oscillator, 3,
         "co9nas0san9oczgoldlo0oldlogz1047210127401"},
        {"xq4_153", EApgKind::Ship, 4, "456"},
        {"xq4_6frc", EApgKind::Ship, 4, "6frc"},
        {"xq4_27dee6", EApgKind::Ship, 4, "27dee6"},
        {"xq4_27deee6", EApgKind::Ship, 4, "27deee6"},
    };
    for (const Case& c : cases) {
        const std::vector<std::vector<CLPoint>> phases =
            Phases(DecodeWechsler(c.startShape), c.period, c.settle);
        EXPECT_EQ(c.code, ApgCode(c.kind, static_cast<uint32_t>(c.period), phases)) << c.startShape;
        // Starting from any later phase names the same object.
        std::vector<std::vector<CLPoint>> rotated(phases.begin() + 1, phases.end());
        rotated.push_back(phases.front());
        EXPECT_EQ(c.code, ApgCode(c.kind, static_cast<uint32_t>(c.period), rotated)) << c.startShape;
    }
}

TEST(ApgCode, LongBlankRunsAndEmptyStrips) {
    // Two cells 45 columns apart: a run of 44 blank columns is 'yz' (39) and 'y1' (5).
    EXPECT_EQ("1yzy11", WechslerEncoding(std::vector<CLPoint>{{0, 0}, {45, 0}}));
    // Cells ten rows apart leave a blank strip between their strips.
    EXPECT_EQ("1zz1", WechslerEncoding(std::vector<CLPoint>{{0, 0}, {0, 10}}));
    EXPECT_EQ("", WechslerEncoding({}));
}

}  // namespace
}  // namespace tessera::test
