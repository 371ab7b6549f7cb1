#include "games/task_scheduler.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "config/parameters.h"
#include "fakes.h"

namespace tessera::test {
namespace {

// A task that logs its one slice and its end.
class LoggingTask : public CBgTask {
public:
    LoggingTask(std::string name, std::vector<std::string>* log)
        : CBgTask([this](CBgTask&) { log_->push_back(name_ + " finished"); }),
          name_(std::move(name)),
          log_(log) {}
    bool Run() override {
        log_->push_back(name_);
        return false;
    }

private:
    std::string name_;
    std::vector<std::string>* log_;
};

class TaskSchedulerTest : public ::testing::Test {
protected:
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
    LoggingTask late("late", &log), early("early", &log), sameA("sameA", &log), sameB("sameB", &log);
    CMillitime t0 = clock.now;
    scheduler.Schedule(late, t0.Plus(3));
    scheduler.Schedule(sameA, t0.Plus(1));
    scheduler.Schedule(early, t0);
    scheduler.Schedule(sameB, t0.Plus(1));
    while (scheduler.RunBackgroundSlice()) {
    }
    EXPECT_EQ(log, (std::vector<std::string>{"early", "early finished", "sameA", "sameA finished", "sameB",
                                             "sameB finished", "late", "late finished"}));
    EXPECT_TRUE(scheduler.TaskQueue().IsEmpty());
    EXPECT_FALSE(scheduler.RunBackgroundSlice());
}

TEST_F(TaskSchedulerTest, TheOwnerMayDestroyTheTaskFromItsCompletion) {
    auto owned = std::make_unique<LoggingTask>("x", &log);
    class Owner : public CBgTask {
    public:
        explicit Owner(std::unique_ptr<LoggingTask>* slot) : slot_(slot) {}
        bool Run() override { return false; }
        void Finish() override { slot_->reset(); }

    private:
        std::unique_ptr<LoggingTask>* slot_;
    };
    // The logging task dies when a second task finishes; it must leave the queue cleanly.
    Owner killer(&owned);
    scheduler.Schedule(killer, clock.now);
    scheduler.Schedule(*owned, clock.now.Plus(1));
    EXPECT_TRUE(scheduler.RunBackgroundSlice());
    EXPECT_EQ(owned, nullptr);
    EXPECT_TRUE(scheduler.TaskQueue().IsEmpty());
}

// A task finished from within its own slice (a command handled while the slice waits on the user, say)
// is finished only once the slice has returned: its owner destroys it from the completion.
TEST_F(TaskSchedulerTest, FinishNowFromWithinASliceWaitsForTheSliceToReturn) {
    class SelfFinishing : public CBgTask {
    public:
        SelfFinishing(CTaskScheduler& scheduler, std::vector<std::string>* log,
                      std::unique_ptr<CBgTask>* owner)
            : CBgTask([log, owner](CBgTask&) {
                  log->push_back("finished");
                  owner->reset();
              }),
              scheduler_(scheduler),
              log_(log) {}
        bool Run() override {
            log_->push_back("run");
            scheduler_.FinishNow(*this);
            log_->push_back("run ends");
            return true;  // would go on, but it was finished meanwhile
        }

    private:
        CTaskScheduler& scheduler_;
        std::vector<std::string>* log_;
    };
    std::unique_ptr<CBgTask> owned;
    owned = std::make_unique<SelfFinishing>(scheduler, &log, &owned);
    scheduler.Schedule(*owned, clock.now);
    EXPECT_TRUE(scheduler.RunBackgroundSlice());
    EXPECT_EQ(log, (std::vector<std::string>{"run", "run ends", "finished"}));
    EXPECT_EQ(owned, nullptr);
    EXPECT_TRUE(scheduler.TaskQueue().IsEmpty());
    EXPECT_FALSE(scheduler.RunBackgroundSlice());
}

}  // namespace
}  // namespace tessera::test
