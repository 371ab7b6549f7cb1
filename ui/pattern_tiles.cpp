#include "ui/pattern_tiles.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "config/parameters.h"
#include "engine/universe.h"
#include "formats/file_dialogs.h"
#include "ui/view_geometry.h"

namespace tessera::ui {
namespace {

// A tile shows its whole pattern: up to eight pixels a cell, and as many cells to a pixel as it takes.
constexpr CScaleLimits kTileScales{-(1 << 30), 8, 1};

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
    QPainter painter(&image);
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
    CViewGeometry geometry(kTileScales);
    geometry.Resize(cells.width(), cells.height());
    if (universe && universe->Population() > 0) geometry.Fit(universe->GetBounds(), true);
    const CRenderLayer layer{universe, looks_.cells.alive, {}, UniverseLimits};
    const std::span<const CRenderLayer> layers(&layer, universe ? 1 : 0);
    if (image.rect().contains(cells)) {
        // The tile is painted in place: an image over the window image's own pixels.
        QImage tile(image.scanLine(cells.top()) + cells.left() * 4, cells.width(), cells.height(),
                    image.bytesPerLine(), QImage::Format_RGB32);
        renderer_.Render(tile, geometry, false, looks_.cells.background, looks_.cells.grid, layers);
    } else {
        QImage tile(cells.size(), QImage::Format_RGB32);
        renderer_.Render(tile, geometry, false, looks_.cells.background, looks_.cells.grid, layers);
        painter.drawImage(cells.topLeft(), tile);
    }
    const bool selected = item == selected_;
    const QRect title(rect.left(), cells.bottom() + 1, rect.width(), TileTitleHeight());
    painter.fillRect(title, QColor(selected ? looks_.titleHighlight : looks_.title));
    painter.setPen(QColor(selected ? looks_.textHighlight : looks_.text));
    const QString text = QString::fromStdString(collection_->NameAt(item));
    painter.drawText(title, Qt::AlignCenter,
                     painter.fontMetrics().elidedText(text, Qt::ElideRight, title.width()));
}

void CTileWin::paintEvent(QPaintEvent*) {
    emit aboutToPaint();
    const QSize size = viewport()->size();
    if (image_.size() != size) image_ = QImage(size, QImage::Format_RGB32);
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
    if (item == 0) return;
    SetSelected(item);
    if (event->button() == Qt::RightButton)
        emit contextMenuRequested(item, event->globalPosition().toPoint());
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
