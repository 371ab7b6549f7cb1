// Undo and redo against snapshots of the cells taken after each edit.
#include <gtest/gtest.h>

#include <random>

#include "engine/universe.h"
#include "game_support.h"
#include "games/undo.h"

namespace tessera::test {
namespace {

// A universe window's edit operations on a plain universe.
class FakeUndoWindow : public CUndoWindow {
public:
    void SetCell(int32_t x, int32_t y) override { shown->SetCell(x, y); }
    void ClearCell(int32_t x, int32_t y) override { shown->ClearCell(x, y); }
    void PasteCells(CUniverse& cells, const CTransform& t) override { PasteFrom(*shown, cells, t); }
    void RemoveCells(CUniverse& cells, const CTransform& t) override { RemoveCellsOf(*shown, cells, t); }
    void RestoreCells(CUniverse& cells) override { PasteFrom(*shown, cells); }

    UniverseRef shown = Owned(MakeUniverse({}));
};

class UndoTest : public GameTestBase {
protected:
    // One random edit as the window makes it: applied, then recorded.
    void Edit(int kind) {
        CUniverse* u = window.shown.get();
        const int32_t x = coordinate(random), y = coordinate(random);
        UniverseRef selection = Owned(MakeUniverse({})), covered = Owned(MakeUniverse({}));
        for (auto [cx, cy] : CellsOf(*u))
            if ((cx < x) == (cy < y)) selection->SetCell(cx, cy);  // two opposite corners of the field
        const CTransform t(coordinate(random), coordinate(random), int(random() % 8));
        UniverseRef moved = Owned(std::make_unique<CGrowableUniverse>(*selection, t));
        if (kind == 0) {  // a click: makes a dead cell alive or kills a live one
            if (u->IsAlive(x, y)) {
                u->ClearCell(x, y);
                list.RecordDeletePoint(u, x, y);
            } else {
                u->SetCell(x, y);
                list.RecordAddPoint(u, x, y);
            }
            return;
        }
        // The selection moved onto whatever lies there (1), copied (2), or removed and the moved cells
        // added in one bulk edit (3).
        if (kind != 2) RemoveCellsOf(*u, *selection);
        PasteFrom(*u, *moved, covered.get());
        if (kind == 1) {
            list.RecordTransform(u, t, *moved, covered->Population() ? covered.get() : nullptr);
        } else if (kind == 2) {
            list.RecordCopy(u, t, *moved, *covered);
        } else {
            list.RecordGeneral(u, moved.get(), selection.get(), covered.get());
        }
    }

    std::mt19937 random{14};
    std::uniform_int_distribution<int32_t> coordinate{-6, 6};
    FakeUndoWindow window;
    CUndoList list;
};

TEST_F(UndoTest, UndoAndRedoWalkThroughTheLastTwentyEdits) {
    ASSERT_EQ(list.Limit(), 20u);
    for (int i = 0; i < 40; ++i) window.shown->SetCell(coordinate(random), coordinate(random));
    for (int round = 0; round < 8; ++round) {
        std::vector<Cells> after{CellsOf(*window.shown)};
        for (int edit = 0; edit < 21; ++edit) {
            Edit((edit + round) % 4);
            after.push_back(CellsOf(*window.shown));
        }
        EXPECT_EQ(list.Count(), 20);
        for (int undone = 1; undone <= 21; ++undone) {
            list.UndoLast(window);
            ASSERT_EQ(CellsOf(*window.shown), after[std::max(21 - undone, 1)]) << round << ", " << undone;
        }
        // Only the last undone edit can be redone; undo after redo undoes it again.
        list.RedoLast(window);
        list.RedoLast(window);
        ASSERT_EQ(CellsOf(*window.shown), after[2]) << round;
        list.UndoLast(window);
        ASSERT_EQ(CellsOf(*window.shown), after[1]) << round;
        EXPECT_TRUE(list.CanRedo());
        Edit(round % 4);
        EXPECT_FALSE(list.CanRedo()) << "a new edit empties the redo slot";
        list.Clear();
    }
}

}  // namespace
}  // namespace tessera::test
