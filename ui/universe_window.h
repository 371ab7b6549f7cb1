#pragma once
// CUniverseWindow: the window that shows a game's current generation in grid or map style, zooms and
// scrolls it, and edits it with the mouse and the keyboard. It is the game's display context and, while it
// shows differences, the growth listener that collects the births and deaths of a step.
#include <QAbstractScrollArea>
#include <QImage>
#include <QTimer>
#include <functional>
#include <memory>

#include "engine/grow_listener.h"
#include "engine/universe.h"
#include "games/front_end.h"
#include "games/undo.h"
#include "ui/universe_renderer.h"
#include "ui/view_geometry.h"

namespace tessera {
class CGame;
class CGrowableUniverse;
}  // namespace tessera

namespace tessera::ui {

class CDesktopClipboard;

// What the window draws after a growth step (the values of GrowDisplayStyle).
enum class EGrowDisplay { kNewOnly = 0, kDifferences = 3, kFlashDifferences = 4 };

// The kinds of edit the undo list tells apart.
enum class EEditKind { kAddCell, kDeleteCell, kTransform, kCopy, kGeneral, kRule };

// What an edit tells the undo list: the cell it changed (and whether it changed), or the cells moved or
// copied through a transform, or the cells added and removed; the cells they covered in every case.
struct CEditRecord {
    CLPoint cell{};
    bool changed = true;
    CTransform transform{};
    std::unique_ptr<CGrowableUniverse> moved, added, removed, covered;
};

class CUniverseWindow : public QAbstractScrollArea,
                        public CDisplayContext,
                        private CGrowListener,
                        private CUndoWindow {
    Q_OBJECT
public:
    explicit CUniverseWindow(bool gridStyle, QWidget* parent = nullptr);
    ~CUniverseWindow() override;

    // ---- The game shown
    // Detaches from the game shown before (keeping its view in the game) and shows this one (or none).
    void ShowGame(CGame* game);
    CGame* Game() const { return game_; }
    // Grid style (true) or map style; the scale limits follow the style.
    void SetGridStyle(bool grid);
    bool IsGridStyle() const { return gridStyle_; }
    void SetGrowDisplay(EGrowDisplay display);
    EGrowDisplay GrowDisplay() const { return display_; }
    // Colours are read from the parameters again.
    void ReloadColours();
    // Draws with colours the parameters do not hold (yet): the options sheet's preview.
    void ShowColours(const CRenderColours& colours);

    // ---- View
    CViewGeometry& Geometry() { return geometry_; }
    void Zoom(EZoom zoom, std::optional<CLPoint> centre = std::nullopt);
    void ScrollPage(int dx, int dy);
    // The cell under a point of the widget (in device-independent pixels).
    CLPoint CellAtWidgetPoint(QPoint point) const;
    // The centre of a cell in widget coordinates.
    QPoint WidgetPointOfCell(CLPoint cell) const;
    // The window's image as drawn now.
    QImage RenderedImage();

    // ---- Selection and edits
    const CLRect& SelectionRect() const { return selection_; }
    bool HasSelection() const { return selection_.IsValid(); }
    // The selected cells as a universe of their own (the selection set, or the live cells of the rectangle).
    std::unique_ptr<CGrowableUniverse> SelectedCells();
    void SetSelectionRect(const CLRect& rect);
    void ClearSelection();
    void SelectAll();
    void SelectObjectAt(CLPoint cell, bool add);
    // Makes exactly these cells the selection (none when empty).
    void SelectCells(std::unique_ptr<CUniverse> cells);
    // A pasted object that floats above the universe at an offset until it is dropped.
    void SetFloatingObject(std::unique_ptr<CUniverse> object, CLSize offset);
    bool HasFloatingObject() const { return floating_ != nullptr; }
    CLSize FloatingOffset() const { return floatingOffset_; }
    void DropFloatingObject();
    void SetCellAlive(CLPoint cell, bool alive);
    void DeleteSelection();
    void FillSelection();
    // Rotates or reflects the selection about its centre (orientation numbers of CTransform).
    void TransformSelection(int orientation);
    void MoveSelection(CLSize by, bool copy);
    void GrowSelection();
    // Gives the shown generation another rule (an edit like any other).
    void SetRule(RuleCode code);
    // Edit > Undo and Redo: any floating object is dropped first.
    void UndoEdit();
    void RedoEdit();
    bool CanUndo() const { return undo_.CanUndo(); }
    bool CanRedo() const { return undo_.CanRedo(); }
    // The universe-window commands of the menus (zoom, edit and display commands); false for others.
    bool RunCommand(uint32_t commandId);
    bool CanRunCommand(uint32_t commandId) const;
    // Where the right-click menu's Paste Here, Copy Object and Cut Object go.
    void SetClipboard(CDesktopClipboard* clipboard) { clipboard_ = clipboard; }

    // ---- CDisplayContext
    CGrowListener* Listener() override;
    CUniverse* FloatingObject() override { return floating_.get(); }
    void CurrentGenerationChanged() override;
    void SaveViewState(CViewState& state) override;
    int GrowOneGeneration() override;

signals:
    // The message area's text (selection, mouse position, selection moved).
    void statusText(const QString& text);
    // An edit of an earlier generation made a copy of the game, which the window now shows.
    void gameForked(tessera::CGame* copy);
    // The shown universe changed (edit, growth, another game).
    void universeChanged();
    // A command of the main window chosen from the window's own menu.
    void commandRequested(uint32_t commandId);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    enum class EMouse {
        kIdle,
        kDrawPending,
        kRectDrag,
        kMoveSelection,
        kDragFloating,
        kRightPending,
        kRightRectDrag
    };

    // CGrowListener: births and deaths of the step being displayed.
    void OnGrowBegin(CUniverse& source) override;
    void OnGrowRow(int32_t y) override { growRow_ = y; }
    void OnCellBorn(int32_t x) override;
    void OnCellDied(int32_t x) override;
    void OnGrowRowEnd() override {}
    void OnGrowEnd(CUniverse& universe) override;

    // CUndoWindow: the operations the undo records call on the universe shown.
    void SetCell(int32_t x, int32_t y) override;
    void ClearCell(int32_t x, int32_t y) override;
    void PasteCells(CUniverse& cells, const CTransform& transform) override;
    void RemoveCells(CUniverse& cells, const CTransform& transform) override;
    void RestoreCells(CUniverse& cells) override;
    void AfterUndoStep();

    // Every edit goes through here: permission (a copy of the game when an earlier generation is shown),
    // the change, the redraw. This is where the undo list records each edit from what the change reports.
    void Edit(EEditKind kind, const std::function<void(CUniverse&, CEditRecord&)>& change);
    void RecordEdit(EEditKind kind, CUniverse& universe, CEditRecord& record);
    CUniverse* Shown() const;
    void Redraw();
    void ClearDifferences();
    void UpdateScrollBars();
    void UpdateStatus();
    void SyncGeometrySize();
    CScaleLimits LimitsForStyle() const;
    bool IsInSelection(CLPoint cell);
    bool IsOnFloating(CLPoint cell) const;
    CLPoint CellAtEvent(const QPointF& position) const;
    void AutoScroll();
    void ZoomToSelectionOrStartOne();
    void ReleaseRightButton(CLPoint cell);
    // A right-button rectangle removes its region from the selection, or becomes the selection when
    // there is none.
    void ApplyRightRectangle(const CLRect& rect);
    // "Remove Region from Selection": the next left drag draws a rectangle whose cells leave the
    // selection, as a right-button drag does without the right-click menu.
    void StartRemovingRegion();
    // The left button starts or ends that drag; false when no such drag is wanted or going on.
    bool PressForRegion(CLPoint cell);
    bool ReleaseRegion();

    CGame* game_ = nullptr;
    bool gridStyle_;
    EGrowDisplay display_;
    CViewGeometry geometry_;
    CRenderColours colours_;
    CUniverseRenderer renderer_;
    QImage image_;

    CLRect selection_ = EmptyRect;
    std::unique_ptr<CUniverse> selectionSet_;
    std::unique_ptr<CUniverse> floating_;
    CLSize floatingOffset_{};

    CUndoList undo_;

    std::unique_ptr<CGrowableUniverse> born_;
    std::unique_ptr<CGrowableUniverse> died_;
    int32_t growRow_ = 0;
    QTimer flashTimer_;

    EMouse mouse_ = EMouse::kIdle;
    CLPoint pressed_{};
    CLPoint anchor_{};
    // Zoom to Selection without a selection: the next left drag draws one, and the view zooms to it.
    bool zoomSelectPending_ = false;
    // The rectangle of a right-button drag, until it is applied to the selection.
    CLRect rightRect_ = EmptyRect;
    bool removeRegionPending_ = false;
    CLPoint mouseCell_{};
    bool mouseInside_ = false;
    CLSize moveBy_{};
    bool copyOnMove_ = false;
    QPoint lastMousePixel_;
    QTimer autoScrollTimer_;

    // Scroll bars map cells to their range through a base and a unit, since the plane is wider than
    // their int range.
    int64_t scrollBaseX_ = 0, scrollBaseY_ = 0, scrollUnitX_ = 1, scrollUnitY_ = 1;
    bool updatingScrollBars_ = false;
    CDesktopClipboard* clipboard_ = nullptr;
};

}  // namespace tessera::ui
