// Single-cell edits, the pending overlay and its consolidation, checked against a plain cell set.
#include <gtest/gtest.h>

#include <functional>

#include "foundation/messages.h"
#include "support/cells.h"
#include "foundation/errors.h"
#include "foundation/messages.h"
#include "support/reference_life.h"

namespace tessera::test {
namespace {

int MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const CErrorException& e) {
        return e.MessageId();
    }
    return 0;
}

TEST(UniverseEdits, NewUniverseIsEmpty) {
    CGrowableUniverse u;
    EXPECT_EQ(u.GetBounds(), EmptyRect);
    EXPECT_EQ(u.Population(), 0u);
    EXPECT_EQ(u.RowHeapBlockCount(), 0u);
    EXPECT_FALSE(u.IsAlive(0, 0));
    EXPECT_FALSE(u.IsAlive(-5, 12));
    EXPECT_EQ(u.CheckGrowable(), 1018);
    EXPECT_EQ(u.FirstCell(), kExploreEndPoint);
}

TEST(UniverseEdits, SetTwiceCountsOnceAndSetClearLeavesNothing) {
    CGrowableUniverse u;
    EXPECT_TRUE(u.SetCell(3, 4));
    EXPECT_FALSE(u.SetCell(3, 4));
    EXPECT_EQ(u.Population(), 1u);
    EXPECT_TRUE(u.SetCell(8, 4));
    EXPECT_TRUE(u.ClearCell(8, 4));
    EXPECT_EQ(u.PendingEditCount(), 1u) << "set then clear of a cell the rows lack leaves no node";
    EXPECT_EQ(u.Population(), 1u);
    EXPECT_FALSE(u.ClearCell(8, 4));
    // The same on cells the rows hold.
    u.Consolidate();
    EXPECT_EQ(u.PendingEditCount(), 0u);
    EXPECT_TRUE(u.ClearCell(3, 4));
    EXPECT_FALSE(u.ClearCell(3, 4));
    EXPECT_FALSE(u.IsAlive(3, 4));
    EXPECT_TRUE(u.SetCell(3, 4));
    EXPECT_EQ(u.PendingEditCount(), 0u) << "clear then set of a row cell cancels out";
    EXPECT_TRUE(u.IsAlive(3, 4));
    EXPECT_EQ(u.Population(), 1u);
}

TEST(UniverseEdits, RandomEditsAgreeWithAPlainSet) {
    std::mt19937 rng(11);
    std::uniform_int_distribution<int32_t> coordinate(-40, 40);
    CGrowableUniverse u;
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
        if (step % 997 == 0) {
            ASSERT_EQ(u.GetBounds(), BoundsOf(model));
            ASSERT_EQ(CellsOf(u), model);
        }
    }
    EXPECT_EQ(CellsOf(u), model);
}

