#include <gtest/gtest.h>

#include "config/parameters.h"
#include "format_test_support.h"
#include "formats/input_limit_exception.h"
#include "rules/rule_notation.h"
#include "rules/rules.h"

namespace tessera::test {

namespace {

const Cells kGlider = {{1, 0}, {2, 1}, {0, 2}, {1, 2}, {2, 2}};

class XLReaderTest : public FormatTest {};

}  // namespace

TEST_F(XLReaderTest, PlainRleLoadsOneUniverseNamedAfterTheFile) {
    auto c = ReadText("x = 3, y = 3, rule = B36/S23\nbo$2bo$3o!\n", "glider");
    ASSERT_EQ(1, c->UniverseCount());
    EXPECT_EQ("glider", c->NameAt(1));
    EXPECT_EQ(kGlider, CellsOf(*c->UniverseAt(1)));
    EXPECT_EQ(ParseRuleText("23/36"), c->UniverseAt(1)->GetRuleCode());
    EXPECT_EQ(0u, c->ErrorCount());

    // Small letters in the header's rule mean the same as capitals.
    auto small = ReadText("x = 3, y = 3, rule = b36/s23\nbo$2bo$3o!\n", "glider");
    EXPECT_EQ(ParseRuleText("23/36"), small->UniverseAt(1)->GetRuleCode());

    // Without a rule part the header gives the default rule.
    auto plain = ReadText("#M\nx = 1, y = 1\no!\n");
    EXPECT_EQ(DefaultRuleCode(), plain->UniverseAt(1)->GetRuleCode());
}

TEST_F(XLReaderTest, RleWithNameOriginatorCommentsAndCrlfIsOneNamedPattern) {
    const std::string text =
        "#N Glider\r\n#O A. Nonymous\r\n#C The smallest ship.\r\n#C Moves diagonally.\r\n"
        "x = 3, y = 3, rule = B3/S23\r\nbo$2bo$\r\n3o!\r\n";
    auto c = ReadText(text, "file-title");
    // The file-titled top level stays empty and is never offered.
    ASSERT_EQ(1, c->UniverseCount());
    CXLUniverse* u = c->Find(CName("Glider"));
    ASSERT_NE(nullptr, u);
    EXPECT_EQ(kGlider, CellsOf(*u->universe));
    EXPECT_EQ("A. Nonymous", u->originator);
    EXPECT_EQ("The smallest ship.\r\nMoves diagonally.", u->description);

    FakeDialogs dialogs;
    CLex lex(text);
    CXLPattern pattern = ReadXLifePattern(lex, "file-title", "file-title.rle", dialogs);
    EXPECT_EQ(0, dialogs.selectCalls);
    ASSERT_NE(nullptr, pattern.universe);
    EXPECT_EQ("Glider", pattern.name.Text());
    EXPECT_EQ(0, dialogs.reportCalls);
}

TEST_F(XLReaderTest, NameThatRepeatsTheTitleKeepsTheTopLevelAndClashesAreNumbered) {
    auto same = ReadText("#N test\nx = 1, y = 1\no!\n");
    ASSERT_EQ(1, same->UniverseCount());
    EXPECT_EQ("test", same->NameAt(1));

    auto clash = ReadText("#N ship\n*\n#N ship\n**\n#N ship\n***\n");
    EXPECT_EQ((Cells{{0, 0}}), CellsNamed(*clash, "ship"));
    EXPECT_EQ((Cells{{0, 1}, {1, 1}}), CellsNamed(*clash, "ship-1"));
    EXPECT_EQ((Cells{{0, 2}, {1, 2}, {2, 2}}), CellsNamed(*clash, "ship-2"));
}

TEST_F(XLReaderTest, LongRleLinesAndRunsAcrossLines) {
    std::string row;
    Cells expected;
    for (int i = 0; i < 300; ++i) {
        row += "bo";
        expected.insert({2 * i + 1, 0});
    }
    auto c = ReadText("x = 600, y = 2\n" + row + "$\n1000b\n2o!\n");
    expected.insert({1000, 1});
    expected.insert({1001, 1});
    EXPECT_EQ(expected, CellsOf(*c->UniverseAt(1)));
}

TEST_F(XLReaderTest, Life105PictureBlocks) {
    auto c = ReadText(
        "#Life 1.05\n#D A glider and a block\n#N\n#P -1 -1\n.*.\n..*\n***\n#P 10 20\n..**..\n..**..\n");
    const Cells expected = {{0, -1}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}, {12, 20}, {13, 20}, {12, 21}, {13, 21}};
    EXPECT_EQ(expected, CellsOf(*c->UniverseAt(1)));
    EXPECT_EQ("A glider and a block", c->Find(CName("test"))->description);
    EXPECT_EQ(0u, c->ErrorCount());  // the #D warning is for strict mode only
}

