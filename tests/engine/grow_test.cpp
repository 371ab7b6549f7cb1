// Growth against the naive reference stepper, over random rules and soups.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "engine/grow_listener.h"
#include "support/recording_listener.h"
#include "support/reference_life.h"

namespace tessera::test {
namespace {

void ExpectExactTotals(CGrowableUniverse& u, const Cells& cells) {
    EXPECT_EQ(u.Population(), cells.size());
    EXPECT_EQ(u.GetBounds(), BoundsOf(cells));
    std::map<int32_t, uint32_t> rowSizes;
    for (const CLPoint& p : cells) ++rowSizes[p.y];
    uint32_t largest = 0;
    for (const auto& [y, n] : rowSizes) largest = std::max(largest, n);
    EXPECT_EQ(u.RowCount(), rowSizes.size());
    EXPECT_EQ(u.MaxRowPopulation(), largest);
}

TEST(Grow, MatchesReferenceOverRandomRulesAndSoups) {
    std::mt19937 rng(20240611);
    for (int trial = 0; trial < 60; ++trial) {
        const RuleCode rule = RandomRule(rng, true);
        SCOPED_TRACE("rule " + std::to_string(rule) + " trial " + std::to_string(trial));
        Cells cells = RandomSoup(rng, -20 + trial, 7 - trial, 24, 18, 0.15 + 0.01 * (trial % 40));
        auto u = MakeUniverse(cells, rule);
        u->SetGeneration(trial);
        for (int generation = 0; generation < 12 && !cells.empty(); ++generation) {
            const Cells next = ReferenceStep(cells, rule);
            RecordingListener listener;
            auto grown = u->Grow(&listener);
            ASSERT_EQ(CellsOf(*grown), next) << "generation " << generation;
            ASSERT_EQ(listener.calls, ExpectedCalls(cells, next)) << "generation " << generation;
            EXPECT_EQ(listener.begun, u.get());
            EXPECT_EQ(listener.ended, grown.get());
            EXPECT_EQ(grown->Generation(), trial + generation + 1);
            EXPECT_EQ(grown->GetRuleCode(), rule);
            ExpectExactTotals(*grown, next);
            EXPECT_EQ(u->KnownSignature(), ReferenceSignature(cells));
            EXPECT_EQ(CellsOf(*u), cells) << "the source is unchanged";
            u = std::move(grown);
            cells = next;
        }
    }
}

TEST(Grow, ListenerOrNotGivesTheSameGenerations) {
    std::mt19937 rng(7);
    Cells cells = RandomSoup(rng, 0, 0, 64, 64, 0.3);
    auto quiet = MakeUniverse(cells);
    auto watched = MakeUniverse(cells);
    for (int generation = 0; generation < 40; ++generation) {
        RecordingListener listener;
        quiet = quiet->Grow(nullptr);
        watched = watched->Grow(&listener);
        ASSERT_TRUE(IsSameUniverse(*quiet, *watched));
    }
    EXPECT_EQ(CellsOf(*quiet), CellsOf(*watched));
}

TEST(Grow, ConwayLongRunMatchesReference) {
    std::mt19937 rng(99);
    Cells cells = RandomSoup(rng, -30, -30, 60, 60, 0.35);
    auto u = MakeUniverse(cells);
    for (int generation = 0; generation < 150; ++generation) {
        cells = ReferenceStep(cells, kConwayRuleCode);
        u = u->Grow(nullptr);
    }
    EXPECT_EQ(CellsOf(*u), cells);
    EXPECT_EQ(u->Generation(), 150);
}

TEST(Grow, SingleCellDiesAndVisitsThreeRows) {
    auto u = MakeUniverse({{5, 9}});
    RecordingListener listener;
    auto grown = u->Grow(&listener);
    EXPECT_EQ(grown->Population(), 0u);
    EXPECT_EQ(grown->Generation(), 1);
    EXPECT_EQ(grown->GetBounds(), EmptyRect);
    EXPECT_EQ(grown->RowHeapBlockCount(), 0u) << "an empty universe owns no row heap";
    const std::vector<std::string> expected{"begin",  "row 8",  "rowend", "row 9", "died 5",
                                            "rowend", "row 10", "rowend", "end"};
    EXPECT_EQ(listener.calls, expected);
}

TEST(Grow, BlinkerTurnsAndReportsItsChanges) {
    auto u = MakeUniverse({{0, 0}, {1, 0}, {2, 0}});
    RecordingListener listener;
    auto grown = u->Grow(&listener);
    EXPECT_EQ(CellsOf(*grown), (Cells{{1, -1}, {1, 0}, {1, 1}}));
    const std::vector<std::string> expected{"begin",  "row -1", "born 1", "rowend", "row 0",  "died 0",
                                            "died 2", "rowend", "row 1",  "born 1", "rowend", "end"};
    EXPECT_EQ(listener.calls, expected);
}

TEST(Grow, RowsVisitedAroundGaps) {
    RecordingListener three;
    MakeUniverse({{0, 0}, {0, 3}})->Grow(&three);
    std::vector<std::string> rows;
    for (const std::string& c : three.calls) {
        if (c.rfind("row ", 0) == 0) rows.push_back(c);
    }
    EXPECT_EQ(rows, (std::vector<std::string>{"row -1", "row 0", "row 1", "row 2", "row 3", "row 4"}));

    RecordingListener four;
    MakeUniverse({{0, 0}, {0, 4}})->Grow(&four);
    rows.clear();
    for (const std::string& c : four.calls) {
        if (c.rfind("row ", 0) == 0) rows.push_back(c);
    }
    EXPECT_EQ(rows, (std::vector<std::string>{"row -1", "row 0", "row 1", "row 3", "row 4", "row 5"}));
}

TEST(Grow, EmptyUniverseCallsNoListener) {
    CGrowableUniverse u;
    RecordingListener listener;
    auto grown = u.Grow(&listener);
    EXPECT_TRUE(listener.calls.empty());
    EXPECT_EQ(grown->Population(), 0u);
    EXPECT_EQ(grown->Generation(), 1);
    EXPECT_EQ(u.KnownSignature(), 0u);
    EXPECT_EQ(u.GetSignature(), 0u);
}

TEST(Grow, BirthOnOneSurroundsASingleCell) {
    const RuleCode b1 = (1u << 10) | kNeighbourhoodMask;  // born on 1, nothing survives
    auto u = MakeUniverse({{0, 0}}, b1);
    RecordingListener listener;
    auto grown = u->Grow(&listener);
    EXPECT_EQ(CellsOf(*grown),
              (Cells{{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}}));
    const std::vector<std::string> expected{"begin",   "row -1",  "born -1", "born 0", "born 1", "rowend",
                                            "row 0",   "born -1", "died 0",  "born 1", "rowend", "row 1",
                                            "born -1", "born 0",  "born 1",  "rowend", "end"};
    EXPECT_EQ(listener.calls, expected);
    // Output rows were reserved for three times the source count: 10 p + 6 words for one cell.
    EXPECT_EQ(grown->RowHeapDefaultCapacity(), 10u * 1 + kRowOverheadWords);
}

TEST(Grow, ResultRowHeapIsSizedFromPopulationAndLargestRow) {
    // Fewer than 10000 cells: (3k + 1) p + overhead.
    std::mt19937 rng(3);
    auto small = MakeUniverse(RandomSoup(rng, 0, 0, 50, 50, 0.5));
    EXPECT_EQ(small->Grow(nullptr)->RowHeapDefaultCapacity(), 4 * small->Population() + kRowOverheadWords);
    // Many cells, short rows: the fixed 30000 words.
    auto many = MakeUniverse(RandomSoup(rng, 0, 0, 200, 200, 0.4));
    ASSERT_GE(many->Population(), 10000u);
    EXPECT_EQ(many->Grow(nullptr)->RowHeapDefaultCapacity(), 30000u);
    // A row above 10000 cells: room for the longest output row, 4 m + overhead without births on 1 or 2.
    Cells line;
    for (int32_t x = 0; x < 12000; x += 1) line.insert({x, 0});
    auto wide = MakeUniverse(line);
    auto grown = wide->Grow(nullptr);
    EXPECT_EQ(grown->RowHeapDefaultCapacity(), 4u * 12000 + kRowOverheadWords);
    EXPECT_EQ(CellsOf(*grown), ReferenceStep(line, kConwayRuleCode));
}

class ThrowingListener : public RecordingListener {
public:
    explicit ThrowingListener(std::string at) : at_(std::move(at)) {}
    void OnGrowRow(int32_t y) override {
        RecordingListener::OnGrowRow(y);
        if (at_ == "row " + std::to_string(y)) throw std::runtime_error("stop");
    }
    void OnGrowBegin(CUniverse& source) override {
        RecordingListener::OnGrowBegin(source);
        if (at_ == "begin") throw std::runtime_error("stop");
    }

private:
    std::string at_;
};

TEST(Grow, ListenerExceptionEndsWithTheSource) {
    for (const std::string at : {"begin", "row 1"}) {
        auto u = MakeUniverse(Glider());
        ThrowingListener listener(at);
        EXPECT_THROW(u->Grow(&listener), std::runtime_error);
        ASSERT_FALSE(listener.calls.empty());
        EXPECT_EQ(listener.calls.back(), "end");
        EXPECT_EQ(listener.ended, u.get()) << "the window keeps showing the source";
        EXPECT_EQ(u->UseCount(), 0) << "the source is released";
        EXPECT_EQ(CellsOf(*u), Glider());
    }
}

TEST(Grow, SourceDiscardedDuringGrowthGoesWithTheLastRelease) {
    class DiscardingListener : public RecordingListener {
    public:
        void OnGrowBegin(CUniverse& source) override {
            RecordingListener::OnGrowBegin(source);
            source.Discard();
            EXPECT_TRUE(source.IsDiscardPending());
            EXPECT_EQ(DiscardedUniverses().First(), &source);
        }
    };
    auto u = MakeUniverse(Glider());
    DiscardingListener listener;
    auto grown = u.release()->Grow(&listener);  // the universe now belongs to its use count
    EXPECT_TRUE(DiscardedUniverses().IsEmpty()) << "destroyed by the release at the end of growth";
    EXPECT_EQ(grown->Population(), 5u);
}

TEST(Grow, RefusesCoordinatesBeyondTheLimits) {
    auto u = MakeUniverse({{2147483645, 0}});
    ASSERT_EQ(u->CheckGrowable(), 1016);
    try {
        u->Grow(nullptr);
        FAIL() << "growth beyond the limits must be refused";
    } catch (const CErrorException& e) {
        EXPECT_EQ(e.MessageId(), 1016);
    }
    EXPECT_EQ(u->UseCount(), 0);
}

}  // namespace
}  // namespace tessera::test

namespace tessera::test {
namespace {

// A listener that grows another universe under another rule in the middle of a step.
class NestingListener : public RecordingListener {
public:
    void OnGrowRow(int32_t y) override {
        RecordingListener::OnGrowRow(y);
        if (!nested_) {
            nested_ = true;
            auto other = MakeUniverse({{0, 0}, {1, 0}, {2, 0}}, 0x07BC900C);
            inner = CellsOf(*other->Grow(nullptr));
        }
    }
    Cells inner;

private:
    bool nested_ = false;
};

TEST(Grow, NestedGrowthUnderAnotherRuleDoesNotDisturbTheStep) {
    std::mt19937 rng(8);
    const Cells cells = RandomSoup(rng, 0, 0, 30, 30, 0.35);
    auto u = MakeUniverse(cells);
    NestingListener listener;
    auto grown = u->Grow(&listener);
    EXPECT_EQ(CellsOf(*grown), ReferenceStep(cells, kConwayRuleCode));
    EXPECT_EQ(listener.inner, (Cells{{1, -1}, {1, 0}, {1, 1}}));
}

}  // namespace
}  // namespace tessera::test
