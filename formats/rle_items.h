#pragma once
// The bulk of RLE data: counts, short live runs and dead runs, decoded without a branch on the kind of
// each character, which a random pattern makes unpredictable.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "foundation/geometry.h"

namespace tessera {

// Reader positions are kept wider than the plane so that no count can overflow them; a position that
// has run beyond the plane stays beyond it (the far value is still outside), and setting a cell there
// is refused.
inline constexpr int64_t kFarPosition = int64_t{1} << 40;
inline constexpr uint64_t kFarCount = uint64_t{1} << 40;

inline int64_t AdvancePosition(int64_t position, uint64_t by) {
    return std::min<int64_t>(position + static_cast<int64_t>(std::min(by, kFarCount)), kFarPosition);
}

// Where RLE decoding stands: the count read so far (0 for none), and the place of the next cell.
struct CRlePosition {
    uint64_t count = 0;
    int64_t column = 0;
    int64_t row = 0;
};

// Live runs up to this length are decoded in one step; longer ones are left to the caller.
inline constexpr size_t kShortLiveRun = 8;

// Decodes text from index at while it holds digits, 'b' and 'o' runs of at most kShortLiveRun cells
// inside the plane, writing the live cells to out (which it advances) while at least kShortLiveRun
// cells of room remain before end. Returns the index of the first character it leaves to the caller:
// anything else, a longer or misplaced live run, or any character once the room is short; text.size()
// when it read everything.
size_t DecodePlainRleItems(std::string_view text, size_t at, CRlePosition& position, CLPoint*& out,
                           const CLPoint* end);

}  // namespace tessera