TEST_F(XLReaderTest, Life106CoordinatesAndRelativePairs) {
    auto absolute = ReadText("#Life 1.06\n0 -1\n1 0\n-1 1\n0 1\n1 1\n5,6\n7\n");
    EXPECT_EQ((Cells{{0, -1}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}}), CellsOf(*absolute->UniverseAt(1)));

    auto relative = ReadText("#R\n1 0\n1 0\n0 -3\n");
    EXPECT_EQ((Cells{{1, 0}, {2, 0}, {2, -3}}), CellsOf(*relative->UniverseAt(1)));

    auto origin = ReadText("#R 10 10\n1 1\n#D\n1 1\n");  // a bare #D is a relative mode switch
    EXPECT_EQ((Cells{{11, 11}, {12, 12}}), CellsOf(*origin->UniverseAt(1)));
}

TEST_F(XLReaderTest, LettersInPicturesAndDescriptions) {
    auto c = ReadText("#C OX and XO are words here\n#P 0 0\n.OOO\n*.*\n");
    EXPECT_EQ((Cells{{1, 0}, {2, 0}, {3, 0}, {0, 1}, {2, 1}}), CellsOf(*c->UniverseAt(1)));
    EXPECT_EQ("OX and XO are words here", c->Find(CName("test"))->description);
    // One blank after the directive belongs to it; further ones and glued text belong to the line.
    auto spaced = ReadText("#C  indented\n#Cglued\n#C\n#D x\n#D\n*\n");
    EXPECT_EQ(" indented\r\nglued\r\n\r\nx\r\n", spaced->Find(CName("test"))->description);

    // Mixed letters are text, not cells: the column only advances. The x is the only letter left on
    // its line, so it counts as a cell, and from then on every O and X does.
    auto mixed = ReadText("#P 0 0\n*Ox*\nO.o\n");
    EXPECT_EQ((Cells{{0, 0}, {2, 0}, {3, 0}, {0, 1}, {2, 1}}), CellsOf(*mixed->UniverseAt(1)));
    // '$' skips ten columns.
    auto skip = ReadText("#P 0 0\n*$*\n");
    EXPECT_EQ((Cells{{0, 0}, {11, 0}}), CellsOf(*skip->UniverseAt(1)));
}

TEST_F(XLReaderTest, StrictModeWarnsOncePerKind) {
    params::XLifeStrict.SetInt(1);
    auto c = ReadText(
        "#D first description\n#D second\n#R 23/3\n#R 36/3\n#P 0 0\nOOO\nOO\n#M\n3o 2b!\n2o$$ o\nhello "
        "world\n");
    const std::vector<std::string> expected = {
        "#D looks like description, treated as such for rest of file",
        "#R looks like a rule, treated as #r for rest of file",
        "O or X looks like a point, not text, treated as such for rest of file",
        "Unexpected character in RLE input line",
        "Unexpected character in RLE input line",
        "Unexpected character in RLE input line",
    };
    EXPECT_EQ(expected, MessagesOf(*c));
    EXPECT_EQ(ParseRuleText("36/3"), c->UniverseAt(1)->GetRuleCode());

    auto undecided = ReadText("hello world\n*\n");
    EXPECT_EQ((std::vector<std::string>{
                  "This line doesn't look like any XLife format, treated as commentary and ignored"}),
              MessagesOf(*undecided));
    EXPECT_EQ((Cells{{0, 0}}), CellsOf(*undecided->UniverseAt(1)));

    params::XLifeStrict.SetInt(0);
    EXPECT_EQ(0u, ReadText("#D some text\nhello world\n#R 2/3\n")->ErrorCount());
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
    Cells expected;
    auto add = [&](int dx, int dy, auto map) {
        for (const CLPoint& p : ell) {
            auto [x, y] = map(p.x, p.y);
            expected.insert({dx + x, dy + y});
        }
    };
    add(0, 0, [](int x, int y) { return CLPoint{x, y}; });
    add(10, 0, [](int x, int y) { return CLPoint{-y, x}; });  // quarter turn
    add(20, 0, [](int x, int y) { return CLPoint{y, x}; });   // rotation 1 flipped: orientation 6
    add(30, 0, [](int x, int y) { return CLPoint{x, y}; });   // a negative rotation leaves the pattern as it is
    EXPECT_EQ(expected, CellsNamed(*c, "test"));
}

