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

TEST(CName, AgreesWithCanonicalFormOnRandomNames) {
    std::mt19937 rng(12345);
    const std::string alphabet = "aAbB zZ~1\xE9";  // bytes above 127 compare unsigned
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
