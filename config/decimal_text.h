#pragma once
// Whole decimal numbers in configuration texts, read the way the C library's strtol/strtoul read them
// (leading blanks skipped, one optional sign, base 10) but demanding that nothing follows the digits
// and treating a number outside 32 bits as no number at all.
#include <cstdint>
#include <optional>
#include <string_view>

namespace tessera {

// A signed 32-bit number, or nothing when the text is not exactly one in-range decimal number.
[[nodiscard]] std::optional<int32_t> ParseSignedDecimal(std::string_view text);

// An unsigned 32-bit number. As with strtoul, a leading minus negates modulo 2^32 ("-1" is
// 4294967295); a magnitude beyond 32 bits is no number.
[[nodiscard]] std::optional<uint32_t> ParseUnsignedDecimal(std::string_view text);

}  // namespace tessera
