#include "config/decimal_text.h"

namespace tessera {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

struct CSignedMagnitude {
    bool negative = false;
    uint64_t magnitude = 0;
};

// Skips leading blanks, takes one sign and at least one digit, and refuses anything after the digits.
// The magnitude saturates just above 32 bits so that a long run of digits cannot overflow.
std::optional<CSignedMagnitude> ParseMagnitude(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    CSignedMagnitude result;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        result.negative = text[i] == '-';
        ++i;
    }
    const size_t firstDigit = i;
    constexpr uint64_t kBeyond32Bits = uint64_t{1} << 33;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        result.magnitude = result.magnitude * 10 + static_cast<uint64_t>(text[i] - '0');
        if (result.magnitude > kBeyond32Bits) result.magnitude = kBeyond32Bits;
    }
    if (i == firstDigit || i != text.size()) return std::nullopt;
    return result;
}

}  // namespace

std::optional<int32_t> ParseSignedDecimal(std::string_view text) {
    auto parsed = ParseMagnitude(text);
    if (!parsed) return std::nullopt;
    const int64_t value =
        parsed->negative ? -static_cast<int64_t>(parsed->magnitude) : static_cast<int64_t>(parsed->magnitude);
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(value);
}

std::optional<uint32_t> ParseUnsignedDecimal(std::string_view text) {
    auto parsed = ParseMagnitude(text);
    if (!parsed || parsed->magnitude > UINT32_MAX) return std::nullopt;
    const auto magnitude = static_cast<uint32_t>(parsed->magnitude);
    return parsed->negative ? static_cast<uint32_t>(0u - magnitude) : magnitude;
}

}  // namespace tessera
