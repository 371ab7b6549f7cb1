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


// A task that logs its slices and runs a fixed number of them.
class LoggingTask : public CBgTask {
public:
    LoggingTask(std::string name, std::vector<std::string>* log, int slices = 1, int32_t interval = 0)
        : CBgTask([this](CBgTask&) {
              log_->push_back(name_ + " finished");
              ++finishes;
          }),
          name_(std::move(name)),
          log_(log),
          slicesLeft_(slices) {
        SetInterval(interval);
    }
    bool Run() override {
        log_->push_back(name_);
        return --slicesLeft_ > 0;
    }
    int finishes = 0;

private:
    std::string name_;
    std::vector<std::string>* log_;
    int slicesLeft_;
};

constexpr CSchedulerTimings kTimings{250, 500, 5};

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
        CMillitime::Span span = ta.Difference(tb);
        ASSERT_LT(span.milliseconds, 1000);
        ASSERT_EQ(span.seconds * 1000 + span.milliseconds, a - b);
        int64_t step = ms(random);
        ASSERT_EQ(ta.Plus(step).MillisecondsSince(CMillitime(0, 0)), a + step);
    }
}

TEST(TaskSchedulerTest, RunsTasksInDueOrderAndEqualTimesInArrivalOrder) {
    FakeClock clock;
    CTaskScheduler scheduler(clock, kTimings);
    std::vector<std::string> log;
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

TEST(TaskSchedulerTest, ContinuingTaskIsDueAgainAtSliceStartPlusInterval) {
    FakeClock clock;
    CTaskScheduler scheduler(clock, kTimings);
    std::vector<std::string> log;
    LoggingTask task("t", &log, 3, 40);
    scheduler.Schedule(task, clock.now);
    CMillitime start = clock.now;
    EXPECT_TRUE(scheduler.RunBackgroundSlice());
    EXPECT_EQ(task.DueTime(), start.Plus(40));
    EXPECT_TRUE(task.IsQueued());
    // Not yet due and beyond the spin time: the timer is armed for the remaining wait.
    clock.Advance(10);
    FakeMainWindow window;
    scheduler.SetMainWindow(&window);
    EXPECT_FALSE(scheduler.RunBackgroundSlice());
    EXPECT_EQ(window.timerArms, (std::vector<int64_t>{30}));
    clock.Advance(30);
    EXPECT_TRUE(scheduler.OnSliceTimer());
    EXPECT_FALSE(scheduler.IsTimerArmed());
    EXPECT_EQ(log.size(), 2u);
    clock.Advance(40);
    EXPECT_TRUE(scheduler.RunBackgroundSlice());
    EXPECT_EQ(log, (std::vector<std::string>{"t", "t", "t", "t finished"}));
    EXPECT_EQ(task.finishes, 1);
}

TEST(TaskSchedulerTest, SpinsForTasksDueWithinTheSpinTimeAndUsesTheTimerBeyondIt) {
    FakeClock clock;
    FakeMainWindow window;
    CTaskScheduler scheduler(clock, kTimings);
    scheduler.SetMainWindow(&window);
    std::vector<std::string> log;
    LoggingTask soon("soon", &log), later("later", &log), sooner("sooner", &log);

    // Exactly at the spin limit: waited for on the clock, then run.
    scheduler.Schedule(soon, clock.now.Plus(5));
    CMillitime due = soon.DueTime();
    EXPECT_TRUE(scheduler.RunBackgroundSlice());
    EXPECT_EQ(clock.spins, 1);
    EXPECT_FALSE(clock.now < due);
    EXPECT_TRUE(window.timerArms.empty());

    // One past the limit: the timer takes over and nothing runs.
    scheduler.Schedule(later, clock.now.Plus(6));
    EXPECT_FALSE(scheduler.RunBackgroundSlice());
    EXPECT_EQ(window.timerArms, (std::vector<int64_t>{6}));
    EXPECT_TRUE(scheduler.IsTimerArmed());
    EXPECT_EQ(scheduler.TimerDue(), later.DueTime());
    // Asking again while the timer is armed for that time leaves it alone.
    EXPECT_FALSE(scheduler.RunBackgroundSlice());
    EXPECT_EQ(window.timerArms.size(), 1u);
    EXPECT_EQ(window.timerKills, 0);
    // A task due at the same time as the armed timer leaves it alone too.
    scheduler.Schedule(sooner, later.DueTime());
    EXPECT_FALSE(scheduler.RunBackgroundSlice());
    EXPECT_EQ(window.timerArms.size(), 1u);
    EXPECT_EQ(clock.spins, 1);
    EXPECT_EQ(log, (std::vector<std::string>{"soon", "soon finished"}));
}

TEST(TaskSchedulerTest, EarlierTaskRearmsAnArmedTimer) {
    FakeClock clock;
    FakeMainWindow window;
    CTaskScheduler scheduler(clock, kTimings);
    scheduler.SetMainWindow(&window);
    std::vector<std::string> log;
    LoggingTask far("far", &log), nearer("nearer", &log);
    scheduler.Schedule(far, clock.now.Plus(1000));
    EXPECT_FALSE(scheduler.RunBackgroundSlice());
    scheduler.Schedule(nearer, clock.now.Plus(100));
    EXPECT_FALSE(scheduler.RunBackgroundSlice());
    EXPECT_EQ(window.timerArms, (std::vector<int64_t>{1000, 100}));
    EXPECT_EQ(window.timerKills, 1);
    EXPECT_EQ(scheduler.TimerDue(), nearer.DueTime());
}

TEST(TaskSchedulerTest, FinishRequestsPostTheirCommandAndFinishOnce) {
    FakeClock clock;
    FakeMainWindow window;
    CTaskScheduler scheduler(clock, kTimings);
    scheduler.SetMainWindow(&window);
    std::vector<std::string> log;
    LoggingTask first("first", &log, 100), second("second", &log, 100, 1000);
    scheduler.Schedule(first, clock.now.Plus(2000));
    scheduler.Schedule(second, clock.now.Plus(1000));
    // A queued task asked to finish moves to now and is finished by the next call, which posts its
    // command and answers false.
    scheduler.RequestFinish(first, 40046);
    EXPECT_EQ(scheduler.TaskQueue().First(), &first);
    EXPECT_FALSE(scheduler.RunBackgroundSlice());
    EXPECT_EQ(window.posted, (std::vector<uint32_t>{40046}));
    EXPECT_EQ(first.finishes, 1);
    EXPECT_FALSE(first.IsQueued());
    EXPECT_EQ(log, (std::vector<std::string>{"first finished"}));
    // Finishing again does nothing more.
    scheduler.FinishNow(first);
    EXPECT_EQ(first.finishes, 1);

    // Without a command nothing is posted.
    scheduler.RequestFinish(second, 0);
    EXPECT_FALSE(scheduler.RunBackgroundSlice());
    EXPECT_EQ(window.posted.size(), 1u);
    EXPECT_EQ(second.finishes, 1);
}

TEST(TaskSchedulerTest, FinishNowAndFinishAllTasksEmptyTheQueue) {
    FakeClock clock;
    CTaskScheduler scheduler(clock, kTimings);
    std::vector<std::string> log;
    LoggingTask a("a", &log, 10), b("b", &log, 10), c("c", &log, 10);
    scheduler.Schedule(a, clock.now);
    scheduler.Schedule(b, clock.now);
    scheduler.Schedule(c, clock.now.Plus(5));
    scheduler.FinishNow(b);
    EXPECT_TRUE(b.FinishRequested());
    EXPECT_EQ(scheduler.TaskQueue().Count(), 2);
    scheduler.FinishAllTasks();
    EXPECT_TRUE(scheduler.TaskQueue().IsEmpty());
    EXPECT_EQ(log, (std::vector<std::string>{"b finished", "a finished", "c finished"}));
}

TEST(TaskSchedulerTest, TheOwnerMayDestroyTheTaskFromItsCompletion) {
    FakeClock clock;
    CTaskScheduler scheduler(clock, kTimings);
    std::vector<std::string> log;
    auto owned = std::make_unique<LoggingTask>("x", &log, 1);
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
TEST(TaskSchedulerTest, FinishNowFromWithinASliceWaitsForTheSliceToReturn) {
    FakeClock clock;
    CTaskScheduler scheduler(clock, kTimings);
    std::vector<std::string> log;
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

class FakeIdle : public CIdleProcessing {
public:
    bool NormalIdle(long count) override {
        normal.push_back(count);
        return false;
    }
    void LightIdle() override { ++light; }
    bool FullIdle(long count) override {
        full.push_back(count);
        return count < 2;
    }
    std::vector<long> normal;
    int light = 0;
    std::vector<long> full;
};

TEST(TaskSchedulerTest, IdleHandlerThrottlesFullIdleWhileTasksRun) {
    FakeClock clock;
    CTaskScheduler scheduler(clock, kTimings);
    FakeIdle idle;
    std::vector<std::string> log;
    // Nothing queued: normal idle processing for the given count.
    EXPECT_FALSE(scheduler.RunIdle(idle, 3));
    EXPECT_EQ(idle.normal, (std::vector<long>{3}));

    LoggingTask task("t", &log, 1000, 0);
    scheduler.Schedule(task, clock.now);
    EXPECT_TRUE(scheduler.RunIdle(idle, 0));
    EXPECT_EQ(idle.light, 1);
    EXPECT_TRUE(idle.full.empty());
    clock.Advance(500);  // not more than the idle interval yet
    EXPECT_TRUE(scheduler.RunIdle(idle, 0));
    EXPECT_TRUE(idle.full.empty());
    clock.Advance(1);
    EXPECT_TRUE(scheduler.RunIdle(idle, 0));
    EXPECT_EQ(idle.full, (std::vector<long>{0, 1, 2}));
    EXPECT_TRUE(scheduler.RunIdle(idle, 0));
    EXPECT_EQ(idle.full.size(), 3u);
    EXPECT_EQ(idle.light, 4);
}

TEST(TaskSchedulerTimingsTest, ReadFromTheParametersOnFirstUse) {
    ::setenv("TESSERA_INI", "/nonexistent-tessera-folder/TESSERA.INI", 1);
    ResetAllParameters();
    ASSERT_TRUE(params::MaxSpinTime.SetInt(40));
    FakeClock clock;
    CTaskScheduler scheduler(clock);
    ASSERT_TRUE(params::BackgroundSlice.SetInt(300));
    EXPECT_EQ(scheduler.Timings().maxSpinTime, 40);
    EXPECT_EQ(scheduler.Timings().backgroundSlice, 300);
    EXPECT_EQ(scheduler.Timings().idleInterval, 500);
    // Read once: later changes do not reach a running scheduler.
    ASSERT_TRUE(params::MaxSpinTime.SetInt(7));
    EXPECT_EQ(scheduler.Timings().maxSpinTime, 40);
    ResetAllParameters();
    ::unsetenv("TESSERA_INI");
}

}  // namespace
}  // namespace tessera::test
