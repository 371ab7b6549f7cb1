// Pattern files as other programs and people write them: rules in their notations, RLE wrapped at any
// column, notes after '!', comment lines in the data, other line ends and byte-order marks.
#include <gtest/gtest.h>

#include "format_test_support.h"
#include "formats/game_format.h"
#include "rules/rule_notation.h"
#include "rules/rules.h"
#include "support/pattern_texts.h"

using namespace tessera;
using namespace tessera::test;

namespace {

// The text with each line feed replaced by another line end.
std::string WithLineEnds(const std::string& text, const std::string& end) {
    std::string out;
    for (const char c : text) c == '\n' ? out += end : out += c;
    return out;
}

class RleWildTest : public FormatTest {};

// The cells' RLE under the header, with a line break after every `wrap` characters wherever it falls.
std::string Rle(const Cells& cells, const std::string& header, size_t wrap) {
    std::string body = ToRle(cells, "B3/S23");
    body.erase(0, body.find("rule = B3/S23\n") + 14);
    std::erase(body, '\n');
    std::string text = header + "\n";
    for (size_t i = 0; i < body.size(); i += wrap) text += body.substr(i, wrap) + "\n";
    return text;
}

}  // namespace

// Each form as the program's own notation says it, the counted neighbours by their digits in reading order.
TEST_F(RleWildTest, EveryRuleFormReadsAsItsMeaning) {
    const std::pair<std::string, std::string> forms[] = {
        {"x = 12, y = 12, rule = B3/S23", "23/3"},
        {"x = 12, y = 12, rule = b36/s23", "23/36"},
        {"x = 12, y = 12, rule = S23/B36", "23/36"},
        {"x = 12, y = 12, rule = B3S23", "23/3"},
        {"x = 12, y = 12, rule = B234", "/234"},
        {"x = 12, y = 12, rule = B2/S34H", "34/2/124578"},
        {"x = 12, y = 12, rule = b3/s012v", "012/3/2457"},
        {"#Life 1.05\n#R B36/S23\n#M", "23/36"},
        {"#R s23/b3\n#M", "23/3"},
    };
    std::mt19937 random(10);
    for (const auto& [header, meaning] : forms) {
        SCOPED_TRACE(header);
        const Cells cells = Normalised(RandomSoup(random, 0, 0, 12, 12, 0.35));
        auto read = ReadText(Rle(cells, header, 70));
        ASSERT_EQ(1, read->UniverseCount());
        EXPECT_EQ(0u, read->ErrorCount()) << MessagesOf(*read)[0];
        EXPECT_EQ(cells, CellsOf(*read->UniverseAt(1)));
        EXPECT_EQ(ParseRuleText(meaning), read->UniverseAt(1)->GetRuleCode());
    }
}

TEST_F(RleWildTest, WrappedRleWithNotesCommentsAndOtherLineEndsReadsTheSameCells) {
    std::mt19937 random(11);
    for (int round = 0; round < 40; ++round) {
        const Cells cells = Normalised(RandomSoup(random, 0, 0, 30, 9, 0.30));
        std::string text = Rle(cells, "x = 30, y = 9, rule = B3/S23", 3 + round % 9);
        // A stray comment, an empty "#D" and a "#C" between data lines; notes and a second pattern after
        // the '!'.
        const size_t cut = text.find('\n', text.size() / 2) + 1;
        text.insert(cut, round % 3 == 0 ? "#\n" : round % 3 == 1 ? "#D\n" : "#C a note\n");
        text += "Found by bob, 3o$ooo!\nx = 2, y = 1, rule = B36/S23\n2o!\n";
        if (round % 4 == 1) text = WithLineEnds(text, "\r\n");
        if (round % 4 == 2) text = WithLineEnds(text, "\r");
        if (round % 4 == 3) text = "\xEF\xBB\xBF" + text;
        SCOPED_TRACE(text);
        auto read = ReadText(text);
        ASSERT_EQ(1, read->UniverseCount());
        EXPECT_EQ(cells, CellsOf(*read->UniverseAt(1)));
        EXPECT_EQ(kConwayRuleCode, read->UniverseAt(1)->GetRuleCode());
    }
}

TEST_F(RleWildTest, RulesThatCannotRunAreReportedAndTheCellsStillLoad) {
    for (const std::string rule : {"B2ce/S12", "LifeHistory", "/2/3", "B2/S/C3", "B3/S23:T100,100",
                                   "B3/S23:P50,50", "B3/S23 and more", "B03/S23"}) {
        for (const std::string& text :
             {"x = 3, y = 1, rule = " + rule + "\n3o!\n", "#R " + rule + "\n#M\n3o!\n"}) {
            SCOPED_TRACE(text);
            auto read = ReadText(text);
            ASSERT_EQ(1, read->UniverseCount());
            EXPECT_EQ((Cells{{0, 0}, {1, 0}, {2, 0}}), CellsOf(*read->UniverseAt(1)));
            EXPECT_EQ(DefaultRuleCode(), read->UniverseAt(1)->GetRuleCode());
            ASSERT_EQ(1u, read->ErrorCount());
            EXPECT_EQ(1, read->Errors().First()->lineNumber);
            EXPECT_NE(std::string::npos, read->Errors().First()->message.find("\"" + rule + "\""));
        }
    }
}

TEST_F(RleWildTest, GameFileRuleLinesTakeTheSameFormsAndRefuseTheRest) {
    CGrowableUniverse universe;
    CLex marked("\xEF\xBB\xBFMAXROWPOP 3\rRULE b2/s34h\r0,0:3;\rENDPATTERN\r");
    ReadUniverse(universe, marked);
    EXPECT_EQ(FormatRule(universe.GetRuleCode()), "34/2/124578");
    EXPECT_EQ((Cells{{0, 0}, {1, 0}, {2, 0}}), CellsOf(universe));
    CLex refused("MAXROWPOP 3\nRULE B2ce/S12\n0,0:3;\nENDPATTERN\n");
    try {
        ReadUniverse(universe, refused);
        ADD_FAILURE() << "a rule that cannot run was taken";
    } catch (const CSyntaxException& e) {
        EXPECT_EQ(2, e.LineNumber());
    }
}
