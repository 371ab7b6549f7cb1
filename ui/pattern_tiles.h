#pragma once
// CTileWin: the items of a universe collection as a grid of equal tiles, each item's universe drawn to
// fit its tile through the core's rendering, its title beneath it. The window keeps one item selected,
// moves the selection with the keys and the mouse, scrolls by whole rows and reports the selection,
// double clicks and right clicks to its owner. A press and a drag carry the item out of the window when
// the owner says what a dragged item carries. Tiles are drawn at the screen's own pixels.
#include <QAbstractScrollArea>
#include <QFont>
#include <QImage>
#include <QSize>
#include <functional>

class QMimeData;

#include "ui/universe_renderer.h"

namespace tessera {
class CUniverse;
class CUniverseCollection;
}  // namespace tessera

namespace tessera::ui {

// The looks of the tiles, from the parameters.
struct CTileLooks {
    QRgb grid = 0, gridHighlight = 0;
    QRgb title = 0, text = 0;
    QRgb titleHighlight = 0, textHighlight = 0;
    int gridThickness = 1;
    CRenderColours cells;

    static CTileLooks FromParameters();
};

// The small font of the tile titles and the height of a title line with its leading, the same for
// every tile window.
const QFont& TileTitleFont();
int TileTitleHeight();

class CTileWin : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit CTileWin(QWidget* parent = nullptr);

    // Shows a collection (not owned; none empties the window) in tiles of the given pattern area; the
    // selection goes back to the first item.
    void SetCollection(const CUniverseCollection* collection, QSize tileSize);
    // The collection's items were counted again: the selection and the scroll range follow.
    void Refresh();
    // A window made to fit its collection: a fixed number of columns (0 lays them out by width).
    void SetFixedColumns(int columns);

    // Items are numbered from 1; 0 is no item.
    int Selected() const { return selected_; }
    void SetSelected(int item);
    int FirstVisible() const { return firstRow_ * columns_ + 1; }
    int Columns() const { return columns_; }
    int VisibleRows() const { return rows_; }
    int ItemCount() const;
    // The item under a point of the viewport, 0 when none.
    int ItemAt(QPoint point) const;
    // The rectangle of an item's tile (with its title) in the viewport.
    QRect TileRect(int item) const;
    QSize sizeHint() const override;

    // What a drag of an item carries (the drag's new data, owned by the caller); without it, or when it
    // gives none, a press does not start a drag.
    void SetDragData(std::function<QMimeData*(int item)> make) { dragData_ = std::move(make); }
    QMimeData* DragData(int item) const { return dragData_ && item > 0 ? dragData_(item) : nullptr; }

    // Paints every visible tile into an image of the viewport's size times the image's device pixel
    // ratio: the cells are drawn at the image's own pixels, the lines and titles in the viewport's units.
    void RenderTiles(QImage& image);

signals:
    void selectionChanged(int item);
    void activated(int item);
    void contextMenuRequested(int item, QPoint globalPosition);
    // Sent before every repaint, so that an owner whose collection may have changed refreshes it first.
    void aboutToPaint();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int PitchX() const { return tile_.width() + looks_.gridThickness; }
    int PitchY() const { return tile_.height() + TileTitleHeight() + looks_.gridThickness; }
    int TotalRows() const;
    void Layout();
    void EnsureVisible(int item);
    void PaintTile(QImage& image, QPainter& painter, int item, QRect rect);
    void PaintPattern(QImage& image, QPainter& painter, CUniverse& universe, QRect cells);
    void StartDrag(int item, QPoint at);

    const CUniverseCollection* collection_ = nullptr;
    QSize tile_{80, 85};
    int fixedColumns_ = 0;
    int columns_ = 1;
    int rows_ = 1;
    int firstRow_ = 0;
    int selected_ = 0;
    CTileLooks looks_;
    CUniverseRenderer renderer_;
    QImage image_;
    std::function<QMimeData*(int)> dragData_;
    // The item a left press landed on and where, until the mouse moves far enough to drag it.
    int pressedItem_ = 0;
    QPoint pressedAt_;
};

}  // namespace tessera::ui
