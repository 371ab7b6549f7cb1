#include "games/growth_tasks.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "game_support.h"
#include "games/cancel_box.h"

namespace tessera::test {
namespace {

class FakeCancelBoxDisplay : public CCancelBoxDisplay {
public:
    explicit FakeCancelBoxDisplay(std::vector<std::string>* log) : log_(log) {}
    void ShowLines(std::string_view title, std::string_view status) override {
        log_->push_back(std::string(title) + " | " + std::string(status));
    }

private:
    std::vector<std::string>* log_;
};

// Records the generation of every display it is asked for and the messages it is given.
class FakeMainWindow : public CMainWindowPort {
public:
    CGame* CurrentGame() override { return currentGame; }
    void ShowGeneration(CGame& game) override { generations.push_back(game.Generation()); }
    void EndGrowthDisplay(CGame& game) override { ended.push_back(game.Generation()); }
    void EnterBusyState() override { ++busyDepth; }
    void LeaveBusyState() override { --busyDepth; }
    void ShowBusyCursor() override {}
    void ReportMessage(CGame&, int messageId) override { reported.push_back(messageId); }
    void ReportError(int messageId, std::string_view) override { reported.push_back(messageId); }
    uint32_t SpeedSliderValue() override { return speed; }
    void ArmSliceTimer(int64_t) override {}
    void KillSliceTimer() override {}
    void PostCommand(uint32_t) override {}
    std::unique_ptr<CCancelBoxDisplay> MakeCancelBoxDisplay(CCancelBox& box) override {
        lastCancelBox = &box;
        return std::make_unique<FakeCancelBoxDisplay>(&cancelBoxLines);
    }

    CGame* currentGame = nullptr;
    uint32_t speed = 10000;
    int busyDepth = 0;
    std::vector<int32_t> generations, ended;
    std::vector<int> reported;
    std::vector<std::string> cancelBoxLines;
    CCancelBox* lastCancelBox = nullptr;
};

class GrowthTasksTest : public GameTestBase {
protected:
    GrowthTasksTest() : scheduler(clock, CSchedulerTimings{250, 500, 5}) { scheduler.SetMainWindow(&window); }

    // Runs the first task of the queue once it is due, as the idle loop would; answers whether it ran.
    bool RunNextSlice() {
        const CMillitime due = scheduler.TaskQueue().First()->DueTime();
        if (clock.now < due) clock.now = due;
        return scheduler.RunBackgroundSlice();
    }
    // Answers the number of slices run until the queue is empty.
    int RunToCompletion() {
        int slices = 0;
        while (!scheduler.TaskQueue().IsEmpty()) slices += RunNextSlice();
        return slices;
    }

    FakeClock clock;
    FakeMainWindow window;
    CTaskScheduler scheduler;
};

TEST_F(GrowthTasksTest, GotoWithDisplayIntervalShowsEveryTenthGeneration) {
    CGame& game = games.NewGame(*MakeUniverse(RPentomino()));
    auto task = StartGrow(scheduler, game, 100, 10);
    EXPECT_EQ(window.busyDepth, 1);
    EXPECT_EQ(RunToCompletion(), 11);  // each display ends a slice; the last one finds the target reached
    EXPECT_EQ(window.generations, (std::vector<int32_t>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
    EXPECT_EQ(window.ended, (std::vector<int32_t>{100}));
    EXPECT_EQ(window.cancelBoxLines.front(), "Computing generation 100 | Currently at generation 10");
    EXPECT_EQ(window.cancelBoxLines.back(), "Computing generation 100 | Currently at generation 100");
    task.reset();
    EXPECT_EQ(window.busyDepth, 0);
}

TEST_F(GrowthTasksTest, CancelStopsAtTheNextStep) {
    CGame& game = games.NewGame(*MakeUniverse(RPentomino()));
    auto task = StartGrow(scheduler, game, 1000, 5);
    for (int i = 0; i < 2; ++i) EXPECT_TRUE(scheduler.RunBackgroundSlice());
    ASSERT_NE(window.lastCancelBox, nullptr);
    window.lastCancelBox->Cancel();
    EXPECT_EQ(window.cancelBoxLines.back(), "Computing generation 1000 | Cancelled");
    EXPECT_TRUE(scheduler.RunBackgroundSlice());
    EXPECT_TRUE(scheduler.TaskQueue().IsEmpty());
    EXPECT_EQ(game.Generation(), 10);
}

TEST_F(GrowthTasksTest, ReverseGrowthShowsEveryGenerationBackToZero) {
    CGame& game = games.NewGame(*MakeUniverse(RPentomino()));
    const int kLast = 110;
    for (int i = 0; i < kLast; ++i) game.StepForward(nullptr);
    const std::vector<Cells> direct = ReferenceHistory(RPentomino(), kLast);
    window.currentGame = &game;
    window.speed = 100;
    int completions = 0;
    CBgReverseGrow task(scheduler, [&](CBgTask&) { ++completions; });
    scheduler.Schedule(task, clock.now);
    int slices = 0;
    for (; !task.HasFinished(); ++slices) {
        RunNextSlice();
        ASSERT_TRUE(task.HasFinished() || task.Interval() == 10) << task.Interval();
    }
    EXPECT_EQ(game.Generation(), 0);
    EXPECT_EQ(completions, 1);
    // Each tick ends its display on the next generation down; stopping shows generation 0 once more.
    std::vector<int32_t> expected;
    for (int32_t g = kLast - 1; g >= 0; --g) expected.push_back(g);
    expected.push_back(0);
    EXPECT_EQ(window.ended, expected);
    EXPECT_GT(slices, kLast + 1);  // gaps were regrown one step per slice
    for (int32_t g : {0, 17, 49, 51, 99, 108}) EXPECT_EQ(CellsOf(*game.GetGeneration(g)), direct[g]) << g;
}

TEST_F(GrowthTasksTest, TasksWhoseGameWasDeletedStopQuietly) {
    CGame& game = games.NewGame(*MakeUniverse(RPentomino()));
    for (int i = 0; i < 154; ++i) game.StepForward(nullptr);
    window.currentGame = &game;
    window.speed = 1000;
    CBgReverseGrow reverse(scheduler);
    scheduler.Schedule(reverse, clock.now);
    for (int i = 0; i < 5; ++i) RunNextSlice();
    ASSERT_EQ(game.Generation(), 101);  // generation 150 is held while 149 is regrown
    auto grow = StartGrow(scheduler, games.NewGame(*MakeUniverse(Glider())), 500, 0);
    CGame& other = games.NewGame();
    window.currentGame = &other;
    games.DeleteAllOtherGames(other);
    const size_t reports = window.reported.size();
    for (int i = 0; i < 3 && !scheduler.TaskQueue().IsEmpty(); ++i) RunNextSlice();
    EXPECT_TRUE(reverse.HasFinished());
    EXPECT_TRUE(grow->HasFinished());
    EXPECT_EQ(window.reported.size(), reports);
    EXPECT_TRUE(DiscardedUniverses().IsEmpty());  // the held generation went when it was let go
}

}  // namespace
}  // namespace tessera::test
