// Fuzz target: pattern library files in either form. Any input loads what is sound and reports the
// rest, never more. Every pattern loaded serves its first phases in every orientation, and the library
// written in the native form reads back with the same names and cells.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "engine/growable_universe.h"
#include "engine/universe.h"
#include "fuzz/fuzz_support.h"
#include "patterns/library_commands.h"
#include "patterns/library_files.h"
#include "patterns/library_loader.h"
#include "patterns/named_pattern.h"
#include "patterns/pattern_library.h"
#include "text/lex.h"

namespace {

using namespace tessera;

struct Entry {
    std::string name;
    std::vector<CLPoint> cells;
    bool operator==(const Entry&) const = default;
};

std::vector<Entry> EntriesOf(CPatternLibrary& library) {
    std::vector<Entry> entries;
    for (CNamedPattern* e : library.Entries()) {
        Entry entry{e->Name(), {}};
        ExplorePtr cells = e->Pattern().Base().ExploreSorted();
        while (cells->Next()) entry.cells.push_back(cells->Current());
        entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    tessera::fuzz::UseScratchConfiguration();
    // One pending edit held for the whole run keeps a chunk of the point-set pool, which would otherwise
    // be given back and taken again by every universe the patterns copy.
    {
        CGrowableUniverse first;  // makes the pools first, so that they outlive the holder at exit
        first.SetCell(0, 0);
    }
    static CGrowableUniverse holder;
    holder.SetCell(0, 0);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tessera::fuzz::ScratchFile file(data, size, ".lfl");
    CPatternLibrary* library = nullptr;
    try {
        if (LoadLibrary(file.Path().string(), false, false, &library) != 0 || !library) std::abort();
        FinishLibraryLoadingNow();
    } catch (const CErrorException&) {
        CloseAllLibraries();
        return 0;  // a pattern beyond what a universe can hold
    }
    for (CNamedPattern* entry : library->Entries()) {
        CPattern& pattern = entry->Pattern();
        if (!IsValidName(entry->Name()) || pattern.Symmetry() == EPatternSymmetry::Unset) std::abort();
        if (pattern.Base().Population() > 2000) continue;
        const int32_t phases = pattern.PhaseCount() < 3 ? pattern.PhaseCount() : 3;
        for (int32_t phase = 0; phase < phases; ++phase)
            for (int t = 0; t < 8; ++t) (void)pattern.GetPatternGeneration(t, phase).Population();
    }
    const std::vector<Entry> loaded = EntriesOf(*library);
    std::ostringstream native;
    WriteNativeLibrary(*library, native);
    CloseAllLibraries();

    CPatternLibrary* copy = NewLibrary("copy.lfl");
    CLex lex(native.str());
    ReadNativeLibrary(*copy, lex);
    if (copy->IsReadOnly() || EntriesOf(*copy) != loaded) std::abort();
    CloseAllLibraries();
    return 0;
}
