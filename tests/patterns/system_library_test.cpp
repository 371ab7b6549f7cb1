// The shipped system library: found by its default name, loaded without a complaint, and every pattern
// in it is what it says it is.
#include <gtest/gtest.h>

#include "engine/searchable_universe.h"
#include "engine/transform.h"
#include "library_test_support.h"
#include "patterns/named_pattern.h"
#include "patterns/pattern_library.h"
#include "patterns/recognition.h"
#include "support/cells.h"

namespace tessera::test {
namespace {

// A puffer, once settled, grows in each period while one edge of it, the front, moves on as far.
void ExpectPuffer(CPattern& puffer) {
    std::unique_ptr<CGrowableUniverse> generation = puffer.Base().Clone();
    std::vector<std::pair<uint32_t, CLRect>> periods;  // population and bounds after 4, 5 and 6 periods
    for (int32_t g = 1; g <= 6 * puffer.Period(); ++g) {
        generation = generation->Grow(nullptr);
        if (g >= 4 * puffer.Period() && g % puffer.Period() == 0)
            periods.push_back({generation->Population(), generation->GetBounds()});
    }
    ASSERT_EQ(periods.size(), 3u);
    EXPECT_TRUE(periods[0].first < periods[1].first && periods[1].first < periods[2].first);
    auto moves = [&](int32_t CLRect::*edge) {
        const int32_t step = periods[1].second.*edge - periods[0].second.*edge;
        return step != 0 && periods[2].second.*edge - periods[1].second.*edge == step;
    };
    EXPECT_TRUE(moves(&CLRect::left) || moves(&CLRect::right) || moves(&CLRect::top) ||
                moves(&CLRect::bottom));
}

CPatternLibrary* LoadShippedLibrary() {
    params::LoadUserLibrary.SetInt(0);
    LoadStartupLibraries();
    FinishLibraryLoadingNow();
    return FindLibrary(kSystemLibraryNumber);
}

TEST_F(LibraryTest, ShippedSystemLibraryIsWhatItSays) {
    CPatternLibrary* system = LoadShippedLibrary();
    EXPECT_TRUE(frontEnd_.messages.empty());
    EXPECT_TRUE(frontEnd_.reports.empty());
    ASSERT_NE(system, nullptr);
    EXPECT_TRUE(system->IsReadOnly());
    ASSERT_GE(system->Entries().size(), 35u);

    for (CNamedPattern* entry : system->Entries()) {
        SCOPED_TRACE(entry->Name());
        CPattern& stored = entry->Pattern();
        auto fresh = CreatePattern(stored.Base(), ERecognizable::No);
        const EPatternType found = fresh->Classify(params::PatternMaxCycle.GetInt());
        // Guns and puffers grow: only their declaration says what they are.
        if (stored.DeclaredType() == EPatternType::Gun || stored.DeclaredType() == EPatternType::Puffer)
            EXPECT_EQ(found, EPatternType::Unstable);
        else
            EXPECT_EQ(std::pair(found, fresh->Period()), std::pair(stored.DeclaredType(), stored.Period()));
        if (stored.DeclaredType() == EPatternType::Puffer) ExpectPuffer(stored);
    }
}

// Every recognisable pattern of the shipped library, grown to each of its phases and turned into each
// orientation, is found where it stands: the placement reported puts exactly the world's cells there.
TEST_F(LibraryTest, ShippedPatternsAreRecognisedInEveryPhaseAndOrientation) {
    InstallRecognition();
    CPatternLibrary* system = LoadShippedLibrary();
    ASSERT_NE(system, nullptr);
    int recognisable = 0;
    for (CNamedPattern* entry : system->Entries()) {
        CPattern& pattern = entry->Pattern();
        if (!pattern.IsRecognizable()) continue;
        SCOPED_TRACE(entry->Name());
        ++recognisable;
        std::unique_ptr<CGrowableUniverse> generation = pattern.Base().Clone();
        for (int32_t phase = 0; phase < std::max(pattern.Period(), 1);
             ++phase, generation = generation->Grow(nullptr)) {
            for (int orientation = 0; orientation < kOrientationCount; ++orientation) {
                auto world = std::make_unique<CGrowableUniverse>();
                world->SetRuleCode(pattern.Base().GetRuleCode());
                PasteFrom(*world, *generation, CTransform(-40 + 3 * orientation, 25 - phase, orientation));
                CSearchableUniverse hashed(*world);
                hashed.SetRuleCode(world->GetRuleCode());
                auto object = ConnectedCells(hashed, hashed.FirstCell(), UniverseLimits);
                CPatternRef placement;
                ASSERT_TRUE(Recognise(*object, hashed, placement)) << phase << " " << orientation;
                EXPECT_EQ(&pattern, placement.pattern) << phase << " " << orientation;
                CUniverse& placed = pattern.GetPatternGeneration(placement.transform, placement.phase);
                CUniverseUse use(placed);
                EXPECT_EQ(CellsOf(*world), Shifted(CellsOf(placed), placement.offsetX, placement.offsetY))
                    << phase << " " << orientation;
                // The same cells under another rule are nothing the library knows.
                hashed.SetRuleCode(world->GetRuleCode() ^ (1u << 15));
                EXPECT_FALSE(Recognise(*object, hashed, placement));
            }
        }
    }
    EXPECT_GE(recognisable, 30);
    CloseAllLibraries();
    ResetRecognition();
}

}  // namespace
}  // namespace tessera::test
