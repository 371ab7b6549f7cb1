#include "ui/universe_window.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <climits>

#include "config/parameters.h"
#include "engine/growable_universe.h"
#include "engine/searchable_universe.h"
#include "engine/transform.h"
#include "foundation/errors.h"
#include "foundation/messages.h"
#include "games/game.h"
#include "games/game_registry.h"
#include "ui/command_ids.h"
#include "ui/message_sink.h"
#include "ui/qt_clipboard.h"

namespace tessera::ui {
namespace {

// A fill larger than this many cells is refused rather than left to run for minutes.
constexpr int64_t kMaxFillCells = 4'000'000;
// The scroll bars' range in steps; the plane is mapped onto it in units of whole cells.
constexpr int64_t kScrollSteps = 1'000'000;

CLRect RectOfCells(CLPoint a, CLPoint b) {
    return {std::min(a.x, b.x), std::max(a.x, b.x) + 1, std::min(a.y, b.y), std::max(a.y, b.y) + 1};
}

std::unique_ptr<CGrowableUniverse> EmptyLike(CUniverse* like) {
    auto universe = std::make_unique<CGrowableUniverse>();
    if (like) universe->SetRuleCode(like->GetRuleCode());
    return universe;
}

// The cells of `cells` that are alive in the universe.
std::unique_ptr<CGrowableUniverse> LiveCellsAmong(CUniverse& universe, CUniverse& cells) {
    return Minus(cells, *Minus(cells, universe));
}

}  // namespace

CUniverseWindow::CUniverseWindow(bool gridStyle, QWidget* parent)
    : QAbstractScrollArea(parent),
      gridStyle_(gridStyle),
      display_(static_cast<EGrowDisplay>(params::GrowDisplayStyle.GetInt())),
      geometry_(LimitsForStyle()),
      colours_(CRenderColours::FromParameters()) {
    if (display_ != EGrowDisplay::kDifferences && display_ != EGrowDisplay::kFlashDifferences)
        display_ = EGrowDisplay::kNewOnly;
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    flashTimer_.setSingleShot(true);
    connect(&flashTimer_, &QTimer::timeout, this, [this] {
        ClearDifferences();
        Redraw();
    });
    connect(&autoScrollTimer_, &QTimer::timeout, this, &CUniverseWindow::AutoScroll);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (updatingScrollBars_) return;
        const int64_t target = scrollBaseX_ + int64_t{value} * scrollUnitX_;
        geometry_.ScrollCells(target - geometry_.Origin().x, 0);
        Redraw();
    });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (updatingScrollBars_) return;
        const int64_t target = scrollBaseY_ + int64_t{value} * scrollUnitY_;
        geometry_.ScrollCells(0, target - geometry_.Origin().y);
        Redraw();
    });
}

CUniverseWindow::~CUniverseWindow() { ShowGame(nullptr); }

CScaleLimits CUniverseWindow::LimitsForStyle() const {
    if (gridStyle_) {
        const int low = params::GridMinPitch.GetInt(), high = std::max(low, params::GridMaxPitch.GetInt());
        return {low, high, std::clamp(params::GridPitch.GetInt(), low, high)};
    }
    const int low = params::UseCosmic.GetInt() != 0 ? -(1 << (params::MapMinPitch.GetInt() - 1)) : 1;
    const int high = params::MapMaxPitch.GetInt();
    return {low, high, std::clamp(params::MapPitch.GetInt(), 1, high)};
}

// ---- The game shown

CUniverse* CUniverseWindow::Shown() const { return game_ ? &game_->Current() : nullptr; }

void CUniverseWindow::ShowGame(CGame* game) {
    if (game_ == game) return;
    if (game_) {
        SaveViewState(game_->ViewState());
        game_->DetachWindow();
    }
    game_ = game;
    undo_.Clear();
    floating_.reset();
    selectionSet_.reset();
    selection_ = EmptyRect;
    mouse_ = EMouse::kIdle;
    ClearDifferences();
    if (game_) {
        game_->AttachWindow(*this);
        const CViewState& state = game_->ViewState();
        if (state.words[0] != 0) {
            // A view kept from an earlier showing: its scale and centre.
            geometry_.SetScale(
                static_cast<int32_t>(state.words[0]),
                CLPoint{static_cast<int32_t>(state.words[1]), static_cast<int32_t>(state.words[2])});
        } else {
            geometry_.SetScale(geometry_.Scale(), CLPoint{0, 0});
        }
    }
    Redraw();
}

void CUniverseWindow::SaveViewState(CViewState& state) {
    const CLPoint centre = geometry_.Centre();
    state.words[0] = static_cast<uint32_t>(geometry_.Scale());
    state.words[1] = static_cast<uint32_t>(centre.x);
    state.words[2] = static_cast<uint32_t>(centre.y);
}

void CUniverseWindow::SetGridStyle(bool grid) {
    if (grid == gridStyle_) return;
    gridStyle_ = grid;
    const CLPoint centre = geometry_.Centre();
    CViewGeometry fresh(LimitsForStyle());
    fresh.Resize(geometry_.Width(), geometry_.Height());
    fresh.SetScale(fresh.Limits().initial, centre);
    geometry_ = fresh;
    Redraw();
}

