#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "text/lex.h"
#include "foundation/errors.h"

namespace tessera::test {

namespace {

struct Token {
    int kind;
    std::string text;
    int32_t line;
    bool operator==(const Token&) const = default;
};

// Every token up to the end of the input (not including it).
std::vector<Token> Tokens(CLex& lex) {
    std::vector<Token> out;
    for (int kind = lex.Kind(); kind != TokEndOfFile; kind = lex.NextToken())
        out.push_back({kind, lex.TokenText(), lex.LineNumber()});
    return out;
}

std::vector<Token> Tokens(std::string_view text, bool lineMode = false, bool wordMode = true) {
    CLex lex(text);
    lex.SetLineMode(lineMode);
    lex.SetWordMode(wordMode);
    return Tokens(lex);
}

}  // namespace

TEST(Lex, TokenKindsInWordMode) {
    const std::vector<Token> expected = {
        {TokWord, "GAME", 1}, {TokNumber, "12", 1},   {TokBracketed, "[a b]", 1}, {TokQuoted, "\"q r\"", 1},
        {',', ",", 1},        {TokWord, "abc#|9", 1}, {TokWord, "#N", 2},         {'-', "-", 2},
        {TokNumber, "5", 2},  {TokWord, "x", 2},      {TokBracketed, "[open", 3},
    };
    EXPECT_EQ(Tokens("GAME 12 [a b] \"q r\" , abc#|9\n\t#N -5x\n  [open"), expected);
}

TEST(Lex, CharactersAbove127AreNegativeSingleTokens) {
    CLex lex("\xE9t\xC3");
    EXPECT_EQ(lex.Kind(), static_cast<signed char>('\xE9'));
    EXPECT_LT(lex.Kind(), 0);
    EXPECT_EQ(lex.NextToken(), TokWord);
    EXPECT_EQ(lex.NextToken(), static_cast<signed char>('\xC3'));
    EXPECT_EQ(lex.NextToken(), TokEndOfFile);
}

TEST(Lex, WordModeOffMakesEveryCharacterAToken) {
    EXPECT_EQ(Tokens("23/3", false, false),
              (std::vector<Token>{{'2', "2", 1}, {'3', "3", 1}, {'/', "/", 1}, {'3', "3", 1}}));
    EXPECT_EQ(Tokens("23/3"), (std::vector<Token>{{TokNumber, "23", 1}, {'/', "/", 1}, {TokNumber, "3", 1}}));
    // Brackets and quotes keep their meaning without word mode.
    EXPECT_EQ(Tokens("a[b c]", false, false),
              (std::vector<Token>{{'a', "a", 1}, {TokBracketed, "[b c]", 1}}));

    CLex lex("ab12 cd");
    EXPECT_TRUE(lex.SetWordMode(false));  // the current token is scanned again under the new mode
    EXPECT_EQ(lex.TokenText(), "a");
    EXPECT_FALSE(lex.SetWordMode(true));
    EXPECT_EQ(lex.TokenText(), "ab12");
    EXPECT_EQ(lex.NextToken(), TokWord);
    EXPECT_EQ(lex.TokenText(), "cd");
}

TEST(Lex, LineModeSkipsEmptyAndCommentLines) {
    const std::vector<Token> expected = {{TokWord, "a", 1},    {TokNumber, "1", 1},   {TokEndOfLine, "", 1},
                                         {TokWord, "b", 5},    {TokEndOfLine, "", 5}, {TokWord, "c|d#", 6},
                                         {TokEndOfLine, "", 6}};
    EXPECT_EQ(Tokens("a 1\n\n! comment\n| also\nb\nc|d#", true), expected);
    // Outside line mode the same text has no end-of-line tokens.
    EXPECT_EQ(Tokens("a 1\n\n!x\nb", false).size(), 3u);
}

TEST(Lex, EndOfInputThenPastEndThenError) {
    for (bool lineMode : {false, true}) {
        CLex empty("");
        empty.SetLineMode(lineMode);
        EXPECT_EQ(empty.Kind(), TokEndOfFile);
        EXPECT_EQ(empty.NextToken(), TokPastEnd);
        try {
            empty.NextToken();
            FAIL() << "asking past the end twice must throw";
        } catch (const CSyntaxException& e) {
            EXPECT_EQ(e.LineNumber(), 0);
            EXPECT_STREQ(e.what(), "Syntax or other error in input file at line 0");
        }

        // With or without a final newline; in line mode the end of the input is not also an end of line.
        for (const char* text : {"x\n", "x", "x\n\n\n"}) {
            CLex lex(text);
            lex.SetLineMode(lineMode);
            EXPECT_TRUE(lex.TokenBeginsWith('x'));
            if (lineMode) {
                EXPECT_EQ(lex.NextToken(), TokEndOfLine);
            }
            EXPECT_EQ(lex.NextToken(), TokEndOfFile);
            EXPECT_FALSE(lex.TokenBeginsWith('x'));
            EXPECT_EQ(lex.NextToken(), TokPastEnd);
            EXPECT_THROW(lex.NextToken(), CSyntaxException);
        }
    }
}

TEST(Lex, LinesOfAnyLengthCrLfNulAndMissingFinalNewline) {
    const std::string word300(300, 'w');
    const std::string word100k(100000, 'q');
    std::string text = "first\r\n" + word300 + " 7\r\n" + word100k + "\r\n!" + word100k + "\r\nlast";
    std::vector<Token> expected = {{TokWord, "first", 1},
                                   {TokWord, word300, 2},
                                   {TokNumber, "7", 2},
                                   {TokWord, word100k, 3},
                                   {TokWord, "last", 5}};
    EXPECT_EQ(Tokens(text), expected);

    // Text after a NUL is not part of its line; the next line is read as usual.
    EXPECT_EQ(Tokens(std::string("ab\0cd\nef", 8)),
              (std::vector<Token>{{TokWord, "ab", 1}, {TokWord, "ef", 2}}));
    // A carriage return alone in a line is blank; one inside a line separates tokens.
    EXPECT_EQ(Tokens("\r\na\rb\r\n", true),
              (std::vector<Token>{{TokWord, "a", 2}, {TokWord, "b", 2}, {TokEndOfLine, "", 2}}));
}

TEST(Lex, StreamSourceAndStreamFailure) {
    std::istringstream in("one\ntwo\n");
    CLex lex(in, "file.lif");
    EXPECT_EQ(lex.FileName(), "file.lif");
    EXPECT_EQ(lex.TokenText(), "one");
    in.setstate(std::ios::badbit);
    try {
        lex.NextToken();
        FAIL() << "a failed stream must not read as the end of the input";
    } catch (const CErrorException& e) {
        EXPECT_EQ(e.MessageId(), msg::ErrorReadingFile);
    }
}

TEST(Lex, AcceptorsMatchWithoutMovingUnlessConsuming) {
    CLex lex("GAMES GAME 5x , \"quoted\" [br]ack]");
    EXPECT_FALSE(lex.AcceptKeyword("GAME"));
    EXPECT_TRUE(lex.AcceptKeyword("GAMES", false));
    EXPECT_FALSE(lex.AcceptKeyword("games"));
    EXPECT_TRUE(lex.AcceptNameEqual("games"));
    EXPECT_TRUE(lex.AcceptChar(TokLetterLed, false));
    EXPECT_TRUE(lex.AcceptChar(TokAlnumLed, false));
    EXPECT_FALSE(lex.AcceptChar(TokDigitLed, false));
    EXPECT_TRUE(lex.AcceptKeyword("GAME"));
    EXPECT_TRUE(lex.AcceptChar(TokDigitLed));
    EXPECT_FALSE(lex.AcceptChar(TokDigitLed, false));
    EXPECT_TRUE(lex.AcceptChar(TokWord));
    EXPECT_FALSE(lex.AcceptChar(';'));
    EXPECT_TRUE(lex.AcceptChar(','));
    std::string text;
    EXPECT_FALSE(lex.ReadName(text));
    EXPECT_TRUE(lex.ReadQuoted(text));
    EXPECT_EQ(text, "quoted");
    EXPECT_TRUE(lex.ReadName(text, false));
    EXPECT_EQ(text, "br");
    EXPECT_TRUE(lex.ReadQuoted(text));
    EXPECT_EQ(text, "br");
    EXPECT_EQ(lex.TokenText(), "ack");
}

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
    // Over-long numbers wrap around at 32 bits instead of overflowing.
    EXPECT_TRUE(lex.ReadSignedNumber(n));
    EXPECT_EQ(n, static_cast<int32_t>(static_cast<uint32_t>(99999999999ULL)));
    uint32_t u = 0;
    EXPECT_TRUE(lex.ReadUnsignedNumber(u));
    EXPECT_EQ(u, 1u);
    EXPECT_EQ(lex.Kind(), TokEndOfFile);

