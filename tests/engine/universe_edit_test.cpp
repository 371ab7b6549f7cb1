// Single-cell edits, the pending overlay and its consolidation, checked against a plain cell set.
#include <gtest/gtest.h>

#include "engine/searchable_universe.h"
#include "foundation/messages.h"
#include "support/cells.h"
#include "support/error_of.h"

namespace tessera::test {
namespace {

void ExpectRandomEditsAgree(CUniverse& u) {
    std::mt19937 rng(11);
    std::uniform_int_distribution<int32_t> coordinate(-40, 40);
    Cells model;
    for (int step = 0; step < 30000; ++step) {
        const CLPoint p{coordinate(rng), coordinate(rng)};
        const int action = static_cast<int>(rng() % 10);
        if (action < 5) {
            EXPECT_EQ(u.SetCell(p.x, p.y), model.insert(p).second);
        } else if (action < 9) {
            EXPECT_EQ(u.ClearCell(p.x, p.y), model.erase(p) == 1);
        } else {
            EXPECT_EQ(u.IsAlive(p.x, p.y), model.count(p) == 1);
        }
        ASSERT_EQ(u.Population(), model.size());
        if (step % 997 < 2) {  // two steps in a row: the sums before and after a single edit
            ASSERT_EQ(u.GetBounds(), BoundsOf(model));
            ASSERT_EQ(CellsOf(u), model);
            ASSERT_EQ(u.GetSignature(), MakeUniverse(model)->GetSignature()) << "edits forget the old sum";
        }
    }
    EXPECT_EQ(CellsOf(u), model);
}

// Both kinds of universe: rows with pending edits, and the hashed one with a small size hint so that its
// chains just grow.
TEST(UniverseEdits, RandomEditsAgreeWithAPlainSet) {
    CGrowableUniverse growable;
    CSearchableUniverse searchable(4);
    for (CUniverse* universe : {static_cast<CUniverse*>(&growable), static_cast<CUniverse*>(&searchable)}) {
        SCOPED_TRACE(universe->IsGrowable() ? "growable" : "searchable");
        ExpectRandomEditsAgree(*universe);
    }
}

TEST(UniverseEdits, TwentyThousandPendingEditsConsolidateBeforeTheNext) {
    CGrowableUniverse u;
    Cells model;
    for (int i = 0; i < 20000; ++i) {
        const CLPoint p{(i * 7919) % 401 - 200, i / 401};
        u.SetCell(p.x, p.y);
        model.insert(p);
    }
    EXPECT_EQ(u.PendingEditCount(), 20000u);
    EXPECT_EQ(u.RowCount(), 0u);
    u.SetCell(1000, 1000);
    model.insert({1000, 1000});
    EXPECT_EQ(u.PendingEditCount(), 1u);
    EXPECT_GT(u.RowCount(), 0u);
    EXPECT_EQ(CellsOf(u), model);
    EXPECT_EQ(u.GetBounds(), BoundsOf(model)) << "the edit that came with the consolidation keeps its bounds";
}

TEST(UniverseEdits, CellsBeyondTheUniverseAreRefusedAndLoseNothing) {
    CGrowableUniverse growable;
    CSearchableUniverse searchable;
    for (CUniverse* u : {static_cast<CUniverse*>(&growable), static_cast<CUniverse*>(&searchable)}) {
        SCOPED_TRACE(u->IsGrowable() ? "growable" : "searchable");
        u->SetCell(0, 0);
        u->SetCell(1, 1);
        for (const CLPoint p : {CLPoint{2147483646, 5}, CLPoint{0, 2147483647}, CLPoint{-2147483647 - 1, 0}})
            EXPECT_EQ(MessageIdOf([&] { u->SetCell(p.x, p.y); }), msg::CellOutsideUniverse);
        EXPECT_FALSE(u->ClearCell(2147483647, 0));
        // A paste that would carry a cell beyond takes back the cells it set.
        auto near = MakeUniverse({{2147483645, 0}, {-5, -5}});
        EXPECT_THROW(PasteFrom(*u, *near, CTransform(1, 0, 0)), CErrorException);
        EXPECT_EQ(CellsOf(*u), (Cells{{0, 0}, {1, 1}}));
        EXPECT_EQ(u->GetBounds(), (CLRect{0, 2, 0, 2}));
        EXPECT_TRUE(u->SetCell(2147483645, -2147483647));
        EXPECT_EQ(u->GetBounds(), (CLRect{0, 2147483646, -2147483647, 2}));
    }
}

TEST(UniverseEdits, RowLongerThanABlockIsRefusedAndLosesNothing) {
    ASSERT_EQ(kMaxRowCells, 99996u) << "a row holds as many cells as 100000 words of 32-bit rows";
    CGrowableUniverse u;
    for (uint32_t x = 0; x < kMaxRowCells; ++x) u.SetCell(static_cast<int32_t>(x), 0);
    u.SetCell(5, 1);
    ASSERT_EQ(u.Population(), kMaxRowCells + 1);
    const uint32_t population = u.Population();
    EXPECT_EQ(MessageIdOf([&] { u.SetCell(-1, 0); }), msg::RowTooLong);
    EXPECT_EQ(u.Population(), population);
    EXPECT_FALSE(u.IsAlive(-1, 0));
    // A paste that would lengthen the row is taken back whole.
    auto patch = MakeUniverse({{7, -3}, {3, 0}, {-2, 0}, {9, 9}});
    EXPECT_EQ(MessageIdOf([&] { PasteFrom(u, *patch); }), msg::RowTooLong);
    EXPECT_EQ(u.Population(), population);
    EXPECT_FALSE(u.IsAlive(7, -3));
    // Clearing a cell makes room again.
    EXPECT_TRUE(u.ClearCell(100, 0));
    EXPECT_TRUE(u.SetCell(-1, 0));
    u.Consolidate();
    EXPECT_EQ(u.MaxRowPopulation(), kMaxRowCells);
    EXPECT_TRUE(u.IsAlive(-1, 0));
    EXPECT_FALSE(u.IsAlive(100, 0));
    EXPECT_TRUE(u.IsAlive(5, 1));
}

TEST(UniverseLifecycle, DiscardWhileInUseWaitsForTheLastRelease) {
    DestroyDiscardedUniverses();
    CDeque<CUniverse> generations;
    auto* held = new CGrowableUniverse();
    auto* free = new CGrowableUniverse();
    generations.PushBack(held);
    generations.PushBack(free);
    held->Acquire();
    held->Acquire();
    held->Discard();
    EXPECT_EQ(generations.First(), free) << "taken out of the deque that held it";
    EXPECT_EQ(DiscardedUniverses().First(), held);
    held->Release();
    EXPECT_EQ(DiscardedUniverses().Count(), 1);
    held->Release();
    EXPECT_TRUE(DiscardedUniverses().IsEmpty());
    free->Discard();
    EXPECT_TRUE(generations.IsEmpty());
}

}  // namespace
}  // namespace tessera::test
