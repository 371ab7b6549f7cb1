// Decimal texts against the C library's strtoll, on hand-picked and random texts.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <random>
#include <string>

#include "config/decimal_text.h"

namespace tessera::test {
namespace {

// Reference: strtoll must take the whole text and at least one digit; 64 bits cannot overflow on the
// short texts used here, the 32-bit range is then checked.
std::optional<int64_t> ReferenceWhole(const std::string& text) {
    if (text.find_first_of("0123456789") == std::string::npos) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || end != text.c_str() + text.size() || end == text.c_str()) return std::nullopt;
    return value;
}

std::optional<int32_t> ReferenceSigned(const std::string& text) {
    auto value = ReferenceWhole(text);
    if (!value || *value < INT32_MIN || *value > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(*value);
}

std::optional<uint32_t> ReferenceUnsigned(const std::string& text) {
    auto value = ReferenceWhole(text);
    if (!value || *value < -int64_t{UINT32_MAX} || *value > int64_t{UINT32_MAX}) return std::nullopt;
    return static_cast<uint32_t>(*value);
}

TEST(DecimalText, EdgesOfTheRanges) {
    EXPECT_EQ(ParseSignedDecimal("2147483647"), 2147483647);
    EXPECT_EQ(ParseSignedDecimal("-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseSignedDecimal("2147483648"), std::nullopt);
    EXPECT_EQ(ParseSignedDecimal("-2147483649"), std::nullopt);
    EXPECT_EQ(ParseSignedDecimal(std::string(5000, '9')), std::nullopt);
    EXPECT_EQ(ParseSignedDecimal(std::string(5000, '0') + "42"), 42);
    EXPECT_EQ(ParseUnsignedDecimal("4294967295"), 4294967295u);
    EXPECT_EQ(ParseUnsignedDecimal("4294967296"), std::nullopt);
    EXPECT_EQ(ParseUnsignedDecimal("-1"), 4294967295u);
    EXPECT_EQ(ParseUnsignedDecimal("-4294967296"), std::nullopt);
    EXPECT_EQ(ParseSignedDecimal(" \t+7"), 7);
    EXPECT_EQ(ParseSignedDecimal("7 "), std::nullopt);
    EXPECT_EQ(ParseSignedDecimal("+-7"), std::nullopt);
    EXPECT_EQ(ParseSignedDecimal(std::string("7\0", 2)), std::nullopt);
    EXPECT_EQ(ParseSignedDecimal(""), std::nullopt);
    EXPECT_EQ(ParseSignedDecimal("-"), std::nullopt);
}

TEST(DecimalText, RandomTextsAgreeWithTheCLibrary) {
    std::mt19937 random(20240611);
    const std::string alphabet = "0123456789999 +-x\t";
    std::uniform_int_distribution<size_t> length(0, 13);
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        for (size_t n = length(random); n > 0; --n) text += alphabet[pick(random)];
        ASSERT_EQ(ParseSignedDecimal(text), ReferenceSigned(text)) << '"' << text << '"';
        ASSERT_EQ(ParseUnsignedDecimal(text), ReferenceUnsigned(text)) << '"' << text << '"';
    }
}

}  // namespace
}  // namespace tessera::test
