#include "cli/game_growth.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

#include "cli/interrupt_guard.h"
#include "cli/terminal_front_end.h"
#include "foundation/messages.h"
#include "games/game.h"
#include "games/growth_tasks.h"
#include "games/millitime.h"
#include "games/task_scheduler.h"

namespace tessera::cli {

CGrowthOutcome GrowToGeneration(CGame& game, int32_t target, CTerminalMainWindow& window,
                                const CInterruptGuard& interrupt) {
    CSystemClock clock;
    CTaskScheduler scheduler(clock);
    scheduler.SetMainWindow(&window);
    window.HoldBackMessage(msg::NothingToGrow);
    window.SetCurrentGame(&game);

    bool finished = false;
    std::unique_ptr<CBgGrow> task =
        StartGrow(scheduler, game, target, 0, [&finished](CBgTask&) { finished = true; });
    while (!finished) {
        // The signal handler only noted the request; the cancel box is pressed here, between slices,
        // and the task stops at its next step.
        if (interrupt.Requested()) window.CancelOpenBox();
        if (scheduler.RunBackgroundSlice() || finished) continue;
        if (scheduler.TaskQueue().Count() == 0) break;  // nothing left that could finish it
        // Nothing was due: the runner armed its slice timer instead of spinning. Sleep until then.
        if (window.IsTimerArmed()) {
            std::this_thread::sleep_for(
                std::chrono::milliseconds(std::clamp<int64_t>(window.TimerMilliseconds(), 1, 50)));
            scheduler.OnSliceTimer();
        }
    }
    task.reset();

    CGrowthOutcome outcome;
    outcome.messageId = window.LastMessage();
    outcome.cancelled = interrupt.Requested() && game.Generation() < target && outcome.messageId == 0;
    window.SetCurrentGame(nullptr);
    return outcome;
}

}  // namespace tessera::cli
