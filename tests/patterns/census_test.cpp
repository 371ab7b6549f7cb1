// The census of known worlds: counts by named pattern, new patterns for shapes not seen before,
// unclassifiable bits, reuse of the last result and the table's order.
#include "patterns/census.h"

#include <gtest/gtest.h>

#include <memory>

#include "engine/growable_universe.h"
#include "engine/transform.h"
#include "games/game.h"
#include "games/game_registry.h"
#include "patterns/named_pattern.h"
#include "patterns/pattern_library.h"
#include "patterns/recognition.h"
#include "support/cells.h"

namespace tessera::test {
namespace {

const Cells kBlock = CellsFromPicture("**\n**");

class FakeCensusFrontEnd : public CCensusFrontEnd {
public:
    bool ChooseCensusLibrary() override {
        ++choices;
        if (choose) TheCensus().SetLibraryNumber(*choose);
        return choose.has_value();
    }
    void ShowProgress(const std::string& text) override { lastProgress = text; }

    std::optional<int32_t> choose;
    int choices = 0;
    std::string lastProgress = "unset";
};

class CensusTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallRecognition();
        user_ = MakeLibrary("user.lfl", -1);
        other_ = MakeLibrary("other.lfl", 1);
        Name("block", kBlock, user_);
        Name("glider", Glider(), user_);
    }
    void TearDown() override {
        DestroyLibrary(other_);
        DestroyLibrary(user_);
        ResetRecognition();
        TheCensus().Reset();
        games_.Reset();
    }

    CNamedPattern* Name(const char* name, const Cells& cells, CPatternLibrary* library) {
        std::unique_ptr<CPattern> pattern = CreatePattern(*MakeUniverse(cells), ERecognizable::Yes);
        return NameNewPattern(pattern, name, library);
    }

    // Three blocks and a glider, far apart, plus extra cells.
    CGame& World(const Cells& extra = {}) {
        Cells world = extra;
        for (const Cells& part : {kBlock, Shifted(kBlock, 10, 0), Shifted(kBlock, 0, 10)})
            world.insert(part.begin(), part.end());
        auto universe = MakeUniverse(world);
        PasteFrom(*universe, *MakeUniverse(Glider()), CTransform(20, 20, 3));
        return games_.NewGame(*universe);
    }

    CPatternLibrary* user_ = nullptr;
    CPatternLibrary* other_ = nullptr;
    CGameRegistry games_;
    FakeCensusFrontEnd frontEnd_;
};

TEST_F(CensusTest, CountsObjectsByNamedPattern) {
    CGame& game = World();
    const CCensusResult* result = TheCensus().Open(game, frontEnd_);
    ASSERT_NE(nullptr, result);
    EXPECT_EQ(4u, result->objectCount);
    EXPECT_EQ(0u, result->newCount);
    EXPECT_EQ(0u, result->unclassifiable->Population());
    EXPECT_EQ("block,3,4\nglider,1,5\n", TheCensus().ExportText(ECensusMode::Census));
    EXPECT_EQ("", frontEnd_.lastProgress);  // cleared at the end

    // The same generation again: the same result, and the cumulative counts are not added twice.
    EXPECT_EQ(result, TheCensus().Open(game, frontEnd_));
    EXPECT_EQ("block,3,4\nglider,1,5\n", TheCensus().ExportText(ECensusMode::Total));
}

TEST_F(CensusTest, NewShapesJoinTheCensusLibraryAndTheRestIsUnclassifiable) {
    // A beehive (known to no library) and an R-pentomino, which does not settle within the cycle limit.
    CGame& game = World(
        {{40, 0}, {41, 0}, {39, 1}, {42, 1}, {40, 2}, {41, 2}, {60, 1}, {61, 0}, {62, 0}, {60, 2}, {61, 1}});
    const CCensusResult* result = TheCensus().Open(game, frontEnd_);
    ASSERT_NE(nullptr, result);
    EXPECT_EQ(5u, result->objectCount);
    EXPECT_EQ(1u, result->newCount);
    EXPECT_EQ(5u, result->unclassifiable->Population());
    EXPECT_NE(nullptr, FindNamedPattern("New6-1", user_));
    EXPECT_TRUE(user_->IsModified());
    EXPECT_EQ("New6-1,1,6\nblock,3,4\nglider,1,5\n", TheCensus().ExportText(ECensusMode::Census));
}

TEST_F(CensusTest, TheTableSortsByEachColumnAndTellsClashingNamesApart) {
    // Another library names a pair of blocks "glider" too.
    ASSERT_NE(nullptr,
              Name("glider", {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {3, 0}, {4, 0}, {3, 1}, {4, 1}}, other_));
    CGame& game = World({{50, 0}, {51, 0}, {50, 1}, {51, 1}, {53, 0}, {54, 0}, {53, 1}, {54, 1}});
    ASSERT_NE(nullptr, TheCensus().Open(game, frontEnd_));
    auto names = [] {
        std::string text;
        for (const CCensusRow& row : TheCensus().Rows(ECensusMode::Census))
            text += row.name + ":" + std::to_string(row.quantity) + " ";
        return text;
    };
    EXPECT_EQ("block:3 glider(1):1 glider(U):1 ", names());
    TheCensus().ClickColumn(ECensusColumn::Name);
    EXPECT_EQ("glider(U):1 glider(1):1 block:3 ", names());
    TheCensus().ClickColumn(ECensusColumn::Quantity);  // equal quantities keep the dictionary's order
    EXPECT_EQ("glider(U):1 glider(1):1 block:3 ", names());
    TheCensus().ClickColumn(ECensusColumn::Quantity);
    EXPECT_EQ("block:3 glider(U):1 glider(1):1 ", names());
    TheCensus().ClickColumn(ECensusColumn::Size);
    EXPECT_EQ("block:3 glider(U):1 glider(1):1 ", names());
    TheCensus().ClickColumn(ECensusColumn::Size);
    EXPECT_EQ("glider(1):1 glider(U):1 block:3 ", names());
}

TEST_F(CensusTest, EmptyWorldsAndMissingLibraries) {
    CGame& empty = games_.NewGame();
    const CCensusResult* result = TheCensus().Open(empty, frontEnd_);
    ASSERT_NE(nullptr, result);
    EXPECT_EQ(0u, result->objectCount);
    EXPECT_TRUE(TheCensus().Rows(ECensusMode::Census).empty());

    // Without the census library the user chooses one; cancelling runs nothing.
    TheCensus().SetLibraryNumber(5);
    CGame& game = World({{40, 0}, {41, 0}, {39, 1}, {42, 1}, {40, 2}, {41, 2}});
    EXPECT_EQ(nullptr, TheCensus().Open(game, frontEnd_));
    EXPECT_EQ(1, frontEnd_.choices);
    frontEnd_.choose = 1;
    ASSERT_NE(nullptr, TheCensus().Open(game, frontEnd_));
    EXPECT_NE(nullptr, FindNamedPattern("New6-1", other_));
}

}  // namespace
}  // namespace tessera::test
