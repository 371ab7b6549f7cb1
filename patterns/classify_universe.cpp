#include "patterns/classify_universe.h"

#include <vector>

#include "engine/growable_universe.h"
#include "engine/searchable_universe.h"
#include "engine/split_objects.h"
#include "patterns/named_pattern.h"
#include "patterns/pattern.h"
#include "patterns/pattern_library.h"
#include "patterns/recognition.h"

namespace tessera {
namespace {

constexpr int kAllDone = 100;

// The object's cells leave the world for the unclassifiable bits.
void SetAside(CCensusResult& record, CUniverse& world, CUniverse& object) {
    PasteFrom(*record.unclassifiable, object);
    RemoveCells(world, object);
}

void RemovePlacedCells(CUniverse& world, const CPatternRef& placement) {
    CUniverse& phase = placement.pattern->GetPatternGeneration(placement.transform, placement.phase);
    CUniverseUse use(phase);
    ExplorePtr e = phase.ExploreAll();
    std::vector<CLPoint> cells;
    while (e->Next()) cells.push_back(e->Current());
    for (const CLPoint& p : cells) world.ClearCell(p.x + placement.offsetX, p.y + placement.offsetY);
}

}  // namespace

CCensusResult::CCensusResult() : unclassifiable(std::make_unique<CGrowableUniverse>()) {}
CCensusResult::~CCensusResult() = default;

void ClassifyUniverse(CCensusResult& record, CUniverse& universe, int32_t libraryNumber, unsigned flags,
                      const CClassifyProgress& progress) {
    CSearchableUniverse world(universe);
    world.SetRuleCode(universe.GetRuleCode());
    record.unclassifiable = std::make_unique<CGrowableUniverse>();
    record.unclassifiable->SetRuleCode(universe.GetRuleCode());
    record.objectCount = record.newCount = record.otherCount = 0;
    CPatternLibrary* library = (flags & kClassifyAddNew) ? FindLibrary(libraryNumber) : nullptr;
    std::vector<std::unique_ptr<CPattern>> setAside;  // shapes the default rule refused
    const uint64_t total = world.Population();

    while (world.Population() > 0) {
        if (progress) progress(static_cast<int>((total - world.Population()) * kAllDone / total));
        std::unique_ptr<CUniverse> object = ConnectedCells(world, world.FirstCell(), UniverseLimits);
        CPatternRef placement;
        bool found = Recognise(*object, world, placement);
        if (!found && library) {
            std::unique_ptr<CPattern> pattern = CreatePattern(*object, ERecognizable::ByDefaultRule);
            if (!pattern->IsRecognizable()) {
                setAside.push_back(std::move(pattern));
                SetAside(record, world, *object);
                continue;
            }
            const std::string name = NewPatternName(*pattern, library);
            if (NameNewPattern(pattern, name, library)) {
                library->SetModified();
                ++record.newCount;
                found = Recognise(*object, world, placement);
            }
        }
        if (!found) {
            SetAside(record, world, *object);
            continue;
        }
        CNamedPattern* named = placement.pattern->Named();
        if ((flags & kClassifyCountNamed) && named) {
            ++named->censusCount;
            ++record.found[named];
        }
        const bool ship = placement.pattern->DeclaredType() == EPatternType::Ship;
        if ((flags & kClassifyListAll) || ((flags & kClassifyListShips) && ship))
            record.objects.PushBack(new CObj(placement));
        else
            ++record.otherCount;
        RemovePlacedCells(world, placement);
        ++record.objectCount;
    }
    if (progress) progress(kAllDone);
}

}  // namespace tessera