void CUniverseWindow::SetGrowDisplay(EGrowDisplay display) {
    display_ = display;
    params::GrowDisplayStyle.SetInt(static_cast<int>(display));  // new windows start with it
    ClearDifferences();
    Redraw();
}

void CUniverseWindow::ReloadColours() { ShowColours(CRenderColours::FromParameters()); }

void CUniverseWindow::ShowColours(const CRenderColours& colours) {
    colours_ = colours;
    Redraw();
}

// ---- Growth display

CGrowListener* CUniverseWindow::Listener() { return display_ == EGrowDisplay::kNewOnly ? nullptr : this; }

void CUniverseWindow::OnGrowBegin(CUniverse& source) {
    born_ = EmptyLike(&source);
    died_ = EmptyLike(&source);
}

void CUniverseWindow::OnCellBorn(int32_t x) {
    if (born_) born_->SetCell(x, growRow_);
}

void CUniverseWindow::OnCellDied(int32_t x) {
    if (died_) died_->SetCell(x, growRow_);
}

void CUniverseWindow::OnGrowEnd(CUniverse&) {}

void CUniverseWindow::ClearDifferences() {
    born_.reset();
    died_.reset();
    flashTimer_.stop();
}

int CUniverseWindow::GrowOneGeneration() {
    if (!game_) return 0;
    ClearDifferences();
    undo_.Clear();
    const int status = game_->StepForward(this);
    if (display_ == EGrowDisplay::kFlashDifferences && born_)
        flashTimer_.start(params::AnimateTimer.GetInt());
    Redraw();
    return status;
}

void CUniverseWindow::CurrentGenerationChanged() {
    ClearDifferences();
    undo_.Clear();
    Redraw();
}

// ---- Drawing

void CUniverseWindow::SyncGeometrySize() {
    const qreal ratio = devicePixelRatioF();
    const int width = std::max(1, int(viewport()->width() * ratio));
    const int height = std::max(1, int(viewport()->height() * ratio));
    if (width != geometry_.Width() || height != geometry_.Height()) geometry_.Resize(width, height);
}

QImage CUniverseWindow::RenderedImage() {
    SyncGeometrySize();
    if (image_.width() != geometry_.Width() || image_.height() != geometry_.Height())
        image_ = QImage(geometry_.Width(), geometry_.Height(), QImage::Format_RGB32);
    image_.setDevicePixelRatio(1.0);  // drawn in device pixels; the ratio is set again for the blit
    std::vector<CRenderLayer> layers;
    CUniverse* shown = Shown();
    layers.push_back({shown, colours_.alive});
    if (born_ && died_) {
        layers.push_back({died_.get(), colours_.died});
        layers.push_back({born_.get(), colours_.born});
    }
    if (selectionSet_) {
        layers.push_back({selectionSet_.get(), colours_.selected});
    } else if (selection_.IsValid()) {
        layers.push_back({shown, colours_.selected, {}, selection_});
    }
    std::unique_ptr<CGrowableUniverse> moving;
    if (mouse_ == EMouse::kMoveSelection && (moveBy_.cx != 0 || moveBy_.cy != 0)) {
        moving = SelectedCells();
        layers.push_back({moving.get(), colours_.selected, moveBy_});
    }
    if (floating_) layers.push_back({floating_.get(), colours_.floating, floatingOffset_});
    renderer_.Render(image_, geometry_, gridStyle_, colours_.background, colours_.grid, layers);
    // The selection rectangle and the floating object's box are outlined.
    QPainter painter(&image_);
    const auto outline = [&](CLRect rect, CLSize offset, QRgb colour) {
        const int64_t x0 = geometry_.PixelX(int64_t{rect.left} + offset.cx);
        const int64_t y0 = geometry_.PixelY(int64_t{rect.top} + offset.cy);
        const int64_t x1 = geometry_.PixelX(int64_t{rect.right} + offset.cx);
        const int64_t y1 = geometry_.PixelY(int64_t{rect.bottom} + offset.cy);
        const auto clip = [](int64_t v) { return int(std::clamp<int64_t>(v, -2, 1 << 24)); };
        painter.setPen(QPen(QColor(colour), 1, Qt::DashLine));
        painter.drawRect(clip(x0), clip(y0), clip(x1) - clip(x0) - 1, clip(y1) - clip(y0) - 1);
    };
    if (selection_.IsValid())
        outline(selection_, mouse_ == EMouse::kMoveSelection ? moveBy_ : CLSize{}, colours_.selected);
    if (rightRect_.IsValid()) outline(rightRect_, {}, colours_.grid);
    if (floating_ && floating_->Population() > 0)
        outline(floating_->GetBounds(), floatingOffset_, colours_.floating);
    image_.setDevicePixelRatio(devicePixelRatioF());
    return image_;
}

