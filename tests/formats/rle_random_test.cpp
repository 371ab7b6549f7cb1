// Large and odd RLE data read against a plain decoder written here: random items, counts split by line
// breaks, blanks, stray characters, runs reaching the edges of the plane.
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>

#include "format_test_support.h"
#include "formats/input_limit_exception.h"
#include "foundation/messages.h"

using namespace tessera;
using namespace tessera::test;

namespace {

struct Decoded {
    Cells cells;
    std::optional<std::pair<int, int32_t>> failure;  // message and line
};

// RLE data after a one-line header: a count and its item, '$' ending rows, '!' or a line that begins
// with '!' ending the pattern; 'o' and 'x' are live, other letters dead, other characters ignored.
Decoded Reference(const std::string& text) {
    constexpr int64_t kRight = 2147483646, kBottom = 2147483646, kRowRoom = 99996;
    Decoded out;
    int64_t x = 0, y = 0, count = 0;
    int32_t line = 2;  // the data's first line, after the header
    size_t i = text.find('\n') + 1;
    for (bool lineStart = true; i < text.size(); ++i) {
        const char c = text[i];
        if (lineStart && c == '!') break;
        lineStart = c == '\n';
        if (c == '\n') {
            ++line;
        } else if (c >= '0' && c <= '9') {
            count = count * 10 + (c - '0');
        } else if (c != ' ' && c != '\t') {
            const int64_t n = std::max<int64_t>(count, 1);
            count = 0;
            if (c == '!') break;
            if (c == '$') {
                x = 0;
                y += n;
            } else if (c == 'o' || c == 'x') {
                if (n > kRowRoom) return {out.cells, {{msg::InputRowTooLong, line}}};
                if (x + n > kRight || y >= kBottom) return {out.cells, {{msg::InputCellOutside, line}}};
                for (int64_t k = 0; k < n; ++k)
                    out.cells.insert({static_cast<int32_t>(x + k), static_cast<int32_t>(y)});
                x += n;
            } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
                x += n;
            }
        }
    }
    return out;
}

// Mostly the items of a soup, with now and then a long count, a far jump, a blank, a stray character or
// another letter; line breaks anywhere, also inside counts, or very long lines.
std::string RandomRle(std::mt19937& rng) {
    std::string data;
    const int items = static_cast<int>(rng() % 12000);
    const unsigned edges = rng() % 3 == 0 ? 3 : 0;  // in a thousand items: jumps to the plane's edges
    auto count = [&](uint64_t n) { return n == 1 && rng() % 2 ? std::string() : std::to_string(n); };
    for (int k = 0; k < items; ++k) {
        const unsigned roll = rng() % 1000;
        if (roll < edges) {
            // A far row, or a run that ends on the plane's last column or just beyond it.
            data += rng() % 2
                        ? std::to_string(2147483000 + rng() % 700) + "$"
                        : "$" + std::to_string(2147483642 + rng() % 4) + "b" + count(1 + rng() % 4) + "o";
        } else if (roll < 450) {
            data += count(1 + rng() % 4) + "b";
        } else if (roll < 900) {
            data += count(1 + rng() % (rng() % 8 == 0 ? 30 : 3)) + "o";
        } else if (roll < 960) {
            data += count(1 + rng() % 3) + "$";
        } else if (roll < 970) {
            data += count(1 + rng() % 5) + "xyz"[rng() % 3];
        } else if (roll < 985) {
            data += " \t.*%"[rng() % 5];
        } else if (roll < 999) {
            data += count(rng() % 12) + "b";
        } else {
            // A row of its own, up to or just past a row's room.
            data += "$" + std::to_string(99990 + rng() % 12) + "o$";
        }
    }
    if (rng() % 4) data += "!";
    // Failures are told apart by their lines: data running to the edges is wrapped.
    const size_t wrap = rng() % 3 == 0 && edges == 0 ? std::string::npos : 1 + rng() % 80;
    std::string text = "x = 0, y = 0, rule = B3/S23\n";
    for (size_t at = 0; at < data.size(); at += wrap) {
        text += data.substr(at, wrap);
        text += '\n';
    }
    return text;
}

}  // namespace

TEST(RleRandom, ReadsAsAPlainDecoderDoes) {
    std::mt19937 rng(2026);
    int failures = 0, cells = 0;
    for (int trial = 0; trial < 60; ++trial) {
        const std::string text = RandomRle(rng);
        const Decoded expected = Reference(text);
        std::optional<std::pair<int, int32_t>> failure;
        Cells actual;
        try {
            auto collection = ReadText(text);
            if (CXLUniverse* read = collection->Find(CName("test"))) actual = CellsOf(*read->universe);
        } catch (const CInputLimitException& e) {
            failure = {e.MessageId(), e.LineNumber()};
        }
        ASSERT_EQ(expected.failure, failure) << "trial " << trial;
        if (!failure) {
            ASSERT_EQ(expected.cells, actual) << "trial " << trial;
        }
        failures += failure.has_value();
        cells += static_cast<int>(actual.size());
    }
    // Both outcomes were met often enough to mean something.
    EXPECT_GT(failures, 10);
    EXPECT_GT(cells, 100000);
}
