#pragma once
// CBgTask: a piece of long work run in slices from the idle loop. A task waits in the scheduler's queue
// ordered by the time it is next due; each slice either finishes it or asks to run again after its
// interval. Tasks are owned by whoever created them; the scheduler only links them.
#include <cstdint>
#include <functional>

#include "foundation/deque.h"
#include "games/millitime.h"

namespace tessera {

class CTaskScheduler;

class CBgTask : public CPriorityQueueElement<CBgTask, CMillitime> {
public:
    // Told once that the task has ended; the owner may destroy the task from here.
    using Completion = std::function<void(CBgTask&)>;

    explicit CBgTask(Completion completion = {}) : completion_(std::move(completion)) {}

    // One slice of work: true to continue, false when done.
    virtual bool Run() = 0;
    // Runs once, when the task leaves the scheduler for good. Overrides must call the base last, since
    // the completion may destroy the task.
    virtual void Finish();

    bool IsQueued() const { return IsLinked(); }
    const CMillitime& DueTime() const { return key; }
    bool FinishRequested() const { return finishRequested_; }
    bool HasFinished() const { return finished_; }
    uint32_t CompletionCommand() const { return completionCommand_; }
    // Milliseconds from the start of a slice that continues to the task's next slice.
    int32_t Interval() const { return interval_; }
    void SetInterval(int32_t milliseconds) { interval_ = milliseconds; }

private:
    friend class CTaskScheduler;
    void FinishOnce();

    uint32_t completionCommand_ = 0;
    bool finishRequested_ = false;
    bool finished_ = false;
    int32_t interval_ = 0;
    Completion completion_;
};

}  // namespace tessera