void CUniverseWindow::paintEvent(QPaintEvent*) {
    const QImage image = RenderedImage();
    QPainter painter(viewport());
    painter.drawImage(QPoint(0, 0), image);
}

void CUniverseWindow::Redraw() {
    UpdateScrollBars();
    UpdateStatus();
    viewport()->update();
    emit universeChanged();
}

void CUniverseWindow::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    SyncGeometrySize();
    UpdateScrollBars();
}

void CUniverseWindow::UpdateScrollBars() {
    SyncGeometrySize();
    const CLRect visible = geometry_.VisibleCells();
    CLRect bounds = Shown() && Shown()->Population() > 0 ? Shown()->GetBounds() : visible;
    const auto setup = [this](QScrollBar* bar, int64_t low, int64_t high, int64_t viewLow, int64_t viewHigh,
                              int64_t& base, int64_t& unit) {
        const int64_t extent = viewHigh - viewLow;
        // The range covers the universe and the view, with half a view to spare on each side.
        low = std::min(low, viewLow) - extent / 2;
        high = std::max(high, viewHigh) + extent / 2;
        base = low;
        unit = std::max<int64_t>(1, (high - low) / kScrollSteps);
        updatingScrollBars_ = true;
        bar->setRange(0, int(std::max<int64_t>(0, (high - extent - low) / unit)));
        const int64_t overlap = params::PageScrollOverlap.GetInt() * int64_t{geometry_.CellsPerPixel()};
        bar->setPageStep(int(std::max<int64_t>(1, (extent - overlap) / unit)));
        bar->setSingleStep(int(std::max<int64_t>(1, extent / 10 / unit)));
        bar->setValue(int((viewLow - low) / unit));
        updatingScrollBars_ = false;
    };
    setup(horizontalScrollBar(), bounds.left, bounds.right, visible.left, visible.right, scrollBaseX_,
          scrollUnitX_);
    setup(verticalScrollBar(), bounds.top, bounds.bottom, visible.top, visible.bottom, scrollBaseY_,
          scrollUnitY_);
}

void CUniverseWindow::scrollContentsBy(int, int) {}  // the bars' own signals move the view

void CUniverseWindow::UpdateStatus() {
    QString text;
    if (selection_.IsValid())
        text += QStringLiteral("Selection box %1 x %2. ")
                    .arg(int64_t{selection_.right} - selection_.left)
                    .arg(int64_t{selection_.bottom} - selection_.top);
    if (mouseInside_) text += QStringLiteral("Mouse at (%1,%2). ").arg(mouseCell_.x).arg(mouseCell_.y);
    if (mouse_ == EMouse::kMoveSelection)
        text += QStringLiteral("Selection moved by (%1,%2).").arg(moveBy_.cx).arg(moveBy_.cy);
    emit statusText(text);
}

// ---- View commands

void CUniverseWindow::Zoom(EZoom zoom, std::optional<CLPoint> centre) {
    SyncGeometrySize();
    CUniverse* shown = Shown();
    const CLRect bounds = shown && shown->Population() > 0 ? shown->GetBounds() : EmptyRect;
    geometry_.Zoom(zoom, centre, bounds, selection_);
    Redraw();
}

void CUniverseWindow::ScrollPage(int dx, int dy) {
    const CLRect visible = geometry_.VisibleCells();
    const int64_t overlap = params::PageScrollOverlap.GetInt();
    const int64_t across = std::max<int64_t>(1, int64_t{visible.right} - visible.left - overlap);
    const int64_t down = std::max<int64_t>(1, int64_t{visible.bottom} - visible.top - overlap);
    geometry_.ScrollCells(dx * across, dy * down);
    Redraw();
}

CLPoint CUniverseWindow::CellAtEvent(const QPointF& position) const {
    const qreal ratio = devicePixelRatioF();
    return geometry_.CellAt(int(std::floor(position.x() * ratio)), int(std::floor(position.y() * ratio)));
}

CLPoint CUniverseWindow::CellAtWidgetPoint(QPoint point) const { return CellAtEvent(QPointF(point)); }

QPoint CUniverseWindow::WidgetPointOfCell(CLPoint cell) const {
    const qreal ratio = devicePixelRatioF();
    const int64_t half = geometry_.CellPixels() / 2;
    return QPoint(int((geometry_.PixelX(cell.x) + half) / ratio),
                  int((geometry_.PixelY(cell.y) + half) / ratio));
}

// ---- Selection

std::unique_ptr<CGrowableUniverse> CUniverseWindow::SelectedCells() {
    auto cells = EmptyLike(Shown());
    if (selectionSet_) {
        PasteFrom(*cells, *selectionSet_);
    } else if (selection_.IsValid() && Shown()) {
        PasteFrom(*cells, *Shown(), selection_);
    }
    return cells;
}

void CUniverseWindow::SetSelectionRect(const CLRect& rect) {
    selectionSet_.reset();
    selection_ = rect;
    Redraw();
}

void CUniverseWindow::ClearSelection() { SetSelectionRect(EmptyRect); }

