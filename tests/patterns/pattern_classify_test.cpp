// Classification and the generation caches against a naive classifier that grows plain cell sets and
// compares each generation with every earlier one up to translation.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "patterns/pattern.h"
#include "patterns/pattern_universe.h"
#include "patterns/recognition_port.h"
#include "support/cells.h"
#include "support/reference_life.h"

namespace tessera::test {
namespace {

Cells ShapeOf(CUniverse& universe) { return Normalised(CellsOf(universe)); }

// Records the calls the patterns make, and installs itself for its lifetime.
class CFakeRecognitionIndex : public CRecognitionIndexPort {
public:
    CFakeRecognitionIndex() { InstallRecognitionIndex(this); }
    ~CFakeRecognitionIndex() override { InstallRecognitionIndex(nullptr); }
    void AddPattern(CPattern& pattern) override { added.push_back(pattern.SerialNumber()); }
    void RemovePattern(CPattern& pattern) override { removed.push_back(pattern.SerialNumber()); }
    std::vector<uint32_t> added, removed;
};

struct ReferenceClass {
    EPatternType type = EPatternType::Unstable;
    int32_t period = 0;
    int32_t cycleStart = 0;
    CLSize velocity;
    std::vector<Cells> generations;  // as grown, not normalised
};

ReferenceClass ReferenceClassify(const Cells& start, int32_t maxCycle) {
    ReferenceClass r;
    r.generations.push_back(start);
    std::vector<Cells> shapes{Normalised(start)};
    for (int32_t g = 1; g <= maxCycle; ++g) {
        r.generations.push_back(ReferenceStep(r.generations.back(), kConwayRuleCode));
        shapes.push_back(Normalised(r.generations.back()));
        for (int32_t e = 0; e < g; ++e) {
            if (shapes[e] != shapes[g]) continue;
            const Cells& a = r.generations[e];
            const Cells& b = r.generations[g];
            if (!a.empty())
                r.velocity = {BoundsOf(b).left - BoundsOf(a).left, BoundsOf(b).top - BoundsOf(a).top};
            r.cycleStart = e;
            if (e > 0 && !a.empty()) {
                r.type = EPatternType::Precursor;
                r.period = g;
            } else if (e > 0) {
                r.type = EPatternType::Doomed;
                r.period = e;
            } else if (r.velocity != CLSize{}) {
                r.type = EPatternType::Ship;
                r.period = g;
            } else {
                r.type = g == 1 ? EPatternType::Still : EPatternType::Oscillator;
                r.period = g;
            }
            return r;
        }
    }
    return r;
}

// Generation n of the reference up to translation: beyond the first repeat, the generation the cycle
// brings back.
const Cells& ReferenceGeneration(const ReferenceClass& r, int32_t n) {
    const int32_t repeat = static_cast<int32_t>(r.generations.size()) - 1;
    if (n > repeat) n = r.cycleStart + (n - r.cycleStart) % (repeat - r.cycleStart);
    return r.generations[n];
}

TEST(PatternClassification, RandomShapesMatchNaiveClassifierInEveryPhaseAndOrientation) {
    std::mt19937 rng(1207);
    constexpr int32_t kMaxCycle = 64;
    std::map<EPatternType, int> seen;
    for (int trial = 0; trial < 300; ++trial) {
        const int width = 2 + trial % 5, height = 2 + (trial / 5) % 5;
        Cells start = RandomSoup(rng, -3 + trial % 7, 5 - trial % 11, width, height, 0.55);
        // Soups this small rarely leave a lone spaceship: every 40th shape is a glider or a lightweight
        // spaceship in one of its orientations.
        static const Cells kSpaceship{{1, 0}, {4, 0}, {0, 1}, {0, 2}, {4, 2}, {0, 3}, {1, 3}, {2, 3}, {3, 3}};
        if (trial % 40 == 0) start = Turned(trial % 80 == 0 ? Glider() : kSpaceship, trial / 40 % 8);
        auto source = MakeUniverse(start);
        auto pattern = CreatePattern(*source, ERecognizable::No);
        const ReferenceClass expected = ReferenceClassify(start, kMaxCycle);
        SCOPED_TRACE("trial " + std::to_string(trial));
        ASSERT_EQ(pattern->Classify(kMaxCycle), expected.type);
        ++seen[expected.type];
        EXPECT_EQ(pattern->DeclaredType(), expected.type);
        EXPECT_EQ(pattern->Period(), expected.period);
        EXPECT_EQ(pattern->CycleStart(), expected.cycleStart);
        EXPECT_EQ(pattern->Velocity(), expected.velocity);
        EXPECT_EQ(ShapeOf(pattern->Base()), Normalised(start));
        EXPECT_EQ(pattern->Base().GetBounds().left, start.empty() ? EmptyRect.left : 0);

        // Every orientation of every generation up to far beyond the cycle, from the caches.
        if (expected.type == EPatternType::Unstable) continue;
        const int32_t last = expected.period * 3 + expected.cycleStart + 2;
        for (int32_t n : {0, 1, 2, last / 2, last, 1000 + trial}) {
            const Cells& cells = ReferenceGeneration(expected, n);
            for (int t = 0; t < 8; ++t) {
                CPatternUniverse& phase = pattern->GetPatternGeneration(t, n);
                ASSERT_EQ(ShapeOf(phase), Normalised(Turned(cells, t)))
                    << "generation " << n << " transform " << t;
                // Far generations come from the cycle, not from growing that far.
                EXPECT_LE(phase.Generation(), std::max(expected.period, expected.cycleStart + 1));
            }
        }
    }
    // The sample covers every kind the classifier can give for a finite shape.
    for (EPatternType type : {EPatternType::Still, EPatternType::Oscillator, EPatternType::Ship,
                              EPatternType::Unstable, EPatternType::Precursor, EPatternType::Doomed})
        EXPECT_GT(seen[type], 0) << PatternTypeWord(type);
}

TEST(PatternCaches, StayWithinTheLimitAndKeepWhatIsHeld) {
    std::vector<std::unique_ptr<CPattern>> patterns;
    for (int i = 0; i < 6; ++i) {
        patterns.push_back(CreatePattern(*MakeUniverse(Glider()), ERecognizable::No));
        patterns.back()->Classify(64);
    }
    CPatternUniverse& held = patterns[0]->GetPatternGeneration(3, 2);
    CUniverseUse hold(held);
    const Cells heldCells = CellsOf(held);
    for (auto& pattern : patterns)
        for (int t = 0; t < 8; ++t) pattern->GetPatternGeneration(t, 3);
    // 30 is the default limit beyond one base universe per pattern.
    EXPECT_LE(CPatternUniverse::LiveCount(), CPattern::LiveCount() + 30);
    EXPECT_EQ(CellsOf(held), heldCells);
    for (auto& pattern : patterns) EXPECT_EQ(pattern->Base().Population(), 5u);
}

TEST(PatternRecognizable, DefaultRuleAndIndexCalls) {
    CFakeRecognitionIndex index;
    auto block = CreatePattern(*MakeUniverse({{0, 0}, {1, 0}, {0, 1}, {1, 1}}), ERecognizable::ByDefaultRule);
    EXPECT_TRUE(block->IsRecognizable());
    auto r =
        CreatePattern(*MakeUniverse({{1, 0}, {2, 0}, {0, 1}, {1, 1}, {1, 2}}), ERecognizable::ByDefaultRule);
    EXPECT_FALSE(r->IsRecognizable());
    r->SetRecognizable(ERecognizable::Yes);
    ASSERT_EQ(index.added, (std::vector<uint32_t>{block->SerialNumber(), r->SerialNumber()}));
    block->SetRecognizable(ERecognizable::No);
    block->SetRecognizable(ERecognizable::No);  // no change, no call
    const uint32_t serial = r->SerialNumber();
    r.reset();
    EXPECT_EQ(index.removed, (std::vector<uint32_t>{block->SerialNumber(), serial}));

    // Declaring an unstable pattern clears its period and movement.
    auto glider = CreatePattern(*MakeUniverse(Glider()), ERecognizable::No);
    glider->SetDeclaredProperties(EPatternType::Unstable, 4, 1, 1);
    EXPECT_EQ(glider->Period(), 0);
    EXPECT_EQ(glider->Velocity(), CLSize{});
}

}  // namespace
}  // namespace tessera::test
