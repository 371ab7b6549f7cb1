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
    const std::istream::sentry ready(in, true);
    if (!ready) return in;
    std::streambuf& buffer = *in.rdbuf();
    char piece[kPieceLength];
    bool extracted = false;
    for (;;) {
        // Take what the buffer already holds up to the next line end, in pieces.
        std::streamsize length = 0;
        int c = buffer.sgetc();
        while (length < kPieceLength && c != std::char_traits<char>::eof() && c != '\n') {
            piece[length++] = static_cast<char>(c);
            c = buffer.snextc();
        }
        if (length > 0) {
            extracted = true;
            if (line.size() + static_cast<size_t>(length) > maxLength) throw CMemoryException();
            line.append(piece, static_cast<size_t>(length));
        }
        if (c == std::char_traits<char>::eof()) {
            in.setstate(extracted ? std::ios::eofbit : std::ios::eofbit | std::ios::failbit);
            return in;
        }
        if (c == '\n') {
            buffer.sbumpc();
            return in;
        }
    }
}

}  // namespace tessera