void CUniverseWindow::SelectAll() {
    CUniverse* shown = Shown();
    SetSelectionRect(shown && shown->Population() > 0 ? shown->GetBounds() : EmptyRect);
}

void CUniverseWindow::SelectObjectAt(CLPoint cell, bool add) {
    CUniverse* shown = Shown();
    if (!shown || !shown->IsAlive(cell.x, cell.y)) return;
    std::unique_ptr<CUniverse> object = ConnectedCells(*shown, cell, UniverseLimits);
    if (add && (selectionSet_ || selection_.IsValid())) {
        auto set = SelectedCells();
        PasteFrom(*set, *object);
        object = std::move(set);
    }
    selection_ = object->GetBounds();
    selectionSet_ = std::move(object);
    Redraw();
}

void CUniverseWindow::SelectCells(std::unique_ptr<CUniverse> cells) {
    if (cells->Population() == 0) return ClearSelection();
    selection_ = cells->GetBounds();
    selectionSet_ = std::move(cells);
    Redraw();
}

bool CUniverseWindow::IsInSelection(CLPoint cell) {
    if (selectionSet_) return selectionSet_->IsAlive(cell.x, cell.y) || selection_.Contains(cell);
    return selection_.Contains(cell);
}

bool CUniverseWindow::IsOnFloating(CLPoint cell) const {
    if (!floating_ || floating_->Population() == 0) return false;
    const CLRect box = floating_->GetBounds();
    return box.Contains({static_cast<int32_t>(int64_t{cell.x} - floatingOffset_.cx),
                         static_cast<int32_t>(int64_t{cell.y} - floatingOffset_.cy)});
}

void CUniverseWindow::SetFloatingObject(std::unique_ptr<CUniverse> object, CLSize offset) {
    floating_ = std::move(object);
    floatingOffset_ = offset;
    Redraw();
}

// ---- Edits

void CUniverseWindow::Edit(EEditKind kind, const std::function<void(CUniverse&, CEditRecord&)>& change) {
    if (!game_) throw CErrorException(msg::CannotModifyGeneration);
    if (!game_->NoteModified(game_->Current())) {
        // An earlier generation is shown: the edit goes to a copy of the game made at this generation,
        // and the original keeps its history.
        CGame& copy = game_->Registry().CopyGame(*game_, game_->Generation());
        const CLRect keepSelection = selection_;
        std::unique_ptr<CUniverse> keepSet = std::move(selectionSet_);
        std::unique_ptr<CUniverse> keepFloating = std::move(floating_);
        ShowGame(&copy);
        selection_ = keepSelection;
        selectionSet_ = std::move(keepSet);
        floating_ = std::move(keepFloating);
        emit gameForked(&copy);
        if (!game_->NoteModified(game_->Current())) throw CErrorException(msg::CannotModifyGeneration);
    }
    ClearDifferences();
    CEditRecord record;
    change(game_->Current(), record);
    RecordEdit(kind, game_->Current(), record);
    Redraw();
}

void CUniverseWindow::SetCellAlive(CLPoint cell, bool alive) {
    Edit(alive ? EEditKind::kAddCell : EEditKind::kDeleteCell, [&](CUniverse& universe, CEditRecord& record) {
        record.cell = cell;
        record.changed = universe.IsAlive(cell.x, cell.y) != alive;
        if (alive)
            universe.SetCell(cell.x, cell.y);
        else
            universe.ClearCell(cell.x, cell.y);
    });
}

void CUniverseWindow::DeleteSelection() {
    if (!HasSelection()) return;
    auto cells = SelectedCells();
    Edit(EEditKind::kGeneral, [&](CUniverse& universe, CEditRecord& record) {
        record.removed = LiveCellsAmong(universe, *cells);
        RemoveCellsOf(universe, *cells);
    });
    if (selectionSet_) {
        selectionSet_.reset();
        selection_ = EmptyRect;
        Redraw();
    }
}

void CUniverseWindow::FillSelection() {
    if (!selection_.IsValid()) return;
    const CLRect r = selection_;
    if ((int64_t{r.right} - r.left) * (int64_t{r.bottom} - r.top) > kMaxFillCells)
        throw CErrorException(msg::GameTooBig);
    Edit(EEditKind::kGeneral, [&](CUniverse& universe, CEditRecord& record) {
        record.added = EmptyLike(&universe);
        for (int64_t y = r.top; y < r.bottom; ++y)
            for (int64_t x = r.left; x < r.right; ++x)
                if (!universe.IsAlive(int32_t(x), int32_t(y))) {
                    universe.SetCell(int32_t(x), int32_t(y));
                    record.added->SetCell(int32_t(x), int32_t(y));
                }
    });
    selectionSet_.reset();
    Redraw();
}

