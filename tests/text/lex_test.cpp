#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "foundation/errors.h"
#include "text/lex.h"

namespace tessera::test {

TEST(Lex, QuotedAndBracketedTextEndsAtTheLineEndWhenUnterminated) {
    CLex lex("\"open quote\n[open bracket\n\"\n[x]]y]\n");
    std::string text;
    EXPECT_TRUE(lex.ReadQuoted(text));
    EXPECT_EQ(text, "open quote");
    EXPECT_TRUE(lex.ReadQuoted(text));
    EXPECT_EQ(text, "open bracket");
    EXPECT_TRUE(lex.ReadQuoted(text));
    EXPECT_EQ(text, "");
    EXPECT_TRUE(lex.ReadName(text));
    EXPECT_EQ(text, "x");
}

TEST(Lex, ExpectationsThrowAtTheCurrentLine) {
    CLex lex("GAME\n12 -3 x");
    lex.ExpectKeyword("GAME");
    uint32_t u = 0;
    lex.ExpectUnsigned(u);
    EXPECT_EQ(u, 12u);
    int i = 0;
    lex.ExpectSignedInt(i);
    EXPECT_EQ(i, -3);
    try {
        lex.ExpectChar(',');
        FAIL();
    } catch (const CSyntaxException& e) {
        EXPECT_EQ(e.LineNumber(), 2);
        EXPECT_STREQ(e.what(), "Syntax or other error in input file at line 2");
    }
    int32_t s = 0;
    EXPECT_THROW(lex.ExpectSigned(s), CSyntaxException);
    EXPECT_THROW(lex.ExpectUnsigned(u), CSyntaxException);
    EXPECT_EQ(lex.TokenText(), "x");  // failed expectations move nothing
}

TEST(Lex, DateAndTime) {
    CLex lex("2024 3 9 17 5 0 rest");
    CTime t;
    lex.ReadDateTime(t);
    EXPECT_TRUE(t.IsValid());
    EXPECT_EQ(lex.TokenText(), "rest");
    std::ostringstream out;
    out << t;
    EXPECT_EQ(out.str(), "2024-3-9 17:5:0");
    std::istringstream in(out.str());
    CTime back;
    in >> back;
    EXPECT_EQ(back, t);

    CLex colon("2024 3 9 17:05:00");
    EXPECT_THROW(colon.ReadDateTime(t), CSyntaxException);
    CLex shortText("2024 3 9");
    EXPECT_THROW(shortText.ReadDateTime(t), CSyntaxException);

    std::ostringstream unknown;
    unknown << CTime();
    EXPECT_EQ(unknown.str(), "0-0--1 -1:-1:-1");
    std::istringstream unknownIn(unknown.str());
    CTime read = CTime::Now();
    unknownIn >> read;
    EXPECT_FALSE(read.IsValid());
}

}  // namespace tessera::test
