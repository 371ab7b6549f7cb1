// Automatic stop: repeats in place and moved, ships flying apart, and the reports checked against a
// tiny independent stepper.
#include <gtest/gtest.h>

#include <random>

#include "engine/split_objects.h"
#include "foundation/messages.h"
#include "game_support.h"
#include "games/repeat_check.h"
#include "games/ship_recognition.h"

namespace tessera::test {
namespace {

// Knows as ships the small objects that reappear shifted after four generations.
class FakeShipRecognition : public CShipRecognition {
public:
    CShipClassification Classify(CUniverse& cells) override {
        CShipClassification result;
        SplitIntoObjects(cells, [&](CUniverse& object) {
            GrowablePtr later = object.Clone();
            for (int i = 0; i < kPeriod; ++i) later = later->Grow(nullptr);
            CLSize shift;
            if (object.Population() <= 5 && IsSameUniverse(object, *later, shift) && shift != CLSize{}) {
                CRecognisedShip ship{object.GetBounds(), kPeriod, shift.cx, shift.cy, {}};
                ExplorePtr e = object.ExploreAll();
                while (e->Next()) ship.cells.push_back(e->Current());
                result.ships.push_back(ship);
            } else {
                result.unclassified = true;
            }
        });
        return result;
    }
    static constexpr int kPeriod = 4;
};

class AutostopTest : public GameTestBase {
protected:
    // Steps until a report or the limit; answers the report (0 at the limit).
    int GrowUntilStop(CGame& game, int limit = 3000) {
        for (int i = 0; i < limit; ++i) {
            if (int code = game.StepForward(nullptr)) return code;
        }
        return 0;
    }
    CGame& GameOf(const Cells& cells) { return games.NewGame(*MakeUniverse(cells)); }
};

const Cells kBlinker{{0, 0}, {1, 0}, {2, 0}};

// The blinker and another object moved by (dx, dy).
Cells BlinkerAnd(const Cells& other, int32_t dx, int32_t dy) {
    Cells cells = kBlinker;
    cells.merge(Shifted(other, dx, dy));
    return cells;
}

TEST_F(AutostopTest, RepeatsInPlaceAndMovedAreReportedOnce) {
    CGame& blinker = GameOf(kBlinker);
    EXPECT_EQ(GrowUntilStop(blinker), msg::RepeatInPlace);
    EXPECT_EQ(RepeatMessage(blinker, msg::RepeatInPlace), "Generation 2 is the same as generation 0.");
    EXPECT_EQ(blinker.Generation(), 4) << "left one generation back";
    EXPECT_TRUE(blinker.AutostopFired());
    EXPECT_EQ(GrowUntilStop(blinker, 200), 0) << "a fired game never stops twice";
    // Back at 0 the flag is re-armed, but the confirmed repeat is not reported again.
    blinker.ResetToGeneration(0);
    EXPECT_FALSE(blinker.AutostopFired());
    EXPECT_EQ(GrowUntilStop(blinker, 200), 0);

    CGame& block = GameOf({{0, 0}, {1, 0}, {0, 1}, {1, 1}});
    EXPECT_EQ(GrowUntilStop(block), msg::RepeatInPlace);
    EXPECT_EQ(RepeatMessage(block, msg::RepeatInPlace), "Generation 1 is the same as generation 0.");

    CGame& glider = GameOf(Glider());
    EXPECT_EQ(GrowUntilStop(glider), msg::RepeatMoved);
    EXPECT_EQ(RepeatMessage(glider, msg::RepeatMoved),
              "Generation 4 is the same as generation 0, except for movement");
}

TEST_F(AutostopTest, ShipsFlyingAwayEndTheInterestAndShipsOnCourseAreWaitedFor) {
    FakeShipRecognition recognition;
    games.SetShipRecognition(&recognition);
    const Cells away = BlinkerAnd(Glider(), 5, 4);  // heading down and right
    CGame& known = GameOf(away);
    EXPECT_EQ(GrowUntilStop(known), msg::NotInteresting);
    const int32_t start = GetRepeat(known).start;
    // From the reported generation on, the blinker repeats in place and the glider only moves on.
    const Cells then = ReferenceRun(away, kConwayRuleCode, start);
    Cells expected;
    for (const CLPoint& p : then) expected.insert(p.x <= 3 && p.y <= 2 ? p : CLPoint{p.x + 1, p.y + 1});
    EXPECT_EQ(ReferenceRun(then, kConwayRuleCode, 4), expected);
    EXPECT_EQ(RepeatMessage(known, msg::NotInteresting),
              "The game is not interesting after generation " + std::to_string(start));

    // A glider heading for a blinker 40 cells on: the game stays interesting until they have met.
    const Cells onCourse = BlinkerAnd(Glider(), -40, -41);
    CGame& game = GameOf(onCourse);
    const int code = GrowUntilStop(game);
    int32_t met = 0;  // the first generation whose cells are no longer a blinker and a glider apart
    for (Cells now = onCourse; now.size() == onCourse.size() && met < 400; ++met)
        now = ReferenceStep(now, kConwayRuleCode);
    ASSERT_GT(met, 100);
    ASSERT_LT(met, 400);
    EXPECT_GE(game.Generation(), met) << "stopped with " << code << " before they met";

    // An escaping lightweight spaceship is no ship this recognition knows, and without a recognition no
    // ship is known: only a similarity is reported.
    const Cells lightweight = CellsFromPicture("*..*.\n....*\n*...*\n.****");
    EXPECT_EQ(GrowUntilStop(GameOf(BlinkerAnd(lightweight, 8, 0))), msg::RepeatSimilar);
    games.SetShipRecognition(nullptr);
    EXPECT_EQ(GrowUntilStop(GameOf(away)), msg::RepeatSimilar);
}

TEST_F(AutostopTest, TurningItOffAndOnAgainWhileGrowingStillStops) {
    CGame& game = GameOf(kBlinker);
    ToggleAutostop(&game);
    EXPECT_EQ(GrowUntilStop(game, 3), 0);
    ToggleAutostop(&game);
    EXPECT_EQ(GrowUntilStop(game, 100), msg::RepeatInPlace);
    EXPECT_EQ(RepeatMessage(game, msg::RepeatInPlace), "Generation 5 is the same as generation 3.");
}

TEST_F(AutostopTest, ReportedRepeatsHoldUnderAnIndependentStepper) {
    std::mt19937 rng(1414);
    int checked = 0;
    for (int soup = 0; soup < 40; ++soup) {
        const Cells start = RandomSoup(rng, 0, 0, 10, 10, 0.4);
        CGame& game = GameOf(start);
        const int code = GrowUntilStop(game);
        if (code != msg::RepeatInPlace && code != msg::RepeatMoved) continue;
        const CRepeatReport repeat = GetRepeat(game);
        const std::vector<Cells> history = ReferenceHistory(start, repeat.start + repeat.span);
        const Cells& older = history[repeat.start];
        const Cells& newer = history[repeat.start + repeat.span];
        if (code == msg::RepeatInPlace) {
            EXPECT_EQ(newer, older) << "soup " << soup;
        } else {
            const CLRect a = BoundsOf(older), b = BoundsOf(newer);
            EXPECT_NE(a, b) << "soup " << soup;
            EXPECT_EQ(Shifted(older, b.left - a.left, b.top - a.top), newer) << "soup " << soup;
        }
        ++checked;
    }
    EXPECT_GE(checked, 20);
}

}  // namespace
}  // namespace tessera::test