void CUniverseWindow::TransformSelection(int orientation) {
    if (!HasSelection()) return;
    auto cells = SelectedCells();
    const CLRect r = selection_;
    // The turned rectangle of inclusive corners, shifted so that its centre stays where it was.
    const CTransform turn(0, 0, orientation);
    const CLPoint a = turn.Apply({r.left, r.top}), b = turn.Apply({r.right - 1, r.bottom - 1});
    const CLRect turned = RectOfCells(a, b);
    const int64_t dx = (int64_t{r.left} + r.right - turned.left - turned.right) / 2;
    const int64_t dy = (int64_t{r.top} + r.bottom - turned.top - turned.bottom) / 2;
    const CTransform transform(int32_t(dx), int32_t(dy), orientation);
    Edit(EEditKind::kTransform, [&](CUniverse& universe, CEditRecord& record) {
        RemoveCellsOf(universe, *cells);
        record.covered = EmptyLike(&universe);
        PasteFrom(universe, *cells, transform, record.covered.get());
        record.transform = transform;
        record.moved = std::make_unique<CGrowableUniverse>(*cells, transform);
    });
    selection_ = {int32_t(turned.left + dx), int32_t(turned.right + dx), int32_t(turned.top + dy),
                  int32_t(turned.bottom + dy)};
    if (selectionSet_) selectionSet_ = std::make_unique<CGrowableUniverse>(*cells, transform);
    Redraw();
}

void CUniverseWindow::MoveSelection(CLSize by, bool copy) {
    if (!HasSelection() || (by.cx == 0 && by.cy == 0)) return;
    auto cells = SelectedCells();
    const CTransform shift(by.cx, by.cy, 0);
    Edit(copy ? EEditKind::kCopy : EEditKind::kTransform, [&](CUniverse& universe, CEditRecord& record) {
        if (!copy) RemoveCellsOf(universe, *cells);
        record.covered = EmptyLike(&universe);
        PasteFrom(universe, *cells, shift, record.covered.get());
        record.transform = shift;
        record.moved = std::make_unique<CGrowableUniverse>(*cells, shift);
    });
    selection_ = {selection_.left + by.cx, selection_.right + by.cx, selection_.top + by.cy,
                  selection_.bottom + by.cy};
    if (selectionSet_) selectionSet_ = std::make_unique<CGrowableUniverse>(*cells, shift);
    Redraw();
}

void CUniverseWindow::DropFloatingObject() {
    if (!floating_) return;
    const CTransform shift(floatingOffset_.cx, floatingOffset_.cy, 0);
    Edit(EEditKind::kGeneral, [&](CUniverse& universe, CEditRecord& record) {
        record.covered = EmptyLike(&universe);
        PasteFrom(universe, *floating_, shift, record.covered.get());
        record.added = std::make_unique<CGrowableUniverse>(*floating_, shift);
    });
    floating_.reset();
    Redraw();
}

void CUniverseWindow::GrowSelection() {
    if (!HasSelection()) return;
    auto cells = SelectedCells();
    std::unique_ptr<CGrowableUniverse> grown = cells->Grow(nullptr);
    Edit(EEditKind::kGeneral, [&](CUniverse& universe, CEditRecord& record) {
        record.removed = LiveCellsAmong(universe, *cells);
        RemoveCellsOf(universe, *cells);
        record.covered = EmptyLike(&universe);
        PasteFrom(universe, *grown, record.covered.get());
        record.added = grown->Clone();
    });
    selection_ = grown->Population() > 0 ? grown->GetBounds() : EmptyRect;
    selectionSet_ = std::move(grown);
    Redraw();
}

void CUniverseWindow::SetRule(RuleCode code) {
    Edit(EEditKind::kRule, [&](CUniverse& universe, CEditRecord&) { universe.SetRuleCode(code); });
}

// ---- Commands

bool CUniverseWindow::CanRunCommand(uint32_t id) const {
    switch (id) {
        case cmd::kDelete:
        case cmd::kRotateLeft:
        case cmd::kRotateRight:
        case cmd::kRotate180:
        case cmd::kVerticalReflect:
        case cmd::kHorizReflect:
        case cmd::kReflectSlash:
        case cmd::kReflectBackslash:
        case cmd::kGrowSelection:
            return game_ && selection_.IsValid();
        case cmd::kFill:
            return game_ && selection_.IsValid() && !selectionSet_;
        case cmd::kSelectAll:
            return game_ != nullptr;
        case cmd::kZoomSelection:
            return true;  // with no selection it starts one
        case cmd::kUndo:
            return game_ && (undo_.CanUndo() || floating_);
        case cmd::kRedo:
            return game_ && undo_.CanRedo();
        case cmd::kRepeatInsert:
            return floating_ && floating_->Population() > 0;
        default:
            return true;
    }
}

