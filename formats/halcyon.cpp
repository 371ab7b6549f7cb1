#include "formats/halcyon.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <fstream>
#include <string>

#include "formats/input_limit_exception.h"
#include "foundation/errors.h"
#include "foundation/messages.h"

namespace tessera {
namespace {

constexpr size_t kHeaderBytes = 6;
constexpr uint32_t kMaxRowBytes = 1000;
constexpr size_t kRleLineLength = 70;

uint32_t ReadWord(std::string_view bytes, size_t at) {
    return static_cast<uint8_t>(bytes[at]) | static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 1])) << 8;
}

// The rows of the bitmap: each row is a run of 16-bit little-endian words, each word read from its
// most significant bit.
class CHalcyonBitmap {
public:
    CHalcyonBitmap(std::string_view rows, uint32_t words) : rows_(rows), words_(words) {}

    uint32_t Width() const { return 16 * words_; }
    bool Cell(uint32_t row, uint32_t column) const {
        const uint32_t word = ReadWord(rows_, (static_cast<size_t>(row) * words_ + column / 16) * 2);
        return (word >> (15 - column % 16)) & 1;
    }
    bool RowIsEmpty(uint32_t row) const {
        const std::string_view bytes =
            rows_.substr(static_cast<size_t>(row) * words_ * 2, size_t{words_} * 2);
        return bytes.find_first_not_of('\0') == std::string_view::npos;
    }
    uint32_t LeadingClear(uint32_t row) const {
        uint32_t n = 0;
        while (n < Width() && !Cell(row, n)) ++n;
        return n;
    }
    uint32_t TrailingClear(uint32_t row) const {
        uint32_t n = 0;
        while (n < Width() && !Cell(row, Width() - 1 - n)) ++n;
        return n;
    }

private:
    std::string_view rows_;
    uint32_t words_;
};

// RLE items with the line rule of the converter: lines stay within 70 characters. The text is held
// in memory beside the pattern made of it, so past a budget of bytes it ends with the memory message.
class CRleItemWriter {
public:
    CRleItemWriter(std::ostream& out, uint64_t budget) : out_(out), budget_(budget) {}

    void Item(uint32_t count, char letter) {
        if (count == 0) return;
        if (count == 2) {
            // Two cells are written as two letters; the first one is accounted for before its line check.
            if (++lineLength_ > kRleLineLength) {
                Put("\n");
                lineLength_ = 1;
            }
            Put(std::string_view(&letter, 1));
            count = 1;
        }
        const std::string text = count == 1 ? std::string(1, letter) : std::to_string(count) + letter;
        if (lineLength_ + text.size() > kRleLineLength) {
            Put("\n");
            lineLength_ = 0;
        }
        Put(text);
        lineLength_ += text.size();
    }

private:
    void Put(std::string_view text) {
        written_ += text.size();
        if (written_ > budget_) throw CMemoryException();
        out_ << text;
    }

    std::ostream& out_;
    uint64_t budget_;
    uint64_t written_ = 0;
    size_t lineLength_ = 0;
};

void EncodeRow(const CHalcyonBitmap& bitmap, uint32_t row, uint32_t left, uint32_t& pendingRowEnds,
               CRleItemWriter& writer) {
    if (bitmap.RowIsEmpty(row)) {
        ++pendingRowEnds;
        return;
    }
    writer.Item(pendingRowEnds, '$');
    pendingRowEnds = 1;
    bool firstClearRun = true;
    for (uint32_t column = 0; column < bitmap.Width();) {
        const bool alive = bitmap.Cell(row, column);
        uint32_t end = column;
        while (end < bitmap.Width() && bitmap.Cell(row, end) == alive) ++end;
        if (alive) {
            writer.Item(end - column, 'o');
        } else if (end < bitmap.Width()) {
            writer.Item(end - column - (firstClearRun ? left : 0), 'b');
        }
        if (!alive) firstClearRun = false;
        column = end;
    }
}

}  // namespace

