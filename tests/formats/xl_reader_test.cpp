#include <gtest/gtest.h>

#include "format_test_support.h"
#include "rules/rule_notation.h"

namespace tessera::test {

using XLReaderTest = FormatTest;

TEST_F(XLReaderTest, NameThatRepeatsTheTitleKeepsTheTopLevelAndClashesAreNumbered) {
    auto same = ReadText("#N test\nx = 1, y = 1\no!\n");
    ASSERT_EQ(1, same->UniverseCount());
    EXPECT_EQ("test", same->NameAt(1));

    auto clash = ReadText("#N ship\n*\n#N ship\n**\n#N ship\n***\n");
    EXPECT_EQ((Cells{{0, 0}}), CellsNamed(*clash, "ship"));
    EXPECT_EQ((Cells{{0, 1}, {1, 1}}), CellsNamed(*clash, "ship-1"));
    EXPECT_EQ((Cells{{0, 2}, {1, 2}, {2, 2}}), CellsNamed(*clash, "ship-2"));
}

TEST_F(XLReaderTest, BlocksAndInsertionsWithTransforms) {
    // An L of four cells; inserted as is, turned a quarter, and turned and flipped.
    const std::string text =
        "#B ell\n#P 0 0\n*.\n*.\n**\n#E\n"
        "#I ell\n#I ell 10 0 1\n#I ell 20 0 1 -1\n#I ell 30 0 -1\n[ell] *\n";
    auto c = ReadText(text);
    EXPECT_EQ(0u, c->ErrorCount()) << c->ErrorReportText();
    // The picture rows go on below the block's last row.
    const Cells ell = {{0, 0}, {0, 1}, {0, 2}, {1, 2}, {0, 3}};
    EXPECT_EQ(ell, CellsNamed(*c, "ell"));  // the bracketed name made the block current again
    // Each placement as x' = dx + xx x + xy y, y' = yx x + yy y: as is, a quarter turn, rotation 1 flipped
    // (orientation 6), and a negative rotation, which leaves the pattern as it is.
    const struct {
        int dx, xx, xy, yx, yy;
    } placements[] = {{0, 1, 0, 0, 1}, {10, 0, -1, 1, 0}, {20, 0, 1, 1, 0}, {30, 1, 0, 0, 1}};
    Cells expected;
    for (const auto& [dx, xx, xy, yx, yy] : placements)
        for (const CLPoint& p : ell) expected.insert({dx + xx * p.x + xy * p.y, yx * p.x + yy * p.y});
    EXPECT_EQ(expected, CellsNamed(*c, "test"));
}

TEST_F(XLReaderTest, InsertionsResolveInDependencyOrderAndDeepChains) {
    // z is listed first but needs y, which needs x (so y shows x too).
    auto c = ReadText("#B z\n#I y 0 10\n#E\n#B y\n#I x 10 0\n#P 0 0\n*\n#E\n#B x\n#P 0 0\n**\n#E\n");
    EXPECT_EQ((Cells{{0, 0}, {10, 0}, {11, 0}}), CellsNamed(*c, "y"));
    EXPECT_EQ((Cells{{0, 10}, {10, 10}, {11, 10}}), CellsNamed(*c, "z"));
    EXPECT_EQ(0u, c->ErrorCount());

    std::string chain = "#B b0\n*\n#E\n";
    for (int i = 1; i < 300; ++i)
        chain += "#B b" + std::to_string(i) + "\n#I b" + std::to_string(i - 1) + " 1 1\n#P 0 0\n*\n#E\n";
    auto deep = ReadText(chain);
    Cells diagonal;
    for (int i = 0; i < 300; ++i) diagonal.insert({i, i});
    EXPECT_EQ(diagonal, CellsNamed(*deep, "b299"));
    EXPECT_EQ(0u, deep->ErrorCount());
}

TEST_F(XLReaderTest, CircularAndMissingInsertionsAreReported) {
    auto circular = ReadText("#B a\n*\n#I b\n#E\n#B b\n#I a 5 5\n#E\n#B self\n#I self 1 1\n*\n#E\n");
    EXPECT_EQ((std::vector<std::string>{"File contains circular insertions"}), MessagesOf(*circular));
    EXPECT_EQ((Cells{{0, 0}}), CellsNamed(*circular, "a"));

    auto missing = ReadText("*\n#I nowhere 1 1\n#I lib:glider 3 3\n#I [odd name]\n#I\n");
    const std::vector<std::string> expected = {"Insertion nowhere not in this file",
                                               "Library file not loaded for insertion LIB:glider",
                                               "Insertion odd name not in this file"};
    EXPECT_EQ(expected, MessagesOf(*missing));
    EXPECT_EQ((Cells{{0, 0}}), CellsOf(*missing->UniverseAt(1)));
    // Problems found while resolving name the #I line but quote no text.
    EXPECT_EQ("Line 2: Insertion nowhere not in this file \r\n", missing->ErrorReportText().substr(0, 45));
}

TEST_F(XLReaderTest, BlockStructureErrorsAndUnknownDirectives) {
    auto c = ReadText("#E\n#B blk\n#N other\n*\n#Q what\n#r 3/3\n");
    const std::vector<std::string> expected = {"#E found while not inside pattern block",
                                               "#N found while processing #B named block", "Unknown command"};
    EXPECT_EQ(expected, MessagesOf(*c));
    EXPECT_EQ((Cells{{0, 0}}), CellsNamed(*c, "other"));
    EXPECT_EQ(ParseRuleText("3/3"), c->Find(CName("other"))->universe->GetRuleCode());
    EXPECT_EQ(nullptr, c->Find(CName("blk")));  // empty, so never offered

    EXPECT_EQ(
        "Line 1: #E found while not inside pattern block  \"#E\"\r\n"
        "Line 3: #N found while processing #B named block  \"#N other\"\r\n"
        "Line 5: Unknown command  \"#Q what\"\r\n",
        c->ErrorReportText());
    EXPECT_EQ("File test.lif contains the following errors:", c->ErrorReportCaption());
}

// Long RLE runs are the random RLE test's; here rows grown over lines, the other forms and insertions.
TEST_F(XLReaderTest, ImpossibleCountsAndPositionsEndTheReadWithTheLine) {
    std::string rows = "x = 1, y = 1\n";
    for (int i = 0; i < 11; ++i) rows += "10000o\n";  // each run acceptable, the row too long
    const struct {
        std::string text;
        std::pair<int, int32_t> limit;
    } cases[] = {
        {"x = 1, y = 1\n99999999999999999999999o!\n", {1321, 2}},
        {rows + "!\n", {1321, 11}},
        {"#P 0 0\n*\n" + std::string(100001, '*') + "\n", {1321, 3}},
        {"#P 2147483640 0\n**********\n", {1322, 2}},
        {"#M\n4294967290b99999b99999999999b2o!\n", {1322, 2}},
        {"#R 2147482000 0\n1000 0\n1000 0\n", {1322, 3}},
        {"2147483646 0\n", {1322, 1}},
        // Insertions that together make a row too long, or place a cell beyond the plane, name their line.
        {"#B r0\n#M\n60000o!\n#E\n#B r1\n#I r0\n#I r0 60000 0\n#E\n", {1321, 7}},
        {"#B x\n#P 2000000000 0\n*\n#E\n#P 0 0\n#I x 2000000000 0\n", {1322, 6}},
    };
    for (const auto& c : cases) EXPECT_EQ(c.limit, LimitOf([&] { ReadText(c.text); })) << c.text;
}

// A file cut in the middle keeps what was read (the fuzz target feeds the reader junk).
TEST_F(XLReaderTest, TruncatedInputKeepsWhatWasRead) {
    auto cut = ReadText("x = 3, y = 3\nbo$2bo$3");
    EXPECT_EQ((Cells{{1, 0}, {2, 1}}), CellsOf(*cut->UniverseAt(1)));
    auto cutDirective = ReadText("#B blk\n*\n#I blk 1");
    EXPECT_EQ((Cells{{0, 0}}), CellsNamed(*cutDirective, "blk"));
}

}  // namespace tessera::test
