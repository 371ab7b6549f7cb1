#pragma once
// How the XLife reader finds the library patterns that "#I LIBRARY:pattern" lines insert. The pattern
// libraries live above the file formats, so they install their lookup here; without one, no library
// counts as loaded.
#include <memory>
#include <string_view>

namespace tessera {

class CGrowableUniverse;

enum class ELibraryLookup { Found, LibraryNotLoaded, PatternNotFound };

class CLibraryPatternLookup {
public:
    virtual ~CLibraryPatternLookup() = default;
    // On Found, cells holds a copy of the pattern's cells.
    virtual ELibraryLookup Find(std::string_view library, std::string_view pattern,
                                std::unique_ptr<CGrowableUniverse>& cells) = 0;
};

// The installed lookup, or none; it is not owned.
CLibraryPatternLookup* LibraryPatternLookup();
void InstallLibraryPatternLookup(CLibraryPatternLookup* lookup);

}  // namespace tessera
