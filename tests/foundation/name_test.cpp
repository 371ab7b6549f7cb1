#include <gtest/gtest.h>

#include <random>
#include <string>

#include "foundation/name.h"

namespace tessera::test {

namespace {

// Reference: fold case, drop blanks, compare bytes.
std::string Canonical(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == ' ') continue;
        out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return out;
}

int Sign(int v) { return (v > 0) - (v < 0); }

}  // namespace

TEST(CName, CaseAndBlanksDoNotMatter) {
    EXPECT_EQ(CName("von Neumann"), CName("vonNeumann"));
    EXPECT_EQ(CName("CONWAY"), CName("conway"));
    EXPECT_EQ(CompareNames("ab", "ab "), 0);
    EXPECT_EQ(CompareNames("ab ", "ab"), 0);
    EXPECT_LT(CompareNames("ab", "abc"), 0);
    EXPECT_GT(CompareNames("abc", "ab"), 0);
    EXPECT_LT(CompareNames("", "a"), 0);
    EXPECT_EQ(CompareNames("", "  "), 0);
    // Bytes above 127 compare unsigned, after every ASCII character.
    EXPECT_LT(CompareNames("z", "\xE9"), 0);
    // "~" sorts after letters, so anonymous rules come after named ones.
    EXPECT_LT(CompareNames("Zeta", "~23/3"), 0);
}

TEST(CName, AgreesWithCanonicalFormOnRandomNames) {
    std::mt19937 rng(12345);
    const std::string alphabet = "aAbB zZ~1";
    auto randomName = [&] {
        std::string s;
        int n = rng() % 6;
        for (int i = 0; i < n; ++i) s += alphabet[rng() % alphabet.size()];
        return s;
    };
    for (int i = 0; i < 20000; ++i) {
        std::string a = randomName(), b = randomName();
        int expected = Sign(Canonical(a).compare(Canonical(b)));
        ASSERT_EQ(Sign(CompareNames(a, b)), expected) << "'" << a << "' vs '" << b << "'";
        ASSERT_EQ(Sign(CompareNames(b, a)), -expected);
    }
}

}  // namespace tessera::test