    // Word mode off: the digits need not be one token.
    CLex chars("-123;");
    chars.SetWordMode(false);
    EXPECT_TRUE(chars.ReadSignedNumber(n));
    EXPECT_EQ(n, -123);
    EXPECT_EQ(chars.Kind(), ';');
    EXPECT_FALSE(chars.ReadUnsignedNumber(u));
}

TEST(Lex, NameValuePairs) {
    CLex lex("name=\nalone\n key  =  a b \n[br name]=x=y\n=v\nlast word");
    std::string name, value = "junk";
    EXPECT_TRUE(lex.ReadNameValue(name, value));
    EXPECT_EQ(name, "name");
    EXPECT_EQ(value, "");
    // The read ends on the end of the line; line mode was only on for the read.
    EXPECT_EQ(lex.Kind(), TokEndOfLine);
    lex.NextToken();
    value = "junk";
    EXPECT_TRUE(lex.ReadNameValue(name, value));
    EXPECT_EQ(name, "alone");
    EXPECT_EQ(value, "");
    lex.NextToken();
    // Not consuming leaves the lexer on the name.
    EXPECT_TRUE(lex.ReadNameValue(name, value, false));
    EXPECT_EQ(name, "key");
    EXPECT_EQ(value, "a b ");
    EXPECT_EQ(lex.TokenText(), "key");
    EXPECT_EQ(lex.LineNumber(), 3);
    EXPECT_TRUE(lex.ReadNameValue(name, value));
    EXPECT_EQ(value, "a b ");
    lex.NextToken();
    EXPECT_TRUE(lex.ReadNameValue(name, value));
    EXPECT_EQ(name, "br name");
    EXPECT_EQ(value, "x=y");
    lex.NextToken();
    EXPECT_FALSE(lex.ReadNameValue(name, value));
    EXPECT_EQ(lex.Kind(), '=');
    lex.SkipLine();
    // A name followed by something other than '=' has an empty value and stays on what follows.
    EXPECT_TRUE(lex.ReadNameValue(name, value));
    EXPECT_EQ(name, "last");
    EXPECT_EQ(value, "");
    EXPECT_EQ(lex.TokenText(), "word");
    EXPECT_EQ(lex.LineNumber(), 6);
}

TEST(Lex, RestOfLineAndSkipping) {
    CLex lex("a  rest of  line \nb c\n\nd e\nf");
    lex.SetLineMode(true);
    lex.NextToken();
    EXPECT_EQ(lex.RestOfLine(), "rest of  line ");
    EXPECT_EQ(lex.NextToken(), TokEndOfLine);
    lex.NextToken();
    EXPECT_EQ(lex.TokenText(), "b");
    lex.SkipLine();  // skips c and the empty line
    EXPECT_EQ(lex.TokenText(), "d");
    EXPECT_EQ(lex.LineNumber(), 4);
    lex.SkipToEnd();
    EXPECT_EQ(lex.Kind(), TokEndOfFile);
    EXPECT_EQ(lex.LineNumber(), 5);
    lex.SkipToEnd();
    EXPECT_EQ(lex.Kind(), TokEndOfFile);
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
