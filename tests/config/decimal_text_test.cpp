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

// The signed reader takes the 32-bit signed range; the unsigned one also takes negatives down to -UINT32_MAX,
// which wrap.
bool AgreesWithTheCLibrary(const std::string& text) {
    const std::optional<int64_t> value = ReferenceWhole(text);
    std::optional<int32_t> asSigned;
    std::optional<uint32_t> asUnsigned;
    if (value && *value >= INT32_MIN && *value <= INT32_MAX) asSigned = static_cast<int32_t>(*value);
    if (value && *value >= -int64_t{UINT32_MAX} && *value <= int64_t{UINT32_MAX})
        asUnsigned = static_cast<uint32_t>(*value);
    return ParseSignedDecimal(text) == asSigned && ParseUnsignedDecimal(text) == asUnsigned;
}

// The edges of both ranges, texts longer than any number, blanks, signs and a null character, then
// random texts.
TEST(DecimalText, TextsAgreeWithTheCLibrary) {
    for (const char* text : {"2147483647", "-2147483648", "2147483648", "-2147483649", "4294967295",
                             "4294967296", "-1", "-4294967295", "-4294967296", " \t+7", "7 ", "+-7", "", "-"})
        EXPECT_TRUE(AgreesWithTheCLibrary(text)) << '"' << text << '"';
    for (const std::string& text :
         {std::string(5000, '9'), std::string(5000, '0') + "42", std::string("7\0", 2)})
        EXPECT_TRUE(AgreesWithTheCLibrary(text)) << text.size();
    std::mt19937 random(20240611);
    const std::string alphabet = "0123456789999 +-x\t";
    std::uniform_int_distribution<size_t> length(0, 13);
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        for (size_t n = length(random); n > 0; --n) text += alphabet[pick(random)];
        ASSERT_TRUE(AgreesWithTheCLibrary(text)) << '"' << text << '"';
    }
}

}  // namespace
}  // namespace tessera::test
