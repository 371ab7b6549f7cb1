#include "games/task_scheduler.h"

#include "config/parameters.h"

namespace tessera {

CTaskScheduler::CTaskScheduler(CClock& clock, const CSchedulerTimings& timings)
    : clock_(clock), timings_(timings) {}

CTaskScheduler::CTaskScheduler(CClock& clock) : clock_(clock) {}

CTaskScheduler::~CTaskScheduler() {
    while (CBgTask* task = queue_.First()) task->Unlink();
}

const CSchedulerTimings& CTaskScheduler::Timings() {
    if (!timings_) {
        timings_ = CSchedulerTimings{params::BackgroundSlice.GetInt(), params::IdleInterval.GetInt(),
                                     params::MaxSpinTime.GetInt()};
    }
    return *timings_;
}

void CTaskScheduler::Schedule(CBgTask& task, const CMillitime& due) {
    task.Unlink();
    task.key = due;
    queue_.Insert(&task);
}

void CTaskScheduler::RequestFinish(CBgTask& task, uint32_t completionCommand) {
    task.finishRequested_ = true;
    task.completionCommand_ = completionCommand;
    if (task.IsQueued()) Schedule(task, Now());
}

void CTaskScheduler::FinishNow(CBgTask& task) {
    task.finishRequested_ = true;
    task.Unlink();
    // A task whose slice is still on the stack is finished when the slice returns: its owner may destroy
    // it from the completion, which must not happen under its own Run.
    if (&task == running_) {
        runningFinishedNow_ = true;
        return;
    }
    task.FinishOnce();
}

void CTaskScheduler::FinishAllTasks() {
    while (CBgTask* task = queue_.First()) FinishNow(*task);
}

bool CTaskScheduler::RunBackgroundSlice() {
    CBgTask* task = queue_.First();
    if (!task) return false;

    if (task->FinishRequested()) {
        if (task->CompletionCommand() != 0 && mainWindow_)
            mainWindow_->PostCommand(task->CompletionCommand());
        task->Unlink();
        task->FinishOnce();
        return false;
    }

    const CMillitime due = task->DueTime();
    int64_t untilDue = due.MillisecondsSince(Now());
    if (untilDue > Timings().maxSpinTime) {
        // Hand the wait to the timer; one already armed for this time or earlier will do.
        if (!(timerArmed_ && !(due < timerDue_))) {
            if (timerArmed_ && mainWindow_) mainWindow_->KillSliceTimer();
            timerArmed_ = true;
            timerDue_ = due;
            if (mainWindow_) mainWindow_->ArmSliceTimer(untilDue);
        }
        return false;
    }

    clock_.SpinUntil(due);
    task->Unlink();
    const CMillitime start = Now();
    running_ = task;
    runningFinishedNow_ = false;
    bool goOn;
    try {
        goOn = task->Run();
    } catch (...) {
        // The task cannot go on; its owner still learns that it has ended.
        running_ = nullptr;
        task->FinishOnce();
        throw;
    }
    running_ = nullptr;
    if (!goOn || runningFinishedNow_) {
        task->FinishOnce();
        return true;
    }
    Schedule(*task, start.Plus(task->Interval()));
    return true;
}

bool CTaskScheduler::OnSliceTimer() {
    if (timerArmed_ && mainWindow_) mainWindow_->KillSliceTimer();
    timerArmed_ = false;
    return RunBackgroundSlice();
}

bool CTaskScheduler::RunIdle(CIdleProcessing& platform, long count) {
    if (!RunBackgroundSlice()) {
        lastFullIdle_ = Now();
        return platform.NormalIdle(count);
    }
    platform.LightIdle();
    CMillitime now = Now();
    if (now.MillisecondsSince(lastFullIdle_) > Timings().idleInterval) {
        lastFullIdle_ = now;
        for (long idleCount = 0; platform.FullIdle(idleCount); ++idleCount) {
        }
    }
    return true;
}

CTaskScheduler& TheTaskScheduler() {
    static CSystemClock clock;
    static CTaskScheduler scheduler(clock);
    return scheduler;
}

}  // namespace tessera
