#include "ui/pattern_tiles.h"

#include <QApplication>
#include <QDrag>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "config/parameters.h"
#include "engine/universe.h"
#include "formats/file_dialogs.h"
#include "ui/view_geometry.h"

namespace tessera::ui {
namespace {

// A tile shows its whole pattern: up to eight pixels a cell (in the window's units), and as many cells
// to a pixel as it takes.
constexpr int kTileMaxScale = 8;
constexpr int kTileMinScale = -(1 << 30);
// Pixels (in the window's units) left between a tile's pattern and its edges, in tiles large enough.
constexpr int kTileMargin = 2;

// A rectangle of the window's units in the pixels of an image drawn at that ratio; neighbouring
// rectangles stay neighbours, with no pixel lost or shared between them.
QRect DevicePixels(const QRect& rect, qreal ratio) {
    const auto at = [ratio](int v) { return int(std::lround(v * ratio)); };
    return QRect(QPoint(at(rect.left()), at(rect.top())),
                 QPoint(at(rect.left() + rect.width()) - 1, at(rect.top() + rect.height()) - 1));
}

}  // namespace

CTileLooks CTileLooks::FromParameters() {
    CTileLooks looks;
    looks.grid = ParameterColour(params::TileGridColor);
    looks.gridHighlight = ParameterColour(params::TileGridHighlightColor);
    looks.title = ParameterColour(params::TileTitleColor);
    looks.text = ParameterColour(params::TileTextColor);
    looks.titleHighlight = ParameterColour(params::TileTitleHighlightColor);
    looks.textHighlight = ParameterColour(params::TileTextHighlightColor);
    looks.gridThickness = std::max(1, params::TileGridThickness.GetInt());
    looks.cells = CRenderColours::FromParameters();
    return looks;
}

const QFont& TileTitleFont() {
    static const QFont font = [] {
        QFont small;
        small.setPixelSize(params::SmallFontHeight.GetInt());
        return small;
    }();
    return font;
}

int TileTitleHeight() {
    static const int height =
        QFontMetrics(TileTitleFont()).height() + 2 * std::max(0, params::TileTitleLeading.GetInt());
    return height;
}

CTileWin::CTileWin(QWidget* parent) : QAbstractScrollArea(parent), looks_(CTileLooks::FromParameters()) {
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
}

void CTileWin::SetCollection(const CUniverseCollection* collection, QSize tileSize) {
    collection_ = collection;
    if (!tileSize.isEmpty()) tile_ = tileSize;  // an empty size keeps the tiles as they are
    firstRow_ = 0;
    selected_ = ItemCount() > 0 ? 1 : 0;
    Layout();
    updateGeometry();
}

void CTileWin::SetFixedColumns(int columns) {
    fixedColumns_ = std::max(0, columns);
    setVerticalScrollBarPolicy(fixedColumns_ > 0 ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOn);
    Layout();
    updateGeometry();
}

void CTileWin::Refresh() {
    const int count = ItemCount();
    selected_ = count == 0 ? 0 : std::clamp(selected_, 1, count);
    Layout();
}

int CTileWin::ItemCount() const { return collection_ ? collection_->UniverseCount() : 0; }

int CTileWin::TotalRows() const { return (ItemCount() + columns_ - 1) / columns_; }

void CTileWin::Layout() {
    const int t = looks_.gridThickness;
    const QSize area = viewport()->size();
    columns_ = fixedColumns_ > 0 ? fixedColumns_ : std::max(1, (area.width() - t) / PitchX());
    rows_ = std::max(1, (area.height() - t) / PitchY());
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, std::max(0, TotalRows() - rows_));
    bar->setPageStep(rows_);
    bar->setSingleStep(1);
    firstRow_ = std::clamp(firstRow_, 0, bar->maximum());
    if (bar->value() != firstRow_) bar->setValue(firstRow_);
    viewport()->update();
}

QSize CTileWin::sizeHint() const {
    const int t = looks_.gridThickness;
    const int frame = 2 * frameWidth();
    const int columns = fixedColumns_ > 0 ? fixedColumns_ : 4;
    const int rows = fixedColumns_ > 0 ? std::max(1, (ItemCount() + columns - 1) / columns) : 3;
    return {columns * PitchX() + t + frame + verticalScrollBar()->sizeHint().width(),
            rows * PitchY() + t + frame};
}

void CTileWin::SetSelected(int item) {
    const int count = ItemCount();
    item = count == 0 ? 0 : std::clamp(item, 1, count);
    EnsureVisible(item);
    if (item == selected_) return;
    selected_ = item;
    viewport()->update();
    emit selectionChanged(item);
}

