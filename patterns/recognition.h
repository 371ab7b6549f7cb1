#pragma once
// Recognition: which library pattern is an object found in a world, in which phase, orientation and
// position. Indexing enters every phase and distinct orientation of a recognisable pattern into the
// component index; matching looks an object's shape up there and verifies each candidate placement
// against the world: all the pattern's cells present and its surroundings over the whole cycle empty.
#include "patterns/pattern_ref.h"

namespace tessera {

class CUniverse;

// Enters pattern (just made recognisable) into the index, unless it duplicates an indexed pattern, in
// which case it is linked to that one; builds its envelope.
void AddPatternToIndex(CPattern& pattern);
// Takes pattern out of the index; the earliest created of its duplicates takes its place.
void RemovePatternFromRecognition(CPattern& pattern);

// The placement of the library pattern that object (one object cut from world) is part of.
[[nodiscard]] bool Recognise(CUniverse& object, CUniverse& world, CPatternRef& placement);
// Whether the placed pattern stands alone in world: same rule, every cell alive, its halo dead.
[[nodiscard]] bool VerifyPlacement(const CPatternRef& placement, CUniverse& world);

// Installs the index as the one patterns report to when they become recognisable or stop being so.
void InstallRecognition();
// Forgets every indexed shape and envelope and uninstalls the index (for tests and at exit).
void ResetRecognition();

// While one of these lives a library is being read, loaded or unloaded, and no discriminator tree is
// built: recognition then tries the references one by one.
class CLibraryActivity {
public:
    CLibraryActivity();
    ~CLibraryActivity();
    CLibraryActivity(const CLibraryActivity&) = delete;
    CLibraryActivity& operator=(const CLibraryActivity&) = delete;
    static bool Busy();
};

}  // namespace tessera
