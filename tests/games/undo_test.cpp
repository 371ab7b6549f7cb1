// Undo and redo against snapshots of the cells taken after each edit.
#include <gtest/gtest.h>

#include <random>

#include "engine/universe.h"
#include "game_support.h"
#include "games/undo.h"

namespace tessera::test {
namespace {

using testing::Cells;
using testing::CellsOf;
using testing::MakeUniverse;

// A universe window's edit operations on a plain universe.
class FakeUndoWindow : public CUndoWindow {
public:
    void SetCell(int32_t x, int32_t y) override { shown->SetCell(x, y); }
    void ClearCell(int32_t x, int32_t y) override { shown->ClearCell(x, y); }
    void PasteCells(CUniverse& cells, const CTransform& t) override { PasteFrom(*shown, cells, t); }
    void RemoveCells(CUniverse& cells, const CTransform& t) override { RemoveCellsOf(*shown, cells, t); }
    void RestoreCells(CUniverse& cells) override { PasteFrom(*shown, cells); }

    UniverseRef shown = MakeUniverse({});
};

// Edits as the window makes them: apply, then record what the undo list needs.
class UndoTest : public testing::GameTestBase {
protected:
    void AddCell(int32_t x, int32_t y) {
        window.shown->SetCell(x, y);
        list.RecordAddPoint(window.shown.get(), x, y);
    }
    // Moves (or copies) the cells of the selection through t onto whatever lies there.
    void MoveCells(CUniverse& selection, const CTransform& t, bool copy) {
        UniverseRef moved = Owned(std::make_unique<CGrowableUniverse>(selection, t));
        UniverseRef covered = MakeUniverse({});
        if (!copy) RemoveCellsOf(*window.shown, selection);
        PasteFrom(*window.shown, *moved, covered.get());
        if (copy)
            list.RecordCopy(window.shown.get(), t, *moved, *covered);
        else
            list.RecordTransform(window.shown.get(), t, *moved,
                                 covered->Population() ? covered.get() : nullptr);
    }

    FakeUndoWindow window;
    CUndoList list;
};

TEST_F(UndoTest, KeepsTheLastEditsUpToTheLimitAndRedoesOnlyTheLastUndone) {
    ASSERT_EQ(list.Limit(), 20u);
    std::vector<Cells> after{CellsOf(*window.shown)};
    for (int i = 0; i < 21; ++i) {
        AddCell(i, i % 3);
        after.push_back(CellsOf(*window.shown));
    }
    EXPECT_EQ(list.Count(), 20);
    for (int i = 0; i < 21; ++i) list.UndoLast(window);
    EXPECT_EQ(CellsOf(*window.shown), after[1]) << "the first edit was pushed out";

    // Undo, redo, undo: the redone record is the newest again.
    list.RedoLast(window);
    EXPECT_EQ(CellsOf(*window.shown), after[2]);
    list.UndoLast(window);
    EXPECT_EQ(CellsOf(*window.shown), after[1]);

    // Two redos after two undos bring back only the second undone edit.
    for (int i = 0; i < 5; ++i) list.RedoLast(window);
    EXPECT_EQ(CellsOf(*window.shown), after[2]);
    list.UndoLast(window);
    list.UndoLast(window);  // nothing left to undo
    EXPECT_TRUE(list.CanRedo());
    AddCell(100, 100);
    EXPECT_FALSE(list.CanRedo()) << "a new edit empties the redo slot";
}

TEST_F(UndoTest, MovesAndCopiesOntoLiveCellsUndoAndRedo) {
    std::mt19937 random(14);
    for (int round = 0; round < 40; ++round) {
        window.shown = MakeUniverse({});
        list.Clear();
        std::uniform_int_distribution<int32_t> coordinate(-6, 6);
        for (int i = 0; i < 40; ++i) window.shown->SetCell(coordinate(random), coordinate(random));
        // The selection: the live cells of a corner of the field.
        UniverseRef selection = MakeUniverse({});
        for (auto [x, y] : CellsOf(*window.shown))
            if (x < 0 && y < 0) selection->SetCell(x, y);
        const CTransform t(coordinate(random), coordinate(random), int(random() % 8));
        const bool copy = round % 2 == 1;

        const Cells before = CellsOf(*window.shown);
        MoveCells(*selection, t, copy);
        const Cells edited = CellsOf(*window.shown);
        list.UndoLast(window);
        ASSERT_EQ(CellsOf(*window.shown), before) << "round " << round;
        list.RedoLast(window);
        ASSERT_EQ(CellsOf(*window.shown), edited) << "round " << round;
        list.UndoLast(window);
        ASSERT_EQ(CellsOf(*window.shown), before) << "round " << round;
    }
}

TEST_F(UndoTest, GeneralEditsRestoreAddedRemovedAndCoveredCells) {
    window.shown = MakeUniverse({{0, 0}, {1, 0}, {5, 5}});
    const Cells before = CellsOf(*window.shown);
    UniverseRef added = MakeUniverse({{1, 0}, {2, 0}});
    UniverseRef removed = MakeUniverse({{5, 5}});
    UniverseRef covered = MakeUniverse({});
    RemoveCellsOf(*window.shown, *removed);
    PasteFrom(*window.shown, *added, covered.get());
    list.RecordGeneral(window.shown.get(), added.get(), removed.get(), covered.get());
    const Cells edited = CellsOf(*window.shown);
    list.UndoLast(window);
    EXPECT_EQ(CellsOf(*window.shown), before);
    list.RedoLast(window);
    EXPECT_EQ(CellsOf(*window.shown), edited);
}

}  // namespace
}  // namespace tessera::test
