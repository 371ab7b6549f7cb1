#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "formats/halcyon.h"

namespace tessera::test {

namespace {

// A Halcyon file: header, then rows of 16-bit little-endian words, the leftmost cell in bit 15.
class HalcyonImage {
public:
    HalcyonImage(uint32_t words, uint32_t rows)
        : words_(words), rows_(rows), bits_(words * 16 * rows, false) {}
    void Set(uint32_t x, uint32_t y) { bits_[y * words_ * 16 + x] = true; }
    std::string Bytes() const {
        std::string out;
        auto put16 = [&](uint32_t v) {
            out += static_cast<char>(v & 0xFF);
            out += static_cast<char>(v >> 8);
        };
        put16(0x1234);  // never examined
        put16(words_ - 1);
        put16(rows_ - 1);
        for (uint32_t y = 0; y < rows_; ++y) {
            for (uint32_t w = 0; w < words_; ++w) {
                uint32_t word = 0;
                for (uint32_t b = 0; b < 16; ++b)
                    if (bits_[y * words_ * 16 + w * 16 + b]) word |= 0x8000u >> b;
                put16(word);
            }
        }
        return out;
    }

private:
    uint32_t words_, rows_;
    std::vector<bool> bits_;
};

std::string Convert(const std::string& bytes, int* status = nullptr) {
    std::ostringstream out;
    const int result = ImportHalcyonBytes(bytes, out);
    if (status) *status = result;
    return out.str();
}

// A small RLE decoder of its own: the header's numbers and the cells, with the origin at (0, 0).
struct Decoded {
    int width = -1, height = -1;
    std::set<std::pair<int, int>> cells;
};

Decoded DecodeRle(const std::string& text) {
    Decoded d;
    std::istringstream in(text);
    std::string header;
    std::getline(in, header);
    EXPECT_EQ(2, std::sscanf(header.c_str(), "x = %d, y = %d", &d.width, &d.height)) << header;
    int x = 0, y = 0, count = 0;
    char c;
    while (in.get(c)) {
        if (c >= '0' && c <= '9') {
            count = count * 10 + (c - '0');
            continue;
        }
        const int n = count ? count : 1;
        count = 0;
        if (c == 'o') {
            for (int i = 0; i < n; ++i) d.cells.insert({x++, y});
        } else if (c == 'b') {
            x += n;
        } else if (c == '$') {
            y += n;
            x = 0;
        } else if (c == '!') {
            break;
        }
    }
    return d;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace

TEST(HalcyonImport, LengthAndWidthAreChecked) {
    HalcyonImage widest(500, 1);  // W = 499: rows of 1000 bytes
    widest.Set(7999, 0);
    int status = -1;
    EXPECT_EQ("x = 1, y = 1\no!\n", Convert(widest.Bytes(), &status));
    EXPECT_EQ(0, status);

    HalcyonImage tooWide(501, 1);  // W = 500
    EXPECT_EQ("", Convert(tooWide.Bytes(), &status));
    EXPECT_EQ(1106, status);

    HalcyonImage image(1, 2);
    image.Set(0, 0);
    EXPECT_EQ("", Convert(image.Bytes() + '\0', &status));
    EXPECT_EQ(1107, status);
    EXPECT_EQ("", Convert(image.Bytes().substr(0, 7), &status));
    EXPECT_EQ(1107, status);
    EXPECT_EQ("", Convert("\x01\x02\x03", &status));
    EXPECT_EQ(1107, status);
}

TEST(HalcyonImport, RandomBitmapsDecodeToTheirCells) {
    std::mt19937 random(20261206);
    for (int round = 0; round < 60; ++round) {
        const uint32_t words = 1 + random() % 6, rows = 1 + random() % 30;
        HalcyonImage image(words, rows);
        std::set<std::pair<int, int>> cells;
        const uint32_t density = 1 + random() % 8;
        for (uint32_t y = 0; y < rows; ++y) {
            if (random() % 3 == 0) continue;  // whole empty rows, also at the edges
            for (uint32_t x = 0; x < words * 16; ++x) {
                if (random() % 16 < density) {
                    image.Set(x, y);
                    cells.insert({static_cast<int>(x), static_cast<int>(y)});
                }
            }
        }
        const std::string text = Convert(image.Bytes());
        const Decoded decoded = DecodeRle(text);
        for (const std::string& line : Lines(text)) EXPECT_LE(line.size(), 70u);
        if (cells.empty()) {
            EXPECT_TRUE(decoded.cells.empty());
            continue;
        }
        int minX = 1 << 30, minY = 1 << 30, maxX = -1, maxY = -1;
        for (auto [x, y] : cells) {
            minX = std::min(minX, x), maxX = std::max(maxX, x);
            minY = std::min(minY, y), maxY = std::max(maxY, y);
        }
        std::set<std::pair<int, int>> expected;
        for (auto [x, y] : cells) expected.insert({x - minX, y - minY});
        EXPECT_EQ(expected, decoded.cells) << "round " << round << "\n" << text;
        EXPECT_EQ(maxX - minX + 1, decoded.width);
        EXPECT_EQ(maxY - minY + 1, decoded.height);
    }
}

TEST(HalcyonImport, FilesAreReadAndRecognisedByExtension) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("tessera-hcf-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const auto path = folder / "one.HCF";
    {
        std::ofstream out(path, std::ios::binary);
        const char bytes[] = {0, 0, 0, 0, 0, 0, 0, static_cast<char>(0x80)};
        out.write(bytes, sizeof bytes);
    }
    std::ostringstream text;
    EXPECT_EQ(0, ImportHalcyon(path, text));
    EXPECT_EQ("x = 1, y = 1\no!\n", text.str());
    std::ostringstream none;
    EXPECT_EQ(1013, ImportHalcyon(folder / "missing.hcf", none));
    EXPECT_TRUE(IsHalcyonFileName(path));
    EXPECT_TRUE(IsHalcyonFileName("a/b.hcf"));
    EXPECT_FALSE(IsHalcyonFileName("a.hcfx"));
    EXPECT_FALSE(IsHalcyonFileName("hcf"));
    std::filesystem::remove_all(folder);
}

}  // namespace tessera::test
