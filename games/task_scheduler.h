#pragma once
// CTaskScheduler: the queue of background tasks and the runner the idle handler calls. One instance
// serves the application (TheTaskScheduler); tests make their own with a test clock.
#include <cstdint>
#include <optional>

#include "foundation/deque.h"
#include "games/bg_task.h"
#include "games/front_end.h"
#include "games/millitime.h"

namespace tessera {

// How the runner divides time, in milliseconds.
struct CSchedulerTimings {
    int64_t backgroundSlice;  // growth per slice of a far-target growth
    int64_t idleInterval;     // between full idle passes of the platform while tasks run
    int64_t maxSpinTime;      // a task due within this is waited for by spinning, a later one by the timer
};

class CTaskScheduler {
public:
    // Timings given by the caller.
    CTaskScheduler(CClock& clock, const CSchedulerTimings& timings);
    // Timings read from the parameters (BackgroundSlice, IdleInterval, MaxSpinTime) on first use.
    explicit CTaskScheduler(CClock& clock);
    CTaskScheduler(const CTaskScheduler&) = delete;
    CTaskScheduler& operator=(const CTaskScheduler&) = delete;
    // Queued tasks are unlinked, not finished (FinishAllTasks is the orderly way out).
    ~CTaskScheduler();

    void SetMainWindow(CMainWindowPort* mainWindow) { mainWindow_ = mainWindow; }
    CMainWindowPort* MainWindow() const { return mainWindow_; }
    CMillitime Now() const { return clock_.Now(); }
    const CSchedulerTimings& Timings();

    // Queues the task to be due at the given time, behind every queued task due at the same time.
    void Schedule(CBgTask& task, const CMillitime& due);
    // Marks the task to be finished; a queued task moves to the front at now, so the next runner call
    // finishes it and posts the completion command (0 for none).
    void RequestFinish(CBgTask& task, uint32_t completionCommand);
    // Takes the task out of the queue and finishes it at once (a task asked from within its own slice is
    // finished as soon as that slice returns).
    void FinishNow(CBgTask& task);
    // Finishes every queued task (at exit).
    void FinishAllTasks();

    // Runs at most one slice of the earliest due task. True: call again soon; false: nothing to do until
    // the slice timer fires or a new task arrives.
    bool RunBackgroundSlice();
    // The one-shot slice timer fired.
    bool OnSliceTimer();
    // The application's idle handler for idle count `count`: runs the task runner and, around it, the
    // platform's idle work (throttled to one full pass per idle interval while tasks run).
    bool RunIdle(CIdleProcessing& platform, long count);

    const CPriorityQueue<CBgTask, CMillitime>& TaskQueue() const { return queue_; }
    bool IsTimerArmed() const { return timerArmed_; }
    const CMillitime& TimerDue() const { return timerDue_; }

private:
    CClock& clock_;
    std::optional<CSchedulerTimings> timings_;
    CMainWindowPort* mainWindow_ = nullptr;
    CPriorityQueue<CBgTask, CMillitime> queue_;
    CBgTask* running_ = nullptr;  // the task whose slice is running
    bool runningFinishedNow_ = false;
    bool timerArmed_ = false;
    CMillitime timerDue_;
    CMillitime lastFullIdle_;
};

// The application's scheduler, on the system clock with the configured timings.
CTaskScheduler& TheTaskScheduler();

}  // namespace tessera
