#include <gtest/gtest.h>

#include "config/parameters.h"
#include "format_test_support.h"
#include "formats/game_file.h"
#include "formats/xl_writer.h"
#include "foundation/safe_file.h"
#include "games/game_registry.h"
#include "rules/rule_notation.h"
#include "rules/rules.h"

namespace tessera::test {

namespace {

class GameFileTest : public GameTextTest {
protected:
    COpenResult Open(const std::filesystem::path& path) { return OpenGameFile(path, games, dialogs); }
};

}  // namespace

// Files that cannot be read or opened are the batch tool tests'; here a row too long for the plane.
TEST_F(GameFileTest, FailuresLoadNothing) {
    COpenResult huge = Open(temp_.Write("huge.rle", "x = 1, y = 1\n\n2147483647o!\n"));
    EXPECT_EQ(nullptr, huge.game);
    EXPECT_EQ(1321, huge.messageId);
    EXPECT_EQ("A row of the pattern would hold more cells than a row can hold, at line 3 of the input file",
              huge.message);
    EXPECT_EQ(0u, games.Count());
}

TEST_F(GameFileTest, NameClashAsksAndCancelDiscardsTheGame) {
    const auto path = temp_.Write("file.lif", "#N Twice\n*\n");
    ASSERT_NE(nullptr, Open(path).game);
    dialogs.otherNames = {"Twice again"};
    COpenResult second = Open(path);
    ASSERT_NE(nullptr, second.game);
    EXPECT_EQ("Twice again", second.game->Name().Text());
    EXPECT_EQ((std::vector<std::string>{"Twice"}), dialogs.clashes);

    COpenResult cancelled = Open(path);  // no further answers: the user cancels
    EXPECT_EQ(nullptr, cancelled.game);
    EXPECT_EQ(2u, games.Count());
}

TEST_F(GameFileTest, SavedGamesLoadBackInBothForms) {
    std::mt19937 random(555);
    for (int form = 0; form < 2; ++form) {
        params::WriteXLifeFormat.SetInt(form);
        auto start = MakeUniverse(RandomSoup(random, 3, 4, 30, 20, 0.35), ParseRuleText("23/36"));
        CGame& game = games.NewGame(*start);
        ASSERT_TRUE(game.SetName(CName("Saved " + std::to_string(form))));
        game.SetOriginator("Tester");
        const std::string description = "Short line.\r\n" + std::string(80, 'y') + " with  two blanks and " +
                                        std::string(30, 'z') + " and more text beyond the line length";
        game.SetDescription(description);
        for (int i = 0; i < 7; ++i) game.StepForward(nullptr);
        const Cells current = CellsOf(game.Current());
        const auto path = folder_ / ("saved" + std::to_string(form) + ".lif");
        SaveGameToFile(game, path);
        EXPECT_EQ(path.string(), game.FileName());

        dialogs.otherNames = {"Loaded " + std::to_string(form)};
        dialogs.clashes.clear();
        COpenResult loaded = Open(path);
        ASSERT_NE(nullptr, loaded.game) << loaded.message;
        EXPECT_EQ(path.string(), loaded.game->FileName());
        EXPECT_TRUE(loaded.showDescription);
        EXPECT_EQ(ParseRuleText("23/36"), loaded.game->Current().GetRuleCode());
        EXPECT_EQ(form == 1 ? 0 : 7, loaded.game->Generation());
        EXPECT_EQ(current, CellsOf(loaded.game->Current()));
        EXPECT_EQ(form == 1 ? "Tester" : "", loaded.game->Originator());  // the game form holds none
        // Long lines come back cut where the writer cut them, and nothing else changes.
        std::string joined = loaded.game->Description();
        for (size_t at = joined.find("\r\n", 12); at != std::string::npos; at = joined.find("\r\n", at))
            joined.erase(at, 2);
        EXPECT_EQ(description, joined);
    }
    EXPECT_EQ(0, dialogs.selectCalls) << "a file of one pattern asks for no choice";
    EXPECT_THROW(SaveGameToFile(games.NewGame(), folder_ / "no-such-folder" / "x.lif"), CFileException);
}

}  // namespace tessera::test
