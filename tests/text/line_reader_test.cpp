#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>

#include "foundation/errors.h"
#include "text/line_reader.h"

namespace tessera::test {

// Lines of every length around the sizes a reader might take in one piece, with NUL characters and
// carriage returns, read exactly as std::getline reads them, stream state included.
TEST(LineReader, ReadsAsGetlineDoesAtAnyLength) {
    std::mt19937 rng(515);
    const size_t kPiece = size_t{1} << 16;
    const size_t lengths[] = {
        0, 1, 2, kPiece - 2, kPiece - 1, kPiece, kPiece + 1, 2 * kPiece - 1, 3 * kPiece + 7};
    for (int trial = 0; trial < 60; ++trial) {
        std::string text;
        const int lines = 1 + static_cast<int>(rng() % 4);
        for (int i = 0; i < lines; ++i) {
            std::string line(lengths[rng() % std::size(lengths)], 'a');
            for (char& c : line) c = "ab\r\0 9"[rng() % 6];
            text += line;
            if (i + 1 < lines || rng() % 2) text += '\n';
        }
        std::istringstream ours(text), theirs(text);
        std::string a, b;
        for (int read = 0; read <= lines + 1; ++read) {
            ReadBoundedLine(ours, a, text.size());
            std::getline(theirs, b);
            ASSERT_EQ(ours.rdstate(), theirs.rdstate()) << "trial " << trial << " line " << read;
            if (theirs) {
                ASSERT_EQ(a, b) << "trial " << trial << " line " << read;
            }
            if (!ours) break;
        }
    }
}

TEST(LineReader, ALineBeyondTheBoundIsTheMemoryError) {
    const std::string text = std::string(200000, 'x') + "\nshort\n";
    std::istringstream in(text);
    std::string line;
    EXPECT_THROW(ReadBoundedLine(in, line, 199999), CMemoryException);
    std::istringstream exact(text);
    ReadBoundedLine(exact, line, 200000);
    EXPECT_EQ(line.size(), 200000u);
    ReadBoundedLine(exact, line, 200000);
    EXPECT_EQ(line, "short");
}

}  // namespace tessera::test
