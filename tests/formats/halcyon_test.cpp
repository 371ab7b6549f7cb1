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

#include "format_test_support.h"
#include "formats/halcyon.h"
#include "support/pattern_texts.h"

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

}  // namespace

TEST(HalcyonImport, LengthAndWidthAreChecked) {
    HalcyonImage widest(500, 1);  // W = 499: rows of 1000 bytes
    widest.Set(7999, 0);
    HalcyonImage image(1, 2);
    image.Set(0, 0);
    const std::pair<std::string, int> cases[] = {{widest.Bytes(), 0},
                                                 {HalcyonImage(501, 1).Bytes(), 1106},  // W = 500
                                                 {image.Bytes() + '\0', 1107},
                                                 {image.Bytes().substr(0, 7), 1107},
                                                 {"\x01\x02\x03", 1107}};
    for (const auto& [bytes, expected] : cases) {
        int status = -1;
        EXPECT_EQ(expected ? "" : "x = 1, y = 1\no!\n", Convert(bytes, &status));
        EXPECT_EQ(expected, status);
    }
}

TEST(HalcyonImport, RandomBitmapsDecodeToTheirCells) {
    std::mt19937 random(20261206);
    for (int round = 0; round < 60; ++round) {
        const uint32_t words = 1 + random() % 6, rows = 1 + random() % 30;
        HalcyonImage image(words, rows);
        Cells cells;
        const uint32_t density = 1 + random() % 8;
        for (uint32_t y = 0; y < rows; ++y) {
            if (random() % 3 == 0) continue;  // whole empty rows, also at the edges
            for (uint32_t x = 0; x < words * 16; ++x) {
                if (random() % 16 < density) {
                    image.Set(x, y);
                    cells.insert({static_cast<int32_t>(x), static_cast<int32_t>(y)});
                }
            }
        }
        const std::string text = Convert(image.Bytes());
        for (const std::string& line : LinesOf(text)) EXPECT_LE(line.size(), 70u);
        EXPECT_EQ(ReadToolPattern(text), Normalised(cells)) << "round " << round << "\n" << text;
        if (cells.empty()) continue;
        const CLRect b = BoundsOf(cells);
        const std::string header =
            "x = " + std::to_string(b.right - b.left) + ", y = " + std::to_string(b.bottom - b.top);
        EXPECT_EQ(text.rfind(header, 0), 0u) << text;
    }
}

TEST(HalcyonImport, FilesAreReadAndRecognisedByExtension) {
    const CTempFolder folder;
    const std::filesystem::path path = folder.Write("one.HCF", std::string(7, '\0') + '\x80');
    std::ostringstream text;
    EXPECT_EQ(0, ImportHalcyon(path, text));
    EXPECT_EQ("x = 1, y = 1\no!\n", text.str());
    std::ostringstream none;
    EXPECT_EQ(1013, ImportHalcyon(folder.Path() / "missing.hcf", none));
    EXPECT_TRUE(IsHalcyonFileName(path));
    EXPECT_TRUE(IsHalcyonFileName("a/b.hcf"));
    EXPECT_FALSE(IsHalcyonFileName("a.hcfx"));
    EXPECT_FALSE(IsHalcyonFileName("hcf"));
}

}  // namespace tessera::test
