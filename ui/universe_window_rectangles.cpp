// The universe window's rectangles beyond the left-button selection: the right-button rectangle and
// Zoom to Selection when nothing is selected yet.
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
