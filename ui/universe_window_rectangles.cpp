// The universe window's rectangles beyond the left-button selection: the right-button rectangle, the
// region that "Remove Region from Selection" takes out, and Zoom to Selection when nothing is selected yet.
#include "engine/growable_universe.h"
#include "ui/message_sink.h"
#include "ui/universe_window.h"

namespace tessera::ui {

void CUniverseWindow::ZoomToSelectionOrStartOne() {
    if (HasSelection()) {
        zoomSelectPending_ = false;
        Zoom(EZoom::kSelection);
        return;
    }
    // Nothing to fit yet: the next left drag draws the selection, and its release zooms to it.
    zoomSelectPending_ = true;
}

void CUniverseWindow::ReleaseRightButton(CLPoint cell) {
    const EMouse was = mouse_;
    if (was != EMouse::kRightPending && was != EMouse::kRightRectDrag) return;
    mouse_ = EMouse::kIdle;
    const CLRect rect = rightRect_;
    rightRect_ = EmptyRect;
    if (was == EMouse::kRightPending) {
        if (cell == pressed_) RunGuarded(this, [&] { SetCellAlive(cell, false); });
        Redraw();
        return;
    }
    ApplyRightRectangle(rect);
}

void CUniverseWindow::StartRemovingRegion() {
    removeRegionPending_ = true;
    zoomSelectPending_ = false;
}

bool CUniverseWindow::PressForRegion(CLPoint cell) {
    if (!removeRegionPending_) return false;
    anchor_ = cell;
    rightRect_ = {cell.x, cell.x + 1, cell.y, cell.y + 1};
    mouse_ = EMouse::kRightRectDrag;
    Redraw();
    return true;
}

bool CUniverseWindow::ReleaseRegion() {
    if (!removeRegionPending_ || mouse_ != EMouse::kRightRectDrag) return false;
    removeRegionPending_ = false;
    mouse_ = EMouse::kIdle;
    const CLRect rect = rightRect_;
    rightRect_ = EmptyRect;
    // A selection cleared meanwhile is not made anew from the rectangle.
    if (HasSelection()) ApplyRightRectangle(rect);
    Redraw();
    return true;
}

void CUniverseWindow::ApplyRightRectangle(const CLRect& rect) {
    if (!HasSelection()) {
        SetSelectionRect(rect);
        return;
    }
    auto kept = SelectedCells();
    auto inside = std::make_unique<CGrowableUniverse>();
    PasteFrom(*inside, *kept, rect);
    RemoveCellsOf(*kept, *inside);
    if (kept->Population() == 0) {
        ClearSelection();
        return;
    }
    selection_ = kept->GetBounds();
    selectionSet_ = std::move(kept);
    Redraw();
}

}  // namespace tessera::ui
