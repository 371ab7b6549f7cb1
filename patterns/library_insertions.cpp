#include "patterns/library_insertions.h"

#include "formats/library_lookup.h"
#include "patterns/named_pattern.h"
#include "patterns/pattern_library.h"

namespace tessera {
namespace {

class CLoadedLibraryLookup : public CLibraryPatternLookup {
public:
    ELibraryLookup Find(std::string_view libraryName, std::string_view patternName,
                        std::unique_ptr<CGrowableUniverse>& cells) override {
        CPatternLibrary* library = FindLibraryByTitle(libraryName);
        if (!library) return ELibraryLookup::LibraryNotLoaded;
        CNamedPattern* entry = FindNamedPattern(patternName, library);
        if (!entry) return ELibraryLookup::PatternNotFound;
        cells = std::make_unique<CGrowableUniverse>(static_cast<CUniverse&>(entry->Pattern().Base()));
        return ELibraryLookup::Found;
    }
};

}  // namespace

void InstallLibraryInsertions() {
    static CLoadedLibraryLookup lookup;
    InstallLibraryPatternLookup(&lookup);
}

}  // namespace tessera