void CTileWin::EnsureVisible(int item) {
    if (item < 1) return;
    const int row = (item - 1) / columns_;
    if (row < firstRow_)
        verticalScrollBar()->setValue(row);
    else if (row >= firstRow_ + rows_)
        verticalScrollBar()->setValue(row - rows_ + 1);
}

QRect CTileWin::TileRect(int item) const {
    const int t = looks_.gridThickness;
    const int index = item - 1 - firstRow_ * columns_;
    return {t + (index % columns_) * PitchX(), t + (index / columns_) * PitchY(), tile_.width(),
            tile_.height() + TileTitleHeight()};
}

int CTileWin::ItemAt(QPoint point) const {
    const int t = looks_.gridThickness;
    if (point.x() < t || point.y() < t) return 0;
    const int column = (point.x() - t) / PitchX(), row = (point.y() - t) / PitchY();
    if (column >= columns_ || row >= rows_) return 0;
    const int item = (firstRow_ + row) * columns_ + column + 1;
    return item <= ItemCount() && TileRect(item).contains(point) ? item : 0;
}

// ---- Painting

void CTileWin::RenderTiles(QImage& image) {
    image.fill(palette().window().color());
    const int count = ItemCount();
    const int t = looks_.gridThickness;
    const int used = std::min(rows_, std::max(0, TotalRows() - firstRow_));
    QPainter painter(&image);  // in the window's units, whatever the image's ratio
    painter.setFont(TileTitleFont());
    if (used > 0) {
        // The grid: every line between and around the tiles shown.
        const int shownColumns = std::min(columns_, count);
        painter.fillRect(0, 0, shownColumns * PitchX() + t, used * PitchY() + t, QColor(looks_.grid));
    }
    const int first = FirstVisible();
    const int last = std::min(count, first + used * columns_ - 1);
    for (int item = first; item <= last; ++item) PaintTile(image, painter, item, TileRect(item));
    if (selected_ >= first && selected_ <= last) {
        const QRect r = TileRect(selected_).adjusted(-t, -t, t, t);
        const QColor frame(looks_.gridHighlight);
        painter.fillRect(r.left(), r.top(), r.width(), t, frame);
        painter.fillRect(r.left(), r.bottom() - t + 1, r.width(), t, frame);
        painter.fillRect(r.left(), r.top(), t, r.height(), frame);
        painter.fillRect(r.right() - t + 1, r.top(), t, r.height(), frame);
    }
}

void CTileWin::PaintTile(QImage& image, QPainter& painter, int item, QRect rect) {
    CUniverse* universe = collection_->UniverseAt(item);
    const QRect cells(rect.topLeft(), tile_);
    painter.fillRect(cells, QColor(looks_.cells.background));
    if (universe && universe->Population() > 0) PaintPattern(image, painter, *universe, cells);
    const bool selected = item == selected_;
    const QRect title(rect.left(), cells.bottom() + 1, rect.width(), TileTitleHeight());
    painter.fillRect(title, QColor(selected ? looks_.titleHighlight : looks_.title));
    painter.setPen(QColor(selected ? looks_.textHighlight : looks_.text));
    const QString text = QString::fromStdString(collection_->NameAt(item));
    painter.drawText(title, Qt::AlignCenter,
                     painter.fontMetrics().elidedText(text, Qt::ElideRight, title.width()));
}

