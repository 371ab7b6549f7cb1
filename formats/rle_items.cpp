#include "formats/rle_items.h"

#include <algorithm>
#include <array>

namespace tessera {
namespace {

// Counts up to this take another digit without reaching the far count.
constexpr uint64_t kLargeCount = uint64_t{1} << 32;

enum class ERleChar : uint8_t { Other, Digit, Live, Dead };

constexpr auto kRleChars = [] {
    std::array<ERleChar, 256> table{};
    for (char c = '0'; c <= '9'; ++c) table[static_cast<unsigned char>(c)] = ERleChar::Digit;
    table['o'] = ERleChar::Live;
    table['b'] = ERleChar::Dead;
    return table;
}();

}  // namespace

size_t DecodePlainRleItems(std::string_view text, size_t at, CRlePosition& position, CLPoint*& out,
                           const CLPoint* end) {
    uint64_t count = position.count;
    int64_t column = position.column;
    const int64_t row = position.row;
    // A live run must lie within the plane's columns on a row of the plane: column - left + n at most
    // this (a column left of the plane wraps to a huge offset).
    const uint64_t liveSpan = row >= UniverseLimits.top && row < UniverseLimits.bottom
                                  ? static_cast<uint64_t>(int64_t{UniverseLimits.right} - UniverseLimits.left)
                                  : 0;
    const auto y = static_cast<int32_t>(static_cast<uint32_t>(row));
    CLPoint* cell = out;
    // Each character writes at most a short run, so the room bounds the characters taken.
    const size_t room = end - cell < static_cast<ptrdiff_t>(kShortLiveRun)
                            ? 0
                            : static_cast<size_t>(end - cell) / kShortLiveRun;
    const size_t stop = std::min(text.size(), at + room);
    size_t i = at;
    // Every step writes a whole short run and keeps only what the item asks for; the choices are
    // selections, not jumps, and the loop leaves only for what is rare in large files.
    for (; i < stop; ++i) {
        const char c = text[i];
        const ERleChar kind = kRleChars[static_cast<unsigned char>(c)];
        const bool live = kind == ERleChar::Live;
        const uint64_t n = count + static_cast<uint64_t>(count == 0);
        const uint64_t offset = static_cast<uint64_t>(column - UniverseLimits.left);
        const bool misplaced = (n > kShortLiveRun) | (offset + n > liveSpan);
        // A count this large or a column this far is rare enough to leave to the caller, which keeps
        // them from running beyond the far values; here they need no bound.
        const bool far = (count > kLargeCount) | (column + static_cast<int64_t>(n) > kFarPosition);
        if ((kind == ERleChar::Other) | (live & misplaced) | far) break;
        // All ones for a digit, none for a letter; masks rather than conditions, which the compiler
        // could turn back into jumps.
        const uint64_t digitMask = uint64_t{0} - static_cast<uint64_t>(kind == ERleChar::Digit);
        // Written in unsigned arithmetic: far from the plane, where nothing is kept, it may wrap.
        const auto x = static_cast<uint32_t>(column);
        for (uint32_t k = 0; k < kShortLiveRun; ++k) cell[k] = {static_cast<int32_t>(x + k), y};
        cell += n & (uint64_t{0} - static_cast<uint64_t>(live));
        column += static_cast<int64_t>(n & ~digitMask);
        count = (count * 10 + static_cast<uint64_t>(c - '0')) & digitMask;
    }
    position.count = count;
    position.column = column;
    out = cell;
    return i;
}

}  // namespace tessera
