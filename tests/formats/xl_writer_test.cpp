#include <gtest/gtest.h>

#include "config/parameters.h"
#include "format_test_support.h"
#include "formats/description_lines.h"
#include "formats/xl_writer.h"
#include "rules/rule_notation.h"

namespace tessera::test {

namespace {

class XLWriterTest : public FormatTest {
protected:
    static std::string Written(CUniverse& universe) {
        std::ostringstream out;
        WriteXLifeUniverse(universe, out);
        return out.str();
    }
};

}  // namespace

TEST_F(XLWriterTest, ObjectSizeDecidesTheForm) {
    const Cells fits = {{0, 0}, {63, 47}}, wider = {{0, 0}, {64, 0}}, higher = {{0, 0}, {0, 48}};
    auto startsWith = [](const Cells& cells, const std::string& start) {
        return Written(*MakeUniverse(cells, ParseRuleText("23/3"))).rfind(start, 0) == 0;
    };
    EXPECT_TRUE(startsWith(fits, "#r 23/3\n#P 0 0\n"));
    EXPECT_TRUE(startsWith(wider, "x = 65, y = 1, rule = 23/3\n"));
    EXPECT_TRUE(startsWith(higher, "x = 1, y = 49, rule = 23/3\n"));
    params::XLifeObjectWidth.SetInt(80);
    EXPECT_TRUE(startsWith(wider, "#r 23/3\n#P 0 0\n"));
}

TEST_F(XLWriterTest, LargePatternIsRleWithTheLineRule) {
    Cells cells = {{0, 0}, {1, 0}, {2, 0}, {5, 0}, {69, 0}, {3, 2}, {0, 49}};
    auto u = MakeUniverse(cells, ParseRuleText("23/3"));
    EXPECT_EQ("x = 70, y = 50, rule = 23/3\n3o2bo63bo2$3bo47$o!\n", Written(*u));

    // Long runs of items: no line is longer than the limit allows before an item was added. Whether the
    // text reads back is the random round trip's.
    std::mt19937 random(99);
    params::XLifeRLELineLength.SetInt(40);
    const auto lines = LinesOf(Written(*MakeUniverse(RandomSoup(random, -30, 7, 150, 60, 0.35))));
    for (size_t i = 1; i < lines.size(); ++i) EXPECT_LE(lines[i].size(), 30u + 8) << lines[i];
}

TEST_F(XLWriterTest, RandomRoundTripsInBothForms) {
    std::mt19937 random(20261206);
    for (int round = 0; round < 40; ++round) {
        params::XLifeWriteRLE.SetInt(round % 2);
        const int width = 1 + random() % 120, height = 1 + random() % 90;
        const int32_t left = static_cast<int32_t>(random() % 2000) - 1000;
        const int32_t top = static_cast<int32_t>(random() % 2000) - 1000;
        Cells cells = RandomSoup(random, left, top, width, height, (1 + random() % 60) / 100.0);
        if (cells.empty()) continue;
        const RuleCode rule = ParseRuleText(round % 3 ? "23/3" : "125/36/1357");
        const std::string written = Written(*MakeUniverse(cells, rule));
        auto c = ReadText(written);
        EXPECT_EQ(0u, c->ErrorCount()) << c->ErrorReportText();
        ASSERT_EQ(1, c->UniverseCount()) << written;
        // Pictures keep the position; RLE keeps the shape (it carries no position).
        const bool rle = round % 2 == 1 && (width > 64 || height > 48);
        EXPECT_EQ(rle ? Normalised(cells) : cells, CellsOf(*c->UniverseAt(1))) << "round " << round;
        EXPECT_EQ(rule, c->UniverseAt(1)->GetRuleCode());
    }
}

// The picture form cuts objects wider than a line or taller than a page into strips and bands. The
// objects come from SplitIntoObjects as searchable universes, whose explorations ignore an area; the
// pieces must still hold only their own cells, or cutting never ends.
TEST_F(XLWriterTest, PicturesOfObjectsLargerThanALineOrAPageReadBack) {
    Cells wideRow, tallColumn, both;
    for (int32_t x = 18; x < 332; ++x) wideRow.insert({x, 6});     // 314 wide: five strips
    for (int32_t y = -40; y < 90; ++y) tallColumn.insert({3, y});  // 130 high: three bands
    for (int32_t i = 0; i < 150; ++i) both.insert({i, i / 2});     // a connected staircase
    for (const Cells& cells : {wideRow, tallColumn, both}) {
        std::ostringstream text;
        WriteXLifePictures(*MakeUniverse(cells, kConwayRuleCode), text);
        auto reread = ReadText(text.str());
        ASSERT_EQ(reread->UniverseCount(), 1);
        EXPECT_EQ(CellsOf(*reread->UniverseAt(1)), cells);
        for (const std::string& line : LinesOf(text.str()))
            EXPECT_TRUE(line.size() <= 72u || line[0] == '#') << line;
    }
}

}  // namespace tessera::test
