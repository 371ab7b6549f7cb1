// Fuzz target: the XLife-family reader (XLife directives and blocks with insertions, pictures,
// coordinate lists, RLE, Life 1.05 and 1.06). Any input reads into universes and an error report, or
// ends with the program's own error and its line. Every universe read survives being written as RLE
// and as pictures and read again: the same cells (RLE carries no position, so up to a shift) and rule.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/growable_universe.h"
#include "formats/xl_import.h"
#include "formats/xl_writer.h"
#include "foundation/errors.h"
#include "fuzz/fuzz_support.h"
#include "text/lex.h"

namespace {

using namespace tessera;

std::vector<CLPoint> CellsOf(CUniverse& universe, CLPoint shift = {0, 0}) {
    std::vector<CLPoint> cells;
    ExplorePtr e = universe.ExploreSorted();
    while (e->Next()) cells.push_back({e->Current().x - shift.x, e->Current().y - shift.y});
    return cells;
}

// Writing and reading again in one form gives the same rule and cells.
template <class Writer>
void CheckRoundTrip(CUniverse& original, Writer write, bool keepsPosition) {
    std::ostringstream text;
    write(original, text);
    CLex lex(text.str());
    std::unique_ptr<CXLUniverseCollection> copy = ReadXLife(lex, "copy", "copy.lif");
    if (copy->UniverseCount() != 1 || copy->ErrorCount() != 0) std::abort();
    CUniverse& reread = *copy->UniverseAt(1);
    if (reread.GetRuleCode() != original.GetRuleCode()) std::abort();
    const CLRect a = original.GetBounds(), b = reread.GetBounds();
    const CLPoint shiftA = keepsPosition ? CLPoint{0, 0} : CLPoint{a.left, a.top};
    const CLPoint shiftB = keepsPosition ? CLPoint{0, 0} : CLPoint{b.left, b.top};
    if (CellsOf(original, shiftA) != CellsOf(reread, shiftB)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    tessera::fuzz::UseScratchConfiguration();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::unique_ptr<CXLUniverseCollection> collection;
    try {
        CLex lex(text);
        collection = ReadXLife(lex, "fuzz", "fuzz.lif");
    } catch (const CSyntaxException&) {
        return 0;
    } catch (const CErrorException&) {
        return 0;  // an input beyond what a universe can hold, reported with its line
    }
    (void)collection->ErrorReportCaption();
    (void)collection->ErrorReportText();

    for (int index = 1; index <= collection->UniverseCount(); ++index) {
        CUniverse& universe = *collection->UniverseAt(index);
        if (universe.Population() == 0) std::abort();  // empty universes are never offered
        // A rule without survival or birth digits prints as notation that reads as no rule.
        if ((universe.GetRuleCode() & 0x3FFFF) == 0) continue;
        // Keep each input quick: pictures cost their bounding box, RLE its rows and runs.
        const CLRect box = universe.GetBounds();
        const int64_t width = int64_t(box.right) - box.left, height = int64_t(box.bottom) - box.top;
        if (universe.Population() > 20000 || height > 100000) continue;
        CheckRoundTrip(
            universe, [](CUniverse& u, std::ostream& out) { WriteXLifeRle(u, out); }, false);
        if (width * height <= 200000)
            CheckRoundTrip(
                universe, [](CUniverse& u, std::ostream& out) { WriteXLifePictures(u, out); }, true);
    }
    return 0;
}
