// The picture form cuts objects wider than a line or taller than a page into strips and bands. The
// objects come from SplitIntoObjects as searchable universes, whose explorations ignore an area; the
// pieces must still hold only their own cells, or cutting never ends.
#include <gtest/gtest.h>

#include <sstream>

#include "format_test_support.h"
#include "formats/xl_writer.h"
#include "rules/rule_code.h"

namespace tessera::test {

TEST_F(FormatTest, PicturesOfObjectsLargerThanALineOrAPageReadBack) {
    Cells wideRow, tallColumn, both;
    for (int32_t x = 18; x < 332; ++x) wideRow.insert({x, 6});     // 314 wide: five strips
    for (int32_t y = -40; y < 90; ++y) tallColumn.insert({3, y});  // 130 high: three bands
    for (int32_t i = 0; i < 150; ++i) both.insert({i, i / 2});     // a connected staircase
    for (const Cells& cells : {wideRow, tallColumn, both}) {
        auto universe = MakeUniverse(cells, kConwayRuleCode);
        std::ostringstream text;
        WriteXLifePictures(*universe, text);
        auto reread = ReadText(text.str());
        ASSERT_EQ(reread->UniverseCount(), 1);
        EXPECT_EQ(CellsOf(*reread->UniverseAt(1)), cells);
        for (const std::string& line : LinesOf(text.str())) {
            if (!line.empty() && line[0] != '#') {
                EXPECT_LE(line.size(), 72u);
            }
        }
    }
}

}  // namespace tessera::test