bool CUniverseWindow::RunCommand(uint32_t id) {
    // Orientation numbers of CTransform for the rotate and reflect commands.
    constexpr int kTurnRight = 1, kTurnHalf = 2, kTurnLeft = 3, kReflectSlashOrientation = 4,
                  kHorizontalOrientation = 5, kReflectBackslashOrientation = 6, kVerticalOrientation = 7;
    switch (id) {
        case cmd::kZoomIn:
            Zoom(EZoom::kIn);
            return true;
        case cmd::kZoomOut:
            Zoom(EZoom::kOut);
            return true;
        case cmd::kZoomAll:
            Zoom(EZoom::kAll);
            return true;
        case cmd::kZoomCosmic:
            Zoom(EZoom::kCosmic);
            return true;
        case cmd::kZoomBack:
            Zoom(EZoom::kBack);
            return true;
        case cmd::kZoomDefault:
            Zoom(EZoom::kDefault);
            return true;
        case cmd::kZoomSelection:
            ZoomToSelectionOrStartOne();
            return true;
        case cmd::kNewOnly:
            SetGrowDisplay(EGrowDisplay::kNewOnly);
            return true;
        case cmd::kDifferences:
            SetGrowDisplay(EGrowDisplay::kDifferences);
            return true;
        case cmd::kFlashDifferences:
            SetGrowDisplay(EGrowDisplay::kFlashDifferences);
            return true;
        case cmd::kScrollUp:
            ScrollPage(0, -1);
            return true;
        case cmd::kScrollDown:
            ScrollPage(0, 1);
            return true;
        case cmd::kScrollLeft:
            ScrollPage(-1, 0);
            return true;
        case cmd::kScrollRight:
            ScrollPage(1, 0);
            return true;
        case cmd::kDelete:
            DeleteSelection();
            return true;
        case cmd::kRotateLeft:
            TransformSelection(kTurnLeft);
            return true;
        case cmd::kRotateRight:
            TransformSelection(kTurnRight);
            return true;
        case cmd::kRotate180:
            TransformSelection(kTurnHalf);
            return true;
        case cmd::kVerticalReflect:
            TransformSelection(kVerticalOrientation);
            return true;
        case cmd::kHorizReflect:
            TransformSelection(kHorizontalOrientation);
            return true;
        case cmd::kReflectSlash:
            TransformSelection(kReflectSlashOrientation);
            return true;
        case cmd::kReflectBackslash:
            TransformSelection(kReflectBackslashOrientation);
            return true;
        case cmd::kFill:
            FillSelection();
            return true;
        case cmd::kGrowSelection:
            GrowSelection();
            return true;
        case cmd::kSelectAll:
            SelectAll();
            return true;
        case cmd::kUndo:
            UndoEdit();
            return true;
        case cmd::kRedo:
            RedoEdit();
            return true;
        case cmd::kCancel:
            selectionSet_.reset();
            selection_ = EmptyRect;
            floating_.reset();
            mouse_ = EMouse::kIdle;
            zoomSelectPending_ = false;
            removeRegionPending_ = false;
            rightRect_ = EmptyRect;
            Redraw();
            return true;
        default:
            return false;
    }
}

// ---- Mouse and keys

void CUniverseWindow::mousePressEvent(QMouseEvent* event) {
    const CLPoint cell = CellAtEvent(event->position());
    pressed_ = cell;
    lastMousePixel_ = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        // Without the right-click menu a right click kills the cell (on release) and a drag draws a
        // rectangle.
        if (params::RightClickPopup.GetInt() == 0 && game_ && mouse_ == EMouse::kIdle) {
            anchor_ = cell;
            mouse_ = EMouse::kRightPending;
        }
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool shift = !ctrl && (event->modifiers() & Qt::ShiftModifier);
    if (PressForRegion(cell)) return;
    moveBy_ = {};
    if (zoomSelectPending_) {
        selectionSet_.reset();
        anchor_ = cell;
        selection_ = RectOfCells(cell, cell);
        mouse_ = EMouse::kRectDrag;
    } else if (floating_ && IsOnFloating(cell)) {
        mouse_ = EMouse::kDragFloating;
    } else if (HasSelection() && !ctrl && IsInSelection(cell)) {
        mouse_ = EMouse::kMoveSelection;
        copyOnMove_ = shift;
    } else if (shift && selection_.IsValid() && !selectionSet_) {
        // The rectangle grows to take in the cell; the drag goes on from its far corner.
        anchor_ = {cell.x < selection_.left ? selection_.right - 1 : selection_.left,
                   cell.y < selection_.top ? selection_.bottom - 1 : selection_.top};
        selection_ = RectOfCells(anchor_, cell);
        mouse_ = EMouse::kRectDrag;
    } else if (ctrl || HasSelection() || floating_) {
        selectionSet_.reset();
        anchor_ = cell;
        selection_ = ctrl ? RectOfCells(cell, cell) : EmptyRect;
        mouse_ = EMouse::kRectDrag;
    } else {
        anchor_ = cell;
        mouse_ = EMouse::kDrawPending;
    }
    // Qt keeps the mouse with the pressed widget until release (the capture that Capture asks for).
    Redraw();
}

