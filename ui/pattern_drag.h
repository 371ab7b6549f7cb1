#pragma once
// Patterns carried by drag and drop. A tile of the pattern windows gives a drag a reference to its library
// pattern (or to one phase and orientation of it) and the pattern's RLE text for other programs. The game
// window takes drops: a pattern floats under the mouse while the drag crosses the window, and where it is
// dropped it stays floating, to be put down as a pasted object is. Text that reads as one pattern in an
// XLife-family form floats the same way; a dropped pattern file opens as a new game.
#include <memory>

#include "foundation/geometry.h"

class QMimeData;

namespace tessera {
class CGrowableUniverse;
class CNamedPattern;
class CUniverse;
}  // namespace tessera

namespace tessera::ui {

class CMainWindow;
class CUniverseWindow;

inline constexpr char kPatternMimeType[] = "application/x-tessera-pattern";

// The data of a drag of a library pattern: transformItem 0 for the pattern as its library holds it,
// otherwise that item of the pattern's phases and orientations. Owned by the caller.
QMimeData* PatternDragData(const CNamedPattern& entry, int transformItem = 0);

// The pattern a drag carries: the loaded pattern it names, or the one pattern its text holds. None when it
// names no loaded pattern and its text holds no pattern or several.
std::unique_ptr<CGrowableUniverse> DraggedPattern(const QMimeData& data);

// The offset that puts the centre of a pattern's bounding box on a cell, as far as the plane's edges
// allow the whole box.
CLSize OffsetCentredOn(const CLRect& box, CLPoint cell);

// Makes the main window's game window take dropped patterns, text and pattern files.
void AcceptPatternDrops(CMainWindow& main);

}  // namespace tessera::ui
