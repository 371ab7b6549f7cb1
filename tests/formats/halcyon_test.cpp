#include <gtest/gtest.h>

#include <filesystem>

#include "format_test_support.h"
#include "formats/halcyon.h"
#include "support/pattern_texts.h"

namespace tessera::test {

namespace {

std::string Convert(const std::string& bytes, int* status = nullptr) {
    std::ostringstream out;
    const int result = ImportHalcyonBytes(bytes, out);
    if (status) *status = result;
    return out.str();
}

}  // namespace

TEST(HalcyonImport, LengthAndWidthAreChecked) {
    const std::string image = HalcyonFile(1, 2, {'\0', '\x80'});
    const std::string widest = HalcyonFile(500, 1, std::string(998, '\0') + '\x01');  // W = 499, last cell
    const std::pair<std::string, int> cases[] = {{widest, 0},
                                                 {HalcyonFile(501, 1), 1106},  // W = 500
                                                 {image + '\0', 1107},
                                                 {image.substr(0, 7), 1107},
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
        std::string body;
        Cells cells;
        const uint32_t density = 1 + random() % 8;
        for (uint32_t y = 0; y < rows; ++y) {
            const bool empty = random() % 3 == 0;  // whole empty rows, also at the edges
            for (uint32_t w = 0; w < words; ++w) {
                uint32_t word = 0;
                for (uint32_t b = 0; b < 16; ++b) {
                    if (!empty && random() % 16 < density) {
                        word |= 0x8000u >> b;
                        cells.insert({static_cast<int32_t>(w * 16 + b), static_cast<int32_t>(y)});
                    }
                }
                body += {static_cast<char>(word & 0xFF), static_cast<char>(word >> 8)};
            }
        }
        const std::string text = Convert(HalcyonFile(words, rows, body));
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