void CTileWin::PaintPattern(QImage& image, QPainter& painter, CUniverse& universe, QRect cells) {
    // The pattern is fitted into the tile less a margin, so that no cell touches the lines between tiles,
    // and drawn centred in the pixels its cells cover.
    const qreal ratio = image.devicePixelRatio();
    const int margin = cells.width() > 4 * kTileMargin && cells.height() > 4 * kTileMargin ? kTileMargin : 0;
    const QRect area = DevicePixels(cells.adjusted(margin, margin, -margin, -margin), ratio);
    const CLRect bounds = universe.GetBounds();
    CViewGeometry geometry({kTileMinScale, std::max(1, int(std::lround(kTileMaxScale * ratio))), 1});
    geometry.Resize(area.width(), area.height());
    geometry.Fit(bounds, true);
    const int scale = geometry.Scale();
    const auto extent = [scale](int64_t across, int available) {
        const int64_t pixels = scale > 0 ? across * scale : (across - scale - 1) / -scale;
        return int(std::clamp<int64_t>(pixels, 1, available));
    };
    const int width = extent(int64_t{bounds.right} - bounds.left, area.width());
    const int height = extent(int64_t{bounds.bottom} - bounds.top, area.height());
    const QRect drawn(area.left() + (area.width() - width) / 2, area.top() + (area.height() - height) / 2,
                      width, height);
    geometry.Resize(width, height);  // about the pattern's centre, which the fit chose
    const CRenderLayer layer{&universe, looks_.cells.alive, {}, UniverseLimits};
    if (QRect(QPoint(0, 0), image.size()).contains(drawn)) {
        // Painted in place: an image over the window image's own pixels.
        QImage tile(image.scanLine(drawn.top()) + drawn.left() * 4, drawn.width(), drawn.height(),
                    image.bytesPerLine(), QImage::Format_RGB32);
        renderer_.Render(tile, geometry, false, looks_.cells.background, looks_.cells.grid, {&layer, 1});
    } else {
        QImage tile(drawn.size(), QImage::Format_RGB32);
        renderer_.Render(tile, geometry, false, looks_.cells.background, looks_.cells.grid, {&layer, 1});
        tile.setDevicePixelRatio(ratio);
        painter.drawImage(QPointF(drawn.topLeft()) / ratio, tile);
    }
}

void CTileWin::paintEvent(QPaintEvent*) {
    emit aboutToPaint();
    const qreal ratio = devicePixelRatioF();
    const QSize size(int(std::ceil(viewport()->width() * ratio)),
                     int(std::ceil(viewport()->height() * ratio)));
    if (image_.size() != size) image_ = QImage(size, QImage::Format_RGB32);
    image_.setDevicePixelRatio(ratio);
    RenderTiles(image_);
    QPainter(viewport()).drawImage(0, 0, image_);
}

void CTileWin::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    Layout();
    EnsureVisible(selected_);
}

void CTileWin::scrollContentsBy(int, int) {
    firstRow_ = verticalScrollBar()->value();
    viewport()->update();
}

// ---- Mouse and keys

void CTileWin::mousePressEvent(QMouseEvent* event) {
    const int item = ItemAt(event->position().toPoint());
    pressedItem_ = event->button() == Qt::LeftButton ? item : 0;
    pressedAt_ = event->position().toPoint();
    if (item == 0) return;
    SetSelected(item);
    if (event->button() == Qt::RightButton)
        emit contextMenuRequested(item, event->globalPosition().toPoint());
}

void CTileWin::mouseMoveEvent(QMouseEvent* event) {
    if (pressedItem_ == 0 || !(event->buttons() & Qt::LeftButton)) return;
    if ((event->position().toPoint() - pressedAt_).manhattanLength() < QApplication::startDragDistance())
        return;
    const int item = pressedItem_;
    pressedItem_ = 0;
    StartDrag(item, pressedAt_);
}

void CTileWin::StartDrag(int item, QPoint at) {
    QMimeData* data = DragData(item);
    if (!data) return;
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    // The tile itself goes with the mouse, held where it was pressed.
    const QRect tile(TileRect(item).topLeft(), tile_);
    drag->setPixmap(viewport()->grab(tile));
    drag->setHotSpot(at - tile.topLeft());
    drag->exec(Qt::CopyAction);
}

void CTileWin::mouseDoubleClickEvent(QMouseEvent* event) {
    const int item = ItemAt(event->position().toPoint());
    if (item != 0 && event->button() == Qt::LeftButton) emit activated(item);
}

void CTileWin::keyPressEvent(QKeyEvent* event) {
    const int count = ItemCount();
    if (count == 0) return QAbstractScrollArea::keyPressEvent(event);
    const int current = std::max(selected_, 1);
    const int page = columns_ * rows_;
    int target = current;
    switch (event->key()) {
        case Qt::Key_Left:
            target = current - 1;
            break;
        case Qt::Key_Right:
            target = current + 1;
            break;
        case Qt::Key_Up:
            target = current - columns_;
            break;
        case Qt::Key_Down:
            target = current + columns_;
            break;
        case Qt::Key_PageUp:
            target = current - page;
            break;
        case Qt::Key_PageDown:
            target = current + page;
            break;
        case Qt::Key_Home:
            target = 1;
            break;
        case Qt::Key_End:
            target = count;
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (selected_ > 0) emit activated(selected_);
            return;
        default:
            return QAbstractScrollArea::keyPressEvent(event);
    }
    // A move up or down past the first or last row stops at the first or last item.
    SetSelected(std::clamp(target, 1, count));
}

}  // namespace tessera::ui