int ImportHalcyonBytes(std::string_view bytes, std::ostream& text) {
    if (bytes.size() < kHeaderBytes) return msg::HalcyonBadFormat;
    const uint32_t words = ReadWord(bytes, 2) + 1;
    const uint32_t height = ReadWord(bytes, 4) + 1;
    if (2 * words > kMaxRowBytes) return msg::HalcyonTooBig;
    if (bytes.size() != kHeaderBytes + static_cast<size_t>(height) * words * 2) return msg::HalcyonBadFormat;

    // The largest bitmap holds half a billion cells: refuse one the configured memory cannot hold
    // before any text is made of it.
    const std::string_view rows = bytes.substr(kHeaderBytes);
    uint64_t liveCells = 0;
    uint64_t liveRows = 0;
    for (size_t start = 0; start < rows.size(); start += size_t{words} * 2) {
        uint64_t rowCells = 0;
        for (const char byte : rows.substr(start, size_t{words} * 2))
            rowCells += std::popcount(static_cast<uint8_t>(byte));
        liveCells += rowCells;
        liveRows += rowCells > 0;
    }
    // The rows are rebuilt beside the old ones as cells come in, so twice their bytes are held at the end.
    const uint64_t rowBytes = 2 * RowBytes(liveCells, liveRows);
    CheckBytesFitMemory(rowBytes);
    const CHalcyonBitmap bitmap(rows, words);
    uint32_t top = 0;
    while (top < height && bitmap.RowIsEmpty(top)) ++top;
    uint32_t bottom = 0;
    uint32_t left = bitmap.Width();
    uint32_t right = bitmap.Width();
    if (top == height) {
        // A bitmap without a live cell is an empty pattern.
        left = right = 0;
        bottom = 0;
        top = height;
    } else {
        while (bitmap.RowIsEmpty(height - 1 - bottom)) ++bottom;
        for (uint32_t row = top; row < height - bottom; ++row) {
            if (bitmap.RowIsEmpty(row)) continue;
            left = std::min(left, bitmap.LeadingClear(row));
            right = std::min(right, bitmap.TrailingClear(row));
        }
    }
    const uint32_t width = top == height ? 0 : bitmap.Width() - left - right;
    text << "x = " << width << ", y = " << height - top - bottom << '\n';
    CRleItemWriter writer(text, ConfiguredMemory() - rowBytes);
    uint32_t pendingRowEnds = 0;
    for (uint32_t row = top; row + bottom < height; ++row)
        EncodeRow(bitmap, row, left, pendingRowEnds, writer);
    writer.Item(1, '!');
    text << '\n';
    return 0;
}

int ImportHalcyon(const std::filesystem::path& fileName, std::ostream& text) {
    std::ifstream file(fileName, std::ios::binary);
    if (!file) return msg::ErrorReadingFile;
    char header[kHeaderBytes];
    if (!file.read(header, kHeaderBytes)) return msg::HalcyonBadFormat;
    const std::string_view headerBytes(header, kHeaderBytes);
    const uint32_t words = ReadWord(headerBytes, 2) + 1;
    const uint32_t height = ReadWord(headerBytes, 4) + 1;
    if (2 * words > kMaxRowBytes) return msg::HalcyonTooBig;
    // The length is checked before the rows are read, so a damaged header never makes a large read.
    std::error_code error;
    const uintmax_t length = std::filesystem::file_size(fileName, error);
    if (error) return msg::ErrorReadingFile;
    const size_t expected = kHeaderBytes + static_cast<size_t>(height) * words * 2;
    if (length != expected) return msg::HalcyonBadFormat;
    std::string bytes(expected, '\0');
    file.seekg(0);
    if (!file.read(bytes.data(), static_cast<std::streamsize>(expected))) return msg::ErrorReadingFile;
    return ImportHalcyonBytes(bytes, text);
}

bool IsHalcyonFileName(const std::filesystem::path& fileName) {
    const std::string extension = fileName.extension().string();
    if (extension.size() != 4 || extension[0] != '.') return false;
    for (size_t i = 1; i < 4; ++i) {
        const char c = extension[i];
        const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        if (lower != "hcf"[i - 1]) return false;
    }
    return true;
}

}  // namespace tessera
