// The universe window's side of undo: the records each edit leaves, the operations the records call
// back, and the Undo and Redo commands.
#include "engine/growable_universe.h"
#include "games/game.h"
#include "ui/universe_window.h"

namespace tessera::ui {
namespace {

CUniverse* NonEmpty(const std::unique_ptr<CGrowableUniverse>& cells) {
    return cells && cells->Population() > 0 ? cells.get() : nullptr;
}

}  // namespace

void CUniverseWindow::RecordEdit(EEditKind kind, CUniverse& universe, CEditRecord& record) {
    switch (kind) {
        case EEditKind::kAddCell:
            if (record.changed) undo_.RecordAddPoint(&universe, record.cell.x, record.cell.y);
            return;
        case EEditKind::kDeleteCell:
            if (record.changed) undo_.RecordDeletePoint(&universe, record.cell.x, record.cell.y);
            return;
        case EEditKind::kTransform:
            if (record.moved)
                undo_.RecordTransform(&universe, record.transform, *record.moved, NonEmpty(record.covered));
            return;
        case EEditKind::kCopy:
            if (record.moved && record.covered)
                undo_.RecordCopy(&universe, record.transform, *record.moved, *record.covered);
            return;
        case EEditKind::kGeneral:
            // An edit that changed nothing leaves the redo slot alone.
            if (NonEmpty(record.added) || NonEmpty(record.removed))
                undo_.RecordGeneral(&universe, NonEmpty(record.added), NonEmpty(record.removed),
                                    NonEmpty(record.covered));
            return;
        case EEditKind::kRule:
            return;  // a rule is not a cell edit: the records made before it still apply
    }
}

void CUniverseWindow::UndoEdit() {
    // A pasted object still floating is put down first, so that Undo takes it away again.
    if (floating_) DropFloatingObject();
    undo_.UndoLast(*this);
    ClearSelection();
}

void CUniverseWindow::RedoEdit() {
    if (floating_) DropFloatingObject();
    undo_.RedoLast(*this);
    ClearSelection();
}

// ---- The operations the records call, on the universe the window shows

void CUniverseWindow::SetCell(int32_t x, int32_t y) {
    if (CUniverse* shown = Shown()) shown->SetCell(x, y);
    AfterUndoStep();
}

void CUniverseWindow::ClearCell(int32_t x, int32_t y) {
    if (CUniverse* shown = Shown()) shown->ClearCell(x, y);
    AfterUndoStep();
}

void CUniverseWindow::PasteCells(CUniverse& cells, const CTransform& transform) {
    if (floating_) DropFloatingObject();
    if (CUniverse* shown = Shown()) PasteFrom(*shown, cells, transform);
    AfterUndoStep();
}

void CUniverseWindow::RemoveCells(CUniverse& cells, const CTransform& transform) {
    if (CUniverse* shown = Shown()) RemoveCellsOf(*shown, cells, transform);
    AfterUndoStep();
}

void CUniverseWindow::RestoreCells(CUniverse& cells) {
    if (CUniverse* shown = Shown()) PasteFrom(*shown, cells);
    AfterUndoStep();
}

void CUniverseWindow::AfterUndoStep() {
    if (game_) game_->NoteModified(game_->Current());
    ClearDifferences();
    Redraw();
}

}  // namespace tessera::ui
