// Names read from XLife "#N" lines may hold anything a line can, also both characters that delimit names
// in a game file (the written and read round trip of the game format covers names with either).
#include <gtest/gtest.h>

#include <sstream>

#include "format_test_support.h"
#include "formats/game_file.h"
#include "formats/game_format.h"
#include "games/game.h"
#include "games/game_registry.h"

namespace tessera::test {

TEST_F(FormatTest, NamesWithQuotesOrBracketsReadBack) {
    struct Case {
        const char* name;
        const char* readBack;
    };
    const Case cases[] = {
        {"[bracketed] part", "[bracketed] part"},
        {"both \" and ]", "both ' and ]"},  // cannot be delimited: the quote becomes an apostrophe
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CGameRegistry games;
        FakeDialogs dialogs;
        CLex lex("#N " + std::string(c.name) + "\n#P 0 0\n**\n");
        CGame* game = ReadGameFile(lex, "title", "title.lif", games, dialogs);
        ASSERT_NE(game, nullptr);
        ASSERT_EQ(game->Name().Text(), c.name);

        std::ostringstream written;
        WriteGame(*game, written);
        games.DestroyGame(*game);
        CLex again(written.str());
        CGame* reread = ReadGameFile(again, "title", "title.lif", games, dialogs);
        ASSERT_NE(reread, nullptr);
        EXPECT_EQ(reread->Name().Text(), c.readBack);
        EXPECT_EQ(reread->Population(), 2u);
    }
}

}  // namespace tessera::test
