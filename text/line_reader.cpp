#include "text/line_reader.h"

#include "foundation/block_heap.h"
#include "foundation/errors.h"

namespace tessera {
namespace {

constexpr size_t kLineAllowance = size_t{1} << 20;
constexpr std::streamsize kPieceLength = 1 << 16;

}  // namespace

size_t MaxLineLength() {
    const CBlockHeap& heap = TheBlockHeap();
    return static_cast<size_t>(heap.MaximumChunks()) * heap.ChunkSize() + kLineAllowance;
}

std::istream& ReadBoundedLine(std::istream& in, std::string& line, size_t maxLength) {
    line.clear();
    // The stream's own getline searches its buffer for the line end a block at a time; a long line
    // comes in pieces, each checked against the bound before it is kept.
    char piece[kPieceLength];
    bool extracted = false;
    for (;;) {
        in.getline(piece, kPieceLength, '\n');
        const auto count = static_cast<size_t>(in.gcount());
        if (in.bad()) return in;
        const bool pieceFull = in.fail() && !in.eof() && count == static_cast<size_t>(kPieceLength) - 1;
        const bool ended = !in.fail() && !in.eof();  // the line end was taken and is not stored
        const size_t stored = ended ? count - 1 : count;
        if (stored > 0) {
            if (line.size() + stored > maxLength) throw CMemoryException();
            line.append(piece, stored);
        }
        extracted = extracted || count > 0;
        if (pieceFull) {
            in.clear(in.rdstate() & ~std::ios::failbit);
            continue;
        }
        // At the input's end the line is good when anything was taken, as with std::getline.
        if (in.eof() && extracted) in.clear(std::ios::eofbit);
        return in;
    }
}

}  // namespace tessera