TEST(UniverseEdits, ClearingAnEdgeCellMakesBoundsExactAgain) {
    auto u = MakeUniverse({{0, 0}, {5, 2}, {9, 9}, {3, 4}});
    u->Consolidate();
    EXPECT_EQ(u->GetBounds(), (CLRect{0, 10, 0, 10}));
    u->ClearCell(3, 4);  // interior: bounds kept
    EXPECT_EQ(u->GetBounds(), (CLRect{0, 10, 0, 10}));
    u->ClearCell(9, 9);
    EXPECT_EQ(u->GetBounds(), (CLRect{0, 6, 0, 3}));
    // Stale bounds are not extended by a later set: they are recomputed exactly.
    u->ClearCell(0, 0);
    u->SetCell(1, 1);
    EXPECT_EQ(u->GetBounds(), (CLRect{1, 6, 1, 3}));
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

TEST(UniverseEdits, ConsolidationKeepsCellsOverManyRounds) {
    std::mt19937 rng(5);
    std::uniform_int_distribution<int32_t> coordinate(-300, 300);
    CGrowableUniverse u;
    Cells model;
    for (int step = 0; step < 90000; ++step) {
        const CLPoint p{coordinate(rng), coordinate(rng) / 8};
        if (rng() % 3) {
            u.SetCell(p.x, p.y);
            model.insert(p);
        } else {
            u.ClearCell(p.x, p.y);
            model.erase(p);
        }
    }
    EXPECT_EQ(CellsOf(u), model);
    EXPECT_EQ(u.Population(), model.size());
}

TEST(UniverseEdits, CellsBeyondTheUniverseAreRefused) {
    CGrowableUniverse u;
    EXPECT_EQ(MessageOf([&] { u.SetCell(2147483646, 0); }), msg::CellOutsideUniverse);
    EXPECT_EQ(MessageOf([&] { u.SetCell(0, 2147483647); }), msg::CellOutsideUniverse);
    EXPECT_EQ(MessageOf([&] { u.SetCell(-2147483647 - 1, 0); }), msg::CellOutsideUniverse);
    EXPECT_EQ(u.Population(), 0u);
    EXPECT_FALSE(u.ClearCell(2147483647, 0));
    EXPECT_TRUE(u.SetCell(2147483645, -2147483647));
    EXPECT_EQ(u.GetBounds(), (CLRect{2147483645, 2147483646, -2147483647, -2147483646}));
}

TEST(UniverseEdits, RowLongerThanABlockIsRefusedAndLosesNothing) {
    ASSERT_EQ(kMaxRowCells, 99996u) << "a row holds as many cells as 100000 words of 32-bit rows";
    CGrowableUniverse u;
    for (uint32_t x = 0; x < kMaxRowCells; ++x) u.SetCell(static_cast<int32_t>(x), 0);
    u.SetCell(5, 1);
    ASSERT_EQ(u.Population(), kMaxRowCells + 1);
    const uint32_t population = u.Population();
    EXPECT_EQ(MessageOf([&] { u.SetCell(-1, 0); }), msg::RowTooLong);
    EXPECT_EQ(u.Population(), population);
    EXPECT_FALSE(u.IsAlive(-1, 0));
    // A paste that would lengthen the row is taken back whole.
    auto patch = MakeUniverse({{7, -3}, {3, 0}, {-2, 0}, {9, 9}});
    EXPECT_EQ(MessageOf([&] { PasteFrom(u, *patch); }), msg::RowTooLong);
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

TEST(UniverseCheckGrowable, RowLimitAtItsEdge) {
    CGrowableUniverse u;
    for (int32_t x = 0; x < 30000; ++x) u.SetCell(2 * x, 0);
    EXPECT_EQ(u.CheckGrowable(), 0);
    u.SetCell(-2, 0);
    EXPECT_EQ(u.CheckGrowable(), 1016);
}

TEST(UniverseCheckGrowable, CoordinateLimitsAtTheirEdges) {
    struct Case {
        int32_t x, y;
        int expected;
    } cases[] = {
        {2147483643, 0, 0}, {2147483644, 0, 1016}, {-2147483646, 0, 0}, {-2147483647, 0, 1016},
        {0, 2147483643, 0}, {0, 2147483644, 1016}, {0, -2147483646, 0}, {0, -2147483647, 1016},
    };
    for (const Case& c : cases) {
        const Cells cells{{c.x, c.y}, {c.x + (c.x > 0 ? -1 : 1), c.y}};
        auto u = MakeUniverse(cells);
        EXPECT_EQ(u->CheckGrowable(), c.expected) << c.x << "," << c.y;
        if (c.expected == 0) {
            // Growth at the edge works: born on 1 reaches one cell beyond.
            const RuleCode bornOnOne = (1u << 10) | kNeighbourhoodMask;
            u->SetRuleCode(bornOnOne);
            auto grown = u->Grow(nullptr);
            EXPECT_EQ(CellsOf(*grown), ReferenceStep(cells, bornOnOne));
        }
    }
}

TEST(UniverseCheckGrowable, AgeLimit) {
    auto u = MakeUniverse(Glider());
    u->SetGeneration(2147483646);
    EXPECT_EQ(u->CheckGrowable(), 0);
    u->SetGeneration(2147483647);
    EXPECT_EQ(u->CheckGrowable(), 1017);
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

TEST(UniverseLifecycle, DiscardedUniversesCanBeReset) {
    auto* u = new CGrowableUniverse();
    u->Acquire();
    u->Discard();
    EXPECT_EQ(DiscardedUniverses().Count(), 1);
    DestroyDiscardedUniverses();
    EXPECT_TRUE(DiscardedUniverses().IsEmpty());
}

TEST(UniverseCopies, ConstructorsCarryGenerationRuleAndFlag) {
    auto u = MakeUniverse(Glider(), 0x07BC900C);
    u->SetGeneration(12);
    u->SetModified(false);
    EXPECT_TRUE(u->IsModified()) << "SetModified sets the flag whatever the argument";
    CGrowableUniverse copy(*u);
    EXPECT_EQ(copy.Generation(), 12);
    EXPECT_EQ(copy.GetRuleCode(), 0x07BC900Cu);
    EXPECT_TRUE(copy.IsModified());
    EXPECT_EQ(CellsOf(copy), Glider());
    CGrowableUniverse at(40, u.get());
    EXPECT_EQ(at.Generation(), 40);
    EXPECT_EQ(at.GetRuleCode(), 0x07BC900Cu);
    EXPECT_FALSE(at.IsModified());
    EXPECT_EQ(CellsOf(at), Glider());
    CGrowableUniverse none(7, nullptr);
    EXPECT_EQ(none.Population(), 0u);
    auto clone = u->Clone();
    EXPECT_TRUE(IsSameUniverse(*clone, *u));
    auto sibling = u->NewSibling(99);
    EXPECT_EQ(sibling->Generation(), 99);
    EXPECT_EQ(sibling->GetRuleCode(), 0x07BC900Cu);
    EXPECT_EQ(sibling->Population(), 0u);
}

}  // namespace
}  // namespace tessera::test

namespace tessera::test {
namespace {

TEST(EngineMessages, RefusalsHaveTexts) {
    for (int id : {msg::RowTooLong, msg::TooManyExplorations, msg::CellOutsideUniverse}) {
        EXPECT_FALSE(MessageText(id).empty()) << id;
    }
}

}  // namespace
}  // namespace tessera::test

namespace tessera::test {
namespace {

TEST(UniverseEdits, StaleBoundsWithNothingPendingComeFromTheRows) {
    auto u = MakeUniverse({{0, 0}, {4, 4}});
    u->Consolidate();
    const uint32_t blocks = u->RowHeapBlockCount();
    EXPECT_TRUE(u->ClearCell(4, 4));
    EXPECT_TRUE(u->SetCell(4, 4));  // cancels the pending edit, the bounds stay stale
    EXPECT_EQ(u->PendingEditCount(), 0u);
    EXPECT_EQ(u->GetBounds(), (CLRect{0, 5, 0, 5}));
    EXPECT_EQ(u->RowHeapBlockCount(), blocks);
    EXPECT_EQ(CellsOf(*u), (Cells{{0, 0}, {4, 4}}));
}

}  // namespace
}  // namespace tessera::test
