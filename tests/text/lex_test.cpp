// The tokenizer: tokens of random texts against an independent reference, any mix of operations on
// hostile text, and the readers of quoted text, expected values and dates.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/errors.h"
#include "text/lex.h"

namespace tessera::test {

namespace {

struct Token {
    int kind;
    std::string text;
    int line;
    bool operator==(const Token&) const = default;
    friend void PrintTo(const Token& t, std::ostream* os) {
        *os << t.kind << ":'" << t.text << "'@" << t.line;
    }
};

// A plain restatement of the tokenizer's rules, kept independent of CLex: split into lines at LF, CR LF
// or a CR alone, cut at NUL, drop comment lines, then scan tokens.
std::vector<Token> ReferenceTokens(const std::string& text, bool wordMode, bool lineMode) {
    auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t nl = text.find('\n', start);
        if (nl == std::string::npos) nl = text.size();
        std::string physical = text.substr(start, nl - start);
        if (!physical.empty() && physical.back() == '\r') physical.pop_back();
        for (size_t from = 0;;) {
            const size_t cr = physical.find('\r', from);
            lines.push_back(physical.substr(from, cr == std::string::npos ? std::string::npos : cr - from));
            if (cr == std::string::npos) break;
            from = cr + 1;
        }
        start = nl + 1;
    }
    std::vector<Token> out;
    for (size_t n = 0; n < lines.size(); ++n) {
        std::string line = lines[n];
        if (line.find('\0') != std::string::npos) line.resize(line.find('\0'));
        if (!line.empty() && (line[0] == '!' || line[0] == '|')) line.clear();
        size_t i = 0;
        while (true) {
            while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
            if (i >= line.size()) break;
            const size_t b = i;
            const char c = line[i++];
            int kind;
            if (wordMode && (letter(c) || c == '#' || c == '|')) {
                while (i < line.size() &&
                       (letter(line[i]) || digit(line[i]) || line[i] == '#' || line[i] == '|'))
                    ++i;
                kind = TokWord;
            } else if (wordMode && digit(c)) {
                while (i < line.size() && digit(line[i])) ++i;
                kind = TokNumber;
            } else if (c == '[' || c == '"') {
                const size_t e = line.find(c == '[' ? ']' : '"', i);
                i = e == std::string::npos ? line.size() : e + 1;
                kind = c == '[' ? TokBracketed : TokQuoted;
            } else {
                kind = static_cast<signed char>(c);
            }
            out.push_back({kind, line.substr(b, i - b), static_cast<int>(n + 1)});
        }
        // A line's end is a token when something other than a line's end came before it (the first
        // token is scanned before line mode is switched on, so leading empty lines give none).
        if (lineMode && !out.empty() && out.back().kind != TokEndOfLine)
            out.push_back({TokEndOfLine, "", static_cast<int>(n + 1)});
    }
    return out;
}

std::string RandomText(std::mt19937& rng) {
    static const char kChars[] = "aZ09#|!\"[] \t\r\n\n=-+,;/\xE9\0xyz12";
    static const std::string alphabet(kChars, sizeof kChars - 1);  // the NUL is one of them
    std::string text;
    const size_t length = rng() % 80;
    for (size_t i = 0; i < length; ++i) text += alphabet[rng() % alphabet.size()];
    if (rng() % 4 == 0) text += std::string(300 + rng() % 200, 'k');
    return text;
}

}  // namespace

TEST(LexRandom, TokensMatchAnIndependentReference) {
    std::mt19937 rng(4242);
    for (int trial = 0; trial < 3000; ++trial) {
        const std::string text = RandomText(rng);
        const bool wordMode = rng() % 2;
        const bool lineMode = rng() % 2;
        CLex lex(text);
        lex.SetWordMode(wordMode);
        lex.SetLineMode(lineMode);
        std::vector<Token> actual;
        for (int kind = lex.Kind(); kind != TokEndOfFile; kind = lex.NextToken())
            actual.push_back({kind, lex.TokenText(), lex.LineNumber()});
        EXPECT_EQ(lex.NextToken(), TokPastEnd);
        EXPECT_THROW(lex.NextToken(), CSyntaxException);
        ASSERT_EQ(actual, ReferenceTokens(text, wordMode, lineMode)) << "trial " << trial;
    }
}

// Any mix of operations on any text ends at the end of the input without a fault.
TEST(LexRandom, OperationsOnHostileTextReachTheEnd) {
    std::mt19937 rng(77);
    for (int trial = 0; trial < 2000; ++trial) {
        const std::string text = RandomText(rng) + RandomText(rng);
        CLex lex(text);
        std::string a, b;
        int32_t s = 0;
        uint32_t u = 0;
        const std::function<void()> operations[] = {
            [&] { static_cast<void>(lex.ReadSignedNumber(s, rng() % 2)); },
            [&] { static_cast<void>(lex.ReadUnsignedNumber(u, rng() % 2)); },
            [&] { lex.ReadNameValue(a, b, rng() % 2); },
            [&] { lex.SetWordMode(rng() % 2); },
            [&] { lex.SetLineMode(rng() % 2); },
            [&] { lex.ReadQuoted(a, rng() % 2); },
            [&] { lex.RestOfLine(); },
            [&] { lex.SkipLine(); },
            [&] { lex.NextToken(); },
        };
        int32_t lastLine = 0;
        int steps = 0;
        try {
            while (lex.Kind() != TokEndOfFile && lex.Kind() != TokPastEnd) {
                ASSERT_LT(++steps, 10000);
                operations[rng() % std::size(operations)]();
                ASSERT_GE(lex.LineNumber(), lastLine);
                lastLine = lex.LineNumber();
                lex.NextToken();
            }
        } catch (const CSyntaxException&) {
            // Only skipping past the end raises one here.
        }
    }
}

TEST(Lex, QuotedAndBracketedTextEndsAtTheLineEndWhenUnterminated) {
    CLex lex("\"open quote\n[open bracket\n\"\n[x]]y]\n");
    std::string text;
    for (const char* expected : {"open quote", "open bracket", ""}) {
        EXPECT_TRUE(lex.ReadQuoted(text));
        EXPECT_EQ(text, expected);
    }
    EXPECT_TRUE(lex.ReadName(text));
    EXPECT_EQ(text, "x");
}

TEST(Lex, ExpectationsThrowAtTheCurrentLine) {
    CLex lex("GAME\n12 -3 x");
    lex.ExpectKeyword("GAME");
    uint32_t u = 0;
    int i = 0;
    lex.ExpectUnsigned(u);
    lex.ExpectSignedInt(i);
    EXPECT_EQ(std::pair(u, i), std::pair(12u, -3));
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

// Times written and read back are the pattern library's round trip; here the text and the lexer's reader.
TEST(Lex, DateAndTime) {
    CLex lex("2024 3 9 17 5 0 rest");
    CTime t;
    lex.ReadDateTime(t);
    EXPECT_EQ(lex.TokenText(), "rest");
    std::ostringstream out;
    out << t << ' ' << CTime();
    EXPECT_EQ(out.str(), "2024-3-9 17:5:0 0-0--1 -1:-1:-1");
    EXPECT_THROW(CLex("2024 3 9 17:05:00").ReadDateTime(t), CSyntaxException);
    EXPECT_THROW(CLex("2024 3 9").ReadDateTime(t), CSyntaxException);
}

}  // namespace tessera::test