TEST_F(XLReaderTest, InsertionsResolveInDependencyOrderAndDeepChains) {
    // z is listed first but needs y, which needs x.
    auto c = ReadText("#B z\n#I y 0 10\n#E\n#B y\n#I x 10 0\n#P 0 0\n*\n#E\n#B x\n#P 0 0\n**\n#E\n");
    EXPECT_EQ((Cells{{0, 0}, {1, 0}}), CellsNamed(*c, "x"));
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

TEST_F(XLReaderTest, RepeatedDoublingResolvesExactly) {
    // Each block holds its predecessor twice, side by side then one above the other.
    std::string text = "#B d0\n*\n#E\n";
    for (int i = 1; i <= 12; ++i) {
        const int offset = 1 << ((i + 1) / 2);
        text += "#B d" + std::to_string(i) + "\n#I d" + std::to_string(i - 1) + "\n#I d" +
                std::to_string(i - 1) +
                (i % 2 ? " " + std::to_string(offset) + " 0" : " 0 " + std::to_string(offset)) + "\n#E\n";
    }
    auto c = ReadText(text);
    CUniverse& top = *c->Find(CName("d12"))->universe;
    EXPECT_EQ(4096u, top.Population());
    // Cells at every even position of a 127 x 127 square: the offsets 2, 4, ..., 64 in each direction.
    EXPECT_EQ((CLRect{0, 127, 0, 127}), top.GetBounds());
    EXPECT_TRUE(top.IsAlive(126, 126));
    EXPECT_FALSE(top.IsAlive(1, 0));
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

TEST_F(XLReaderTest, ErrorCountStopsAtTheLimit) {
    params::MaxXLifeErrors.SetUInt(3);
    auto c = ReadText("#Q\n#Q\n#Q\n#Q\n#Q\n*\n");
    const std::vector<std::string> expected = {
        "Unknown command", "Unknown command", "Unknown command",
        "File contains more than 3 errors, further errors not recorded"};
    EXPECT_EQ(expected, MessagesOf(*c));
    EXPECT_EQ(4u, c->ErrorCount());
    EXPECT_EQ("Line 0: File contains more than 3 errors, further errors not recorded \r\n",
              LinesOf(c->ErrorReportText()).back() + "\n");

    params::MaxXLifeErrors.SetUInt(100);
    std::string many;
    for (int i = 0; i < 150; ++i) many += "#Q\n";
    auto hundred = ReadText(many);
    EXPECT_EQ(101u, hundred->Errors().Count());
    EXPECT_EQ("File contains more than 100 errors, further errors not recorded", MessagesOf(*hundred).back());
}

TEST_F(XLReaderTest, AttributeLinesAreKeptPerBlock) {
    auto c = ReadText(
        "##TesseraAttribute MaxPopulation=12\n##Other x=1\n*\n#B b\n##tesseraattribute A = b c \n*\n");
    CXLUniverse* top = c->Find(CName("test"));
    ASSERT_EQ(1, top->attributes.Count());
    EXPECT_EQ("MaxPopulation", top->attributes.First()->name);
    EXPECT_EQ("12", top->attributes.First()->value);
    EXPECT_EQ(1, top->attributes.First()->lineNumber);
    CXLUniverse* block = c->Find(CName("b"));
    ASSERT_EQ(1, block->attributes.Count());
    EXPECT_EQ("b c ", block->attributes.First()->value);
}

TEST_F(XLReaderTest, SeveralPatternsAskTheUser) {
    const std::string text = "#B first\n*\n#E\n#B second\n**\n#E\n";
    FakeDialogs dialogs;
    dialogs.choice = 2;
    CLex lex(text);
    CXLPattern pattern = ReadXLifePattern(lex, "test", "test.lif", dialogs);
    EXPECT_EQ(1, dialogs.selectCalls);
    EXPECT_EQ((std::vector<std::string>{"first", "second"}), dialogs.offered);
    ASSERT_NE(nullptr, pattern.universe);
    EXPECT_EQ((Cells{{0, 1}, {1, 1}}), CellsOf(*pattern.universe));

    dialogs.choice = 0;  // cancelled
    CLex again(text);
    EXPECT_EQ(nullptr, ReadXLifePattern(again, "test", "test.lif", dialogs).universe);
}

TEST_F(XLReaderTest, ImpossibleCountsAndPositionsEndTheReadWithTheLine) {
    auto lineOf = [](const std::string& text) -> std::pair<int, int32_t> {
        try {
            ReadText(text);
        } catch (const CInputLimitException& e) {
            return {e.MessageId(), e.LineNumber()};
        }
        return {0, 0};
    };
    EXPECT_EQ(std::make_pair(1321, 2), lineOf("x = 1, y = 1\n2147483647o!\n"));
    EXPECT_EQ(std::make_pair(1321, 2), lineOf("x = 1, y = 1\n99999999999999999999999o!\n"));
    EXPECT_EQ(std::make_pair(1321, 3), lineOf("#P 0 0\n*\n" + std::string(100001, '*') + "\n"));
    // A row grown over many lines by runs that are each acceptable.
    std::string rle = "x = 1, y = 1\n";
    for (int i = 0; i < 11; ++i) rle += "10000o\n";
    EXPECT_EQ(std::make_pair(1321, 11), lineOf(rle + "!\n"));
    EXPECT_EQ(std::make_pair(1322, 2), lineOf("#P 2147483640 0\n**********\n"));
    EXPECT_EQ(std::make_pair(1322, 2), lineOf("#M\n4294967290b99999b99999999999b2o!\n"));
    EXPECT_EQ(std::make_pair(1322, 3), lineOf("#R 2147482000 0\n1000 0\n1000 0\n"));
    EXPECT_EQ(std::make_pair(1322, 1), lineOf("2147483646 0\n"));
    // Insertions that together make a row too long name the insertion's line.
    std::string doubling = "#B r0\n#M\n60000o!\n#E\n";
    doubling += "#B r1\n#I r0\n#I r0 60000 0\n#E\n";
    EXPECT_EQ(std::make_pair(1321, 7), lineOf(doubling));

    try {
        ReadText("x = 1, y = 1\n2147483647o!\n");
    } catch (const CInputLimitException& e) {
        EXPECT_STREQ(
            "A row of the pattern would hold more cells than a row can hold, at line 2 of the input file",
            e.what());
    }
}

TEST_F(XLReaderTest, TruncatedAndJunkInputNeverCrash) {
    // A file cut in the middle keeps what was read.
    auto cut = ReadText("x = 3, y = 3\nbo$2bo$3");
    EXPECT_EQ((Cells{{1, 0}, {2, 1}}), CellsOf(*cut->UniverseAt(1)));
    auto cutDirective = ReadText("#B blk\n*\n#I blk 1");
    EXPECT_EQ((Cells{{0, 0}}), CellsNamed(*cutDirective, "blk"));

    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::string junk(1 + random() % 400, '\0');
        for (char& ch : junk) ch = static_cast<char>(random() % 256);
        if (round % 2) {
            // Mostly plausible characters, to reach deeper into the reader.
            static const char kPlausible[] = "#BEINPRrMCDAO0123456789 -.*$!ox=,:[]\n";
            for (char& ch : junk) ch = kPlausible[random() % (sizeof kPlausible - 1)];
        }
        try {
            auto c = ReadText(junk);
            for (int i = 1; i <= c->UniverseCount(); ++i) EXPECT_GT(c->UniverseAt(i)->Population(), 0u);
        } catch (const CSyntaxException&) {
        } catch (const CInputLimitException&) {
        }
    }
}

}  // namespace tessera::test
