#pragma once
// Objects of a universe: maximal groups of live cells that touch each other orthogonally or diagonally.
#include <functional>

namespace tessera {

class CUniverse;

// Clears in universe every cell that is live in object.
void RemoveCells(CUniverse& universe, CUniverse& object);

// Calls action once for each object of universe, in the first-cell order of a hashed working copy.
// The object lives only for the call; universe itself is left as it is.
void SplitIntoObjects(CUniverse& universe, const std::function<void(CUniverse& object)>& action);

}  // namespace tessera
