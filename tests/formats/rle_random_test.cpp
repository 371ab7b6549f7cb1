// Large and odd RLE data read against a plain decoder written here: random items, counts split by line
// breaks, blanks, stray characters, lines longer than any read buffer, runs reaching the plane's edges.
#include <gtest/gtest.h>

#include <optional>

#include "format_test_support.h"
#include "formats/input_limit_exception.h"
#include "foundation/messages.h"

namespace tessera::test {
namespace {

using Failure = std::optional<std::pair<int, int32_t>>;  // message and line

// After the header line: digits make a count, 'o' and 'x' live runs, other letters dead ones, '$' ends
// rows, '!' (or a line that begins with it) ends the data; anything else is ignored.
Failure Reference(const std::string& text, Cells& cells) {
    int64_t x = 0, y = 0, count = 0, line = 2;
    for (size_t i = text.find('\n') + 1; i < text.size() && text[i] != '!'; ++i) {
        const char c = text[i];
        if (c == '\n' || c == ' ' || c == '\t' || (c >= '0' && c <= '9')) {
            line += c == '\n';
            count = c >= '0' && c <= '9' ? count * 10 + (c - '0') : count;
            continue;
        }
        const int64_t n = std::max<int64_t>(count, 1);
        count = 0;
        if (c == '$') x = 0, y += n;
        if ((c == 'o' || c == 'x') && n > 99996) return {{msg::InputRowTooLong, line}};
        if ((c == 'o' || c == 'x') && (x + n > 2147483646 || y >= 2147483646))
            return {{msg::InputCellOutside, line}};
        for (int64_t k = 0; (c == 'o' || c == 'x') && k < n; ++k)
            cells.insert({static_cast<int32_t>(x + k), static_cast<int32_t>(y)});
        x += std::isalpha(static_cast<unsigned char>(c)) ? n : 0;
    }
    return std::nullopt;
}

std::string RandomRle(std::mt19937& rng) {
    auto count = [&](uint64_t n) { return n == 1 && rng() % 2 ? std::string() : std::to_string(n); };
    const bool edges = rng() % 3 == 0;  // jumps to the plane's last rows and columns
    std::string data;
    for (int k = static_cast<int>(rng() % 30000); k > 0; --k) {
        const unsigned roll = rng() % 1000;
        if (edges && roll < 10)
            data += rng() % 3 == 0
                        ? std::to_string(2147483000 + rng() % 700) + "$"
                        : "$" + std::to_string(2147483642 + rng() % 4) + "b" + count(1 + rng() % 4) + "o";
        else if (roll < 450)
            data += count(1 + rng() % 4) + "b";
        else if (roll < 900)
            data += count(1 + rng() % (rng() % 8 == 0 ? 30 : 3)) + "o";
        else if (roll < 985)
            data += count(1 + rng() % 3) + "$$$xyz \t.*%"[rng() % 11];
        else if (roll < 999)
            data += count(rng() % 12) + "b";
        else
            data += "$" + std::to_string(99990 + rng() % 12) + "o$";  // up to or past a row's room
    }
    // Failures are told apart by their lines: data running to the edges is wrapped.
    const size_t wrap = rng() % 3 == 0 && !edges ? std::string::npos : 1 + rng() % 80;
    if (wrap == std::string::npos) data.insert(0, 70000, ' ');  // longer than any piece a line is read in
    std::string text = "x = 0, y = 0, rule = B3/S23\n";
    for (size_t at = 0; at < data.size(); at += wrap) text += data.substr(at, wrap) + "\n";
    return text + (rng() % 4 ? "!\n" : "");
}

TEST(RleRandom, ReadsAsAPlainDecoderDoes) {
    std::mt19937 rng(2026);
    int failures = 0;
    for (int trial = 0; trial < 40; ++trial) {
        const std::string text = RandomRle(rng);
        Cells expected, actual;
        const Failure expectedFailure = Reference(text, expected);
        Failure failure;
        try {
            const auto collection = ReadText(text);
            if (CXLUniverse* read = collection->Find(CName("test"))) actual = CellsOf(*read->universe);
        } catch (const CInputLimitException& e) {
            failure = {{e.MessageId(), e.LineNumber()}};
        }
        ASSERT_EQ(expectedFailure, failure) << "trial " << trial;
        if (!failure) {
            ASSERT_EQ(expected, actual) << "trial " << trial;
        }
        failures += failure.has_value();
    }
    EXPECT_GT(failures, 5);
}

}  // namespace
}  // namespace tessera::test
