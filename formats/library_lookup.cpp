#include "formats/library_lookup.h"

namespace tessera {
namespace {

CLibraryPatternLookup*& Installed() {
    static CLibraryPatternLookup* lookup = nullptr;
    return lookup;
}

}  // namespace

CLibraryPatternLookup* LibraryPatternLookup() { return Installed(); }

void InstallLibraryPatternLookup(CLibraryPatternLookup* lookup) { Installed() = lookup; }

}  // namespace tessera
