// Growth against the naive reference stepper, over random rules and soups.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <utility>

#include "engine/grow_listener.h"
#include "support/error_of.h"
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
            EXPECT_EQ(u->GetSignature(), ReferenceSignature(cells));
            EXPECT_EQ(CellsOf(*u), cells) << "the source is unchanged";
            u = std::move(grown);
            cells = next;
        }
    }
}

// A listener that acts when it hears a given call ("begin" or "row y"), once.
class ActingListener : public RecordingListener {
public:
    ActingListener(std::string at, std::function<void(CUniverse& source)> act)
        : at_(std::move(at)), act_(std::move(act)) {}
    void OnGrowBegin(CUniverse& source) override {
        RecordingListener::OnGrowBegin(source);
        Heard();
    }
    void OnGrowRow(int32_t y) override {
        RecordingListener::OnGrowRow(y);
        Heard();
    }

private:
    void Heard() {
        if (calls.back() == at_) std::exchange(act_, nullptr)(*begun);
    }
    std::string at_;
    std::function<void(CUniverse& source)> act_;
};

TEST(Grow, ListenerExceptionEndsWithTheSource) {
    for (const std::string at : {"begin", "row 1"}) {
        auto u = MakeUniverse(Glider());
        ActingListener listener(at, [](CUniverse&) { throw std::runtime_error("stop"); });
        EXPECT_THROW(u->Grow(&listener), std::runtime_error);
        ASSERT_FALSE(listener.calls.empty());
        EXPECT_EQ(listener.calls.back(), "end");
        EXPECT_EQ(listener.ended, u.get()) << "the window keeps showing the source";
        EXPECT_EQ(u->UseCount(), 0) << "the source is released";
        EXPECT_EQ(CellsOf(*u), Glider());
    }
}

TEST(Grow, SourceDiscardedDuringGrowthGoesWithTheLastRelease) {
    ActingListener listener("begin", [](CUniverse& source) {
        source.Discard();
        EXPECT_TRUE(source.IsDiscardPending());
        EXPECT_EQ(DiscardedUniverses().First(), &source);
    });
    auto grown =
        MakeUniverse(Glider()).release()->Grow(&listener);  // the universe now belongs to its use count
    EXPECT_TRUE(DiscardedUniverses().IsEmpty()) << "destroyed by the release at the end of growth";
    EXPECT_EQ(grown->Population(), 5u);
}

TEST(Grow, RefusesCoordinatesBeyondTheLimits) {
    auto u = MakeUniverse({{2147483645, 0}});
    ASSERT_EQ(u->CheckGrowable(), 1016);
    EXPECT_EQ(MessageIdOf([&] { u->Grow(nullptr); }), 1016);
    EXPECT_EQ(u->UseCount(), 0);
}

// Another universe grown under another rule in the middle of a step.
TEST(Grow, NestedGrowthUnderAnotherRuleDoesNotDisturbTheStep) {
    std::mt19937 rng(8);
    const Cells cells = RandomSoup(rng, 0, 0, 30, 30, 0.35);
    Cells inner;
    ActingListener listener("row 1", [&](CUniverse&) {
        inner = CellsOf(*MakeUniverse({{0, 0}, {1, 0}, {2, 0}}, 0x07BC900C)->Grow(nullptr));
    });
    EXPECT_EQ(CellsOf(*MakeUniverse(cells)->Grow(&listener)), ReferenceStep(cells, kConwayRuleCode));
    EXPECT_EQ(inner, (Cells{{1, -1}, {1, 0}, {1, 1}}));
}

}  // namespace
}  // namespace tessera::test