void CUniverseWindow::mouseMoveEvent(QMouseEvent* event) {
    const CLPoint cell = CellAtEvent(event->position());
    lastMousePixel_ = event->position().toPoint();
    mouseCell_ = cell;
    mouseInside_ = viewport()->rect().contains(lastMousePixel_);
    switch (mouse_) {
        case EMouse::kDrawPending:
            if (cell == pressed_) break;
            mouse_ = EMouse::kRectDrag;
            [[fallthrough]];
        case EMouse::kRectDrag:
            selection_ = RectOfCells(anchor_, cell);
            break;
        case EMouse::kMoveSelection:
            moveBy_ = {cell.x - pressed_.x, cell.y - pressed_.y};
            break;
        case EMouse::kDragFloating:
            floatingOffset_.cx += cell.x - pressed_.x;
            floatingOffset_.cy += cell.y - pressed_.y;
            pressed_ = cell;
            break;
        case EMouse::kRightPending:
            if (cell == pressed_) break;
            mouse_ = EMouse::kRightRectDrag;
            [[fallthrough]];
        case EMouse::kRightRectDrag:
            rightRect_ = RectOfCells(anchor_, cell);
            break;
        case EMouse::kIdle:
            UpdateStatus();
            return;
    }
    // Near an edge the view scrolls while the drag goes on.
    const QRect inner =
        viewport()->rect().adjusted(params::AutoScrollZone.GetInt(), params::AutoScrollZone.GetInt(),
                                    -params::AutoScrollZone.GetInt(), -params::AutoScrollZone.GetInt());
    if (!inner.contains(lastMousePixel_)) {
        if (!autoScrollTimer_.isActive()) autoScrollTimer_.start(int(params::AutoScrollInterval.GetUInt()));
    } else {
        autoScrollTimer_.stop();
    }
    Redraw();
}

void CUniverseWindow::AutoScroll() {
    if (mouse_ == EMouse::kIdle || mouse_ == EMouse::kDrawPending || mouse_ == EMouse::kRightPending) {
        autoScrollTimer_.stop();
        return;
    }
    const int zone = params::AutoScrollZone.GetInt(), extend = params::AutoScrollExtend.GetInt();
    const int low = params::AutoScrollMinRate.GetInt(), high = params::AutoScrollMaxRate.GetInt();
    const auto rate = [&](int p, int hi) -> int64_t {
        if (p < zone) return -LogInterpolate(low, high, -zone, extend, -p);
        if (p > hi - zone) return LogInterpolate(low, high, hi - zone, hi + extend, p);
        return 0;
    };
    const int64_t dx = rate(lastMousePixel_.x(), viewport()->width());
    const int64_t dy = rate(lastMousePixel_.y(), viewport()->height());
    if (dx == 0 && dy == 0) {
        autoScrollTimer_.stop();
        return;
    }
    // The rate is in pixels per tick, turned into whole cells.
    const CLPoint cells = geometry_.PixelsToCells(int(dx), int(dy));
    geometry_.ScrollCells(cells.x, cells.y);
    Redraw();
}

void CUniverseWindow::mouseReleaseEvent(QMouseEvent* event) {
    autoScrollTimer_.stop();
    const CLPoint cell = CellAtEvent(event->position());
    if (event->button() == Qt::RightButton) {
        ReleaseRightButton(cell);
        return;
    }
    if (event->button() != Qt::LeftButton || ReleaseRegion()) return;
    const EMouse was = mouse_;
    mouse_ = EMouse::kIdle;
    RunGuarded(this, [&] {
        switch (was) {
            case EMouse::kDrawPending:
                if (cell == pressed_) SetCellAlive(cell, true);
                break;
            case EMouse::kMoveSelection:
                MoveSelection(moveBy_, copyOnMove_);
                break;
            case EMouse::kDragFloating:
                DropFloatingObject();
                break;
            case EMouse::kRectDrag:
                if (zoomSelectPending_) ZoomToSelectionOrStartOne();
                break;
            default:
                break;
        }
    });
    moveBy_ = {};
    Redraw();
}

void CUniverseWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    mouse_ = EMouse::kIdle;
    SelectObjectAt(CellAtEvent(event->position()), false);
}

void CUniverseWindow::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y() / 120;
    if (steps == 0) return;
    if (event->modifiers() & Qt::ControlModifier) {
        // Zoom about the pointer: the cell under it stays under it.
        const CLPoint cell = CellAtEvent(event->position());
        Zoom(steps > 0 ? EZoom::kIn : EZoom::kOut, cell);
        const CLPoint now = CellAtEvent(event->position());
        geometry_.ScrollCells(int64_t{cell.x} - now.x, int64_t{cell.y} - now.y);
        Redraw();
        return;
    }
    const CLRect visible = geometry_.VisibleCells();
    const bool across = event->modifiers() & Qt::ShiftModifier;
    const int64_t step = std::max<int64_t>(
        1, ((across ? int64_t{visible.right} - visible.left : int64_t{visible.bottom} - visible.top)) / 10);
    if (across)
        geometry_.ScrollCells(-steps * step, 0);
    else
        geometry_.ScrollCells(0, -steps * step);
    Redraw();
}

void CUniverseWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Up:
            RunCommand(cmd::kScrollUp);
            return;
        case Qt::Key_Down:
            RunCommand(cmd::kScrollDown);
            return;
        case Qt::Key_Left:
            RunCommand(cmd::kScrollLeft);
            return;
        case Qt::Key_Right:
            RunCommand(cmd::kScrollRight);
            return;
        case Qt::Key_Escape:
            RunCommand(cmd::kCancel);
            return;
        default:
            QAbstractScrollArea::keyPressEvent(event);
    }
}

void CUniverseWindow::leaveEvent(QEvent* event) {
    mouseInside_ = false;
    UpdateStatus();
    QAbstractScrollArea::leaveEvent(event);
}

void CUniverseWindow::contextMenuEvent(QContextMenuEvent* event) {
    if (params::RightClickPopup.GetInt() == 0) return;
    const CLPoint cell = CellAtWidgetPoint(event->pos());
    CUniverse* shown = Shown();
    const bool editable = game_ != nullptr;
    const bool alive = shown && shown->IsAlive(cell.x, cell.y);
    const bool hasCells = shown && shown->Population() > 0;
    const bool inSelection = HasSelection() && IsInSelection(cell);
    const int scale = geometry_.Scale();
    QMenu menu(this);
    const auto item = [&](const char* text, bool enabled, std::function<void()> action) {
        QAction* a = menu.addAction(QString::fromUtf8(text));
        a->setEnabled(enabled);
        connect(a, &QAction::triggered, this, [this, action] { RunGuarded(this, action); });
    };
    item("Delete Cell", editable && alive, [=, this] { SetCellAlive(cell, false); });
    item("Make Alive", editable && !alive, [=, this] { SetCellAlive(cell, true); });
    item("Delete Object", editable && alive, [=, this] {
        SelectObjectAt(cell, false);
        DeleteSelection();
    });
    item("Delete Selection", editable && HasSelection(), [this] { DeleteSelection(); });
    item("Paste Here", editable && clipboard_ && clipboard_->Clipboard().IsPatternAvailable(),
         [=, this] { clipboard_->PasteInto(*this, cell); });
    menu.addSeparator();
    item("Add to Selection", alive && !inSelection, [=, this] {
        auto set = SelectedCells();
        set->SetCell(cell.x, cell.y);
        selection_ = set->GetBounds();
        selectionSet_ = std::move(set);
        Redraw();
    });
    item("Remove Cell from Selection", alive && inSelection, [=, this] {
        auto set = SelectedCells();
        set->ClearCell(cell.x, cell.y);
        selection_ = set->Population() > 0 ? set->GetBounds() : EmptyRect;
        selectionSet_ = set->Population() > 0 ? std::move(set) : nullptr;
        Redraw();
    });
    item("Remove Region from Selection", HasSelection(), [this] { StartRemovingRegion(); });
    item("Fill Region", editable && selection_.IsValid() && !selectionSet_, [this] { FillSelection(); });
    item("Select Object", alive, [=, this] { SelectObjectAt(cell, false); });
    item("Add Object to Selection", alive && !inSelection, [=, this] { SelectObjectAt(cell, true); });
    item("Copy Object", alive && clipboard_,
         [=, this] { clipboard_->Copy(*ConnectedCells(*Shown(), cell, UniverseLimits), *this); });
    item("Cut Object", editable && alive && clipboard_, [=, this] {
        clipboard_->Copy(*ConnectedCells(*Shown(), cell, UniverseLimits), *this);
        SelectObjectAt(cell, false);
        DeleteSelection();
    });
    item("Remove Object from Selection", alive && inSelection, [=, this] {
        auto set = SelectedCells();
        auto object = ConnectedCells(*Shown(), cell, UniverseLimits);
        RemoveCellsOf(*set, *object);
        selection_ = set->Population() > 0 ? set->GetBounds() : EmptyRect;
        selectionSet_ = set->Population() > 0 ? std::move(set) : nullptr;
        Redraw();
    });
    item("Clear Selection", HasSelection(), [this] { ClearSelection(); });
    menu.addSeparator();
    item("Repeat", CanRunCommand(cmd::kRepeatInsert), [this] { emit commandRequested(cmd::kRepeatInsert); });
    menu.addSeparator();
    const int maximum = geometry_.Limits().maximum, minimum = geometry_.Limits().minimum;
    item("Zoom In", scale < maximum, [=, this] { Zoom(EZoom::kIn, cell); });
    item("Zoom Right In", scale < maximum, [=, this] { Zoom(EZoom::kRightIn, cell); });
    item("Zoom to Scale=1", scale != 1, [=, this] { Zoom(EZoom::kScaleOne, cell); });
    item("Zoom Out", scale > minimum, [=, this] { Zoom(EZoom::kOut, cell); });
    item("Zoom to All", hasCells, [this] { Zoom(EZoom::kAll); });
    item("Zoom Cosmic", hasCells && minimum < 0, [this] { Zoom(EZoom::kCosmic); });
    item("Recenter Here", true, [=, this] { Zoom(EZoom::kRecenter, cell); });
    menu.exec(event->globalPos());
}

}  // namespace tessera::ui
