#include "games/task_scheduler.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "game_support.h"

namespace tessera::test {
namespace {

// A task whose slice and completion are given as functions.
class ScriptedTask : public CBgTask {
public:
    ScriptedTask(std::function<bool()> run, Completion completion)
        : CBgTask(std::move(completion)), run_(std::move(run)) {}
    bool Run() override { return run_(); }

private:
    std::function<bool()> run_;
};

class TaskSchedulerTest : public ::testing::Test {
protected:
    // A task that logs its one slice and its end.
    std::unique_ptr<ScriptedTask> Logging(const std::string& name) {
        auto run = [this, name] {
            log.push_back(name);
            return false;
        };
        return std::make_unique<ScriptedTask>(run,
                                              [this, name](CBgTask&) { log.push_back(name + " finished"); });
    }

    FakeClock clock;
    CTaskScheduler scheduler{clock, CSchedulerTimings{250, 500, 5}};
    std::vector<std::string> log;
};

TEST(MillitimeTest, ArithmeticAgreesWithPlainMilliseconds) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int64_t> ms(-5'000'000, 5'000'000);
    for (int i = 0; i < 2000; ++i) {
        int64_t a = 1'600'000'000'000 + ms(random);
        int64_t b = 1'600'000'000'000 + ms(random);
        CMillitime ta = CMillitime(0, 0).Plus(a);
        CMillitime tb = CMillitime(0, 0).Plus(b);
        ASSERT_EQ(ta.Seconds(), a / 1000);
        ASSERT_EQ(ta.Milliseconds(), a % 1000);
        ASSERT_EQ(ta < tb, a < b);
        ASSERT_EQ(ta.MillisecondsSince(tb), a - b);
        CMillitime::CSpan span = ta.Difference(tb);
        ASSERT_LT(span.milliseconds, 1000);
        ASSERT_EQ(span.seconds * 1000 + span.milliseconds, a - b);
        int64_t step = ms(random);
        ASSERT_EQ(ta.Plus(step).MillisecondsSince(CMillitime(0, 0)), a + step);
    }
}

TEST_F(TaskSchedulerTest, RunsTasksInDueOrderAndEqualTimesInArrivalOrder) {
    auto late = Logging("late"), early = Logging("early"), sameA = Logging("sameA"), sameB = Logging("sameB");
    CMillitime t0 = clock.now;
    scheduler.Schedule(*late, t0.Plus(3));
    scheduler.Schedule(*sameA, t0.Plus(1));
    scheduler.Schedule(*early, t0);
    scheduler.Schedule(*sameB, t0.Plus(1));
    while (scheduler.RunBackgroundSlice()) {
    }
    EXPECT_EQ(log, (std::vector<std::string>{"early", "early finished", "sameA", "sameA finished", "sameB",
                                             "sameB finished", "late", "late finished"}));
    EXPECT_TRUE(scheduler.TaskQueue().IsEmpty());
    EXPECT_FALSE(scheduler.RunBackgroundSlice());
}

// A completion may destroy its own task or another one still queued. A task finished from within its
// own slice (a command handled while the slice waits on the user, say) is finished only once the slice
// has returned.
TEST_F(TaskSchedulerTest, CompletionsMayDestroyTasksEvenWhenFinishedFromWithinASlice) {
    auto other = Logging("other");
    std::unique_ptr<ScriptedTask> owned;
    owned = std::make_unique<ScriptedTask>(
        [&] {
            log.push_back("run");
            scheduler.FinishNow(*owned);
            log.push_back("run ends");
            return true;  // would go on, but it was finished meanwhile
        },
        [&](CBgTask&) {
            log.push_back("finished");
            other.reset();
            owned.reset();
        });
    scheduler.Schedule(*owned, clock.now);
    scheduler.Schedule(*other, clock.now.Plus(1));
    EXPECT_TRUE(scheduler.RunBackgroundSlice());
    EXPECT_EQ(log, (std::vector<std::string>{"run", "run ends", "finished"}));
    EXPECT_EQ(owned, nullptr);
    EXPECT_EQ(other, nullptr);
    EXPECT_TRUE(scheduler.TaskQueue().IsEmpty());
    EXPECT_FALSE(scheduler.RunBackgroundSlice());
}

}  // namespace
}  // namespace tessera::test
