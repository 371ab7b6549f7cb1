// Inputs made to break the readers: numbers too large for where they go, a game at the last generation,
// patterns too wide for an RLE header, endless lines, bitmaps and insertions larger than memory (refused
// before the heap fills), and a block named like its file.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "format_test_support.h"
#include "formats/halcyon.h"
#include "formats/xl_writer.h"
#include "foundation/block_heap.h"
#include "foundation/errors.h"
#include "foundation/memory_recovery.h"
#include "foundation/messages.h"
#include "rules/rules.h"
#include "support/error_of.h"

namespace tessera::test {
namespace {

using HostileInputTest = GameTextTest;

TEST_F(HostileInputTest, NumbersThatDoNotFitAreErrorsOfTheirLine) {
    const struct {
        std::string text;
        int32_t line;
    } cases[] = {
        {"0 0\n4294967296 0\n", 2},                         // Life 1.06 pair, once wrapped to (0, 0)
        {"1 1\n-2147483649 5\n", 2},                        // one below the smallest
        {"#P 0 99999999999\n*\n", 1},                       // picture origin
        {"#R 4294967297 0\n1 1\n", 1},                      // relative origin
        {"#B a\n*\n#E\n#I a 0 18446744073709551617\n", 4},  // insertion offset
        {"#N x\nx = 99999999999, y = 1\no!\n", 2},          // RLE header size
        {"GAME\nGENERATION 1\n4294967296,0;\nENDPATTERN\nENDGAME\n", 3},                      // game row
        {"GAME\nGENERATION 1\n0,0 4294967296;\nENDPATTERN\nENDGAME\n", 3},                    // game distance
        {"GAME\nGENERATION 1\n0,0:4294967297;\nENDPATTERN\nENDGAME\n", 3},                    // game run
        {"GAME\n MAXPOP 4294967296 AT 0\nGENERATION 1\nENDPATTERN\nENDGAME\n", 2},            // population
        {"GAME\nGENERATION 0\nENDPATTERN\nGENERATION 2147483648\nENDPATTERN\nENDGAME\n", 4},  // generation
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.line, SyntaxErrorLine(c.text));
    }
    // The largest numbers that fit are read as they are.
    auto picture = ReadText("#P -2147483647 2147483645\n*\n");
    EXPECT_EQ((Cells{{-2147483647, 2147483645}}), CellsOf(*picture->UniverseAt(1)));
    auto pairs = ReadText("2147483645 -2147483647\n");
    EXPECT_EQ((Cells{{2147483645, -2147483647}}), CellsOf(*pairs->UniverseAt(1)));
    // The farthest cells an insertion places, reached with a half turn from the other side.
    auto c = ReadText("#B x\n#P 2000000000 0\n*\n#E\n#P 0 0\n#I x 147483645 0\n#I x -147483647 0 2\n");
    EXPECT_EQ((Cells{{-2147483647, 0}, {2147483645, 0}}), CellsNamed(*c, "test"));
}

TEST_F(HostileInputTest, AGameAtTheLastGenerationIsWrittenAndReadBack) {
    CGame* game = Read(
        "GAME\nGENERATION 0\n0,0:3;\nENDPATTERN\nGENERATION 2147483647 NOTRIM\n1,-1;\nENDPATTERN\nENDGAME\n");
    ASSERT_NE(nullptr, game);
    EXPECT_EQ(2147483647, game->Generation());
    const std::string written = Written(*game);
    EXPECT_NE(std::string::npos, written.find("GENERATION 2147483648 NOTRIM CURRENT\n")) << written;
    CGame* read = Read(written);
    ASSERT_NE(nullptr, read);
    EXPECT_EQ(2147483647, read->Generation());
    EXPECT_EQ((Cells{{-1, 1}}), CellsOf(read->Current()));
    EXPECT_EQ((Cells{{0, 0}, {1, 0}, {2, 0}}), CellsOf(read->First()));
}

TEST_F(HostileInputTest, RleWriterRefusesWhatItsHeaderCannotSay) {
    // Exactly as wide as the reader can place from column 0: written and read back to the same shape.
    std::ostringstream text;
    WriteXLifeRle(*MakeUniverse({{-2147483647, 0}, {-2, 1}}, DefaultRuleCode()), text);
    CLex lex(text.str());
    EXPECT_EQ((Cells{{0, 0}, {2147483645, 1}}), CellsOf(*ReadXLife(lex, "test", "test.rle")->UniverseAt(1)));
    for (const Cells& tooLarge :
         {Cells{{-2147483647, 0}, {-1, 0}}, Cells{{0, -2147483647}, {0, 2147483645}}}) {
        std::ostringstream refused;
        EXPECT_EQ(msg::RleTooLarge,
                  MessageIdOf([&] { WriteXLifeRle(*MakeUniverse(tooLarge, DefaultRuleCode()), refused); }));
        EXPECT_EQ("", refused.str());
    }
}

// Counts the times the heap ran full and recovery was asked for room.
class CountingRecoverer : public CMemoryRecoverer {
public:
    int calls = 0;
    void TrimGamesOfClass(EGameTrimClass, uint32_t, const std::function<bool(ETrimOutcome)>&) override {
        ++calls;
    }
};

// Blocks that each hold the one before twice: beside it and then below it, or along the diagonal.
std::string Doubling(int count, bool diagonal) {
    std::string text = "#B d0\n*\n#E\n";
    for (int i = 1; i <= count; ++i) {
        const std::string previous = "d" + std::to_string(i - 1);
        const std::string at = std::to_string(1 << (diagonal ? i - 1 : (i + 1) / 2));
        const std::string offset = diagonal ? at + " " + at : i % 2 ? at + " 0" : "0 " + at;
        text +=
            "#B d" + std::to_string(i) + "\n#I " + previous + "\n#I " + previous + " " + offset + "\n#E\n";
    }
    return text;
}

// Memory is refused before the heap fills: recovery is never asked for room, and nothing is kept.
TEST_F(HostileInputTest, InputsLargerThanMemoryEndWithTheMemoryMessage) {
    CBlockHeap& heap = TheBlockHeap();
    const uint32_t savedChunks = heap.MaximumChunks();
    heap.SetMaximum(32u << 20);
    CountingRecoverer recoverer;
    CMemoryRecoverer* saved = SetMemoryRecoverer(&recoverer);
    // A device that never ends a line.
    EXPECT_THROW(OpenGameFile("/dev/zero", games, dialogs), CMemoryException);
    EXPECT_EQ(0u, games.Count());

    // The largest bitmap the format allows, every cell alive: nothing is written. A checkerboard whose rows
    // fit, but not together with the text they are converted to.
    std::ostringstream none, text;
    EXPECT_THROW(ImportHalcyonBytes(HalcyonFile(500, 65536, {}, '\xFF'), none), CMemoryException);
    EXPECT_EQ("", none.str());
    ASSERT_LT(2 * RowBytes(uint64_t{950} * 499 * 8, 950), ConfiguredMemory());
    EXPECT_THROW(ImportHalcyonBytes(HalcyonFile(499, 950, {}, '\xAA'), text), CMemoryException);
    // 2 to the 40th cells in rows that grow both ways; 2 to the 30th, each in a row of its own.
    EXPECT_THROW(ReadText(Doubling(40, false)), CMemoryException);
    EXPECT_THROW(ReadText(Doubling(30, true)), CMemoryException);
    EXPECT_EQ(0, recoverer.calls);
    SetMemoryRecoverer(saved);
    heap.SetMaximum(uint64_t{savedChunks} * heap.ChunkSize());
}

TEST_F(HostileInputTest, BlockNamedLikeTheFileStaysApart) {
    // The data outside blocks and a block of the file's own name, which that data also inserts.
    auto c = ReadText("*\n#B glider\n#P 5 5\n**\n#E\n#I glider 0 10\n", "glider");
    EXPECT_EQ(0u, c->ErrorCount()) << (MessagesOf(*c).empty() ? "" : MessagesOf(*c)[0]);
    ASSERT_EQ(2, c->UniverseCount());
    EXPECT_EQ((Cells{{5, 5}, {6, 5}}), CellsNamed(*c, "glider"));
    EXPECT_EQ((Cells{{0, 0}, {5, 15}, {6, 15}}), CellsNamed(*c, "glider-1"));
}

}  // namespace
}  // namespace tessera::test
