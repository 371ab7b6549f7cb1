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

TEST(Lex, SignedAndUnsignedNumbers) {
    CLex lex("-12,5 12abc + 3 +7 99999999999 4294967297");
    int32_t n = 0;
    EXPECT_TRUE(lex.ReadSignedNumber(n));
    EXPECT_EQ(n, -12);
    EXPECT_EQ(lex.Kind(), ',');
    EXPECT_FALSE(lex.ReadSignedNumber(n));
    lex.NextToken();
    EXPECT_TRUE(lex.ReadSignedNumber(n, false));  // not consuming: still on 5
    EXPECT_EQ(lex.TokenText(), "5");
    EXPECT_TRUE(lex.ReadSignedNumber(n));
    EXPECT_EQ(n, 5);
    EXPECT_TRUE(lex.ReadSignedNumber(n));
    EXPECT_EQ(n, 12);
    EXPECT_EQ(lex.Kind(), TokWord);
    EXPECT_EQ(lex.TokenText(), "abc");
    lex.NextToken();
    EXPECT_FALSE(lex.ReadSignedNumber(n));  // a sign must be followed at once by a digit
    lex.NextToken();
    lex.NextToken();
    EXPECT_TRUE(lex.ReadSignedNumber(n));
    EXPECT_EQ(n, 7);
    // Over-long numbers are refused at their line rather than read as other numbers.
    EXPECT_THROW(lex.ReadSignedNumber(n), CNumberRangeException);
    lex.NextToken();
    uint32_t u = 0;
    EXPECT_THROW(lex.ReadUnsignedNumber(u), CNumberRangeException);

    // Word mode off: the digits need not be one token.
    CLex chars("-123;");
    chars.SetWordMode(false);
    EXPECT_TRUE(chars.ReadSignedNumber(n));
    EXPECT_EQ(n, -123);
    EXPECT_EQ(chars.Kind(), ';');
    EXPECT_FALSE(chars.ReadUnsignedNumber(u));
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
