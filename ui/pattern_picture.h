#pragma once
// The picture of a copied pattern for document editors: an SVG drawing of its live cells in
// "ClipboardAliveColor", cell by cell as the grid style (style 0) or the map style draws them.
#include <QByteArray>

namespace tessera {
class CUniverse;
}

namespace tessera::ui {

// The pattern's bounding rectangle at scale k: k >= 1 draws each live cell as a k x k square less the
// style's gap at its right and bottom, k <= -1 one pixel for each |k| x |k| square holding a live cell.
// An empty pattern gives an empty drawing.
QByteArray PatternPicture(CUniverse& pattern, int scale, int style);

}  // namespace tessera::ui
