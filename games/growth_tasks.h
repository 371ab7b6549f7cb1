#pragma once
// The background tasks that grow games: to a target generation (CBgGrow), continuously or while a button
// is held (CBgRepeatGrow), and backwards (CBgReverseGrow).
#include <cstdint>
#include <memory>

#include "games/bg_task.h"
#include "games/cancel_box.h"
#include "games/task_scheduler.h"

namespace tessera {

class CGame;
class CGameRegistry;
class CUniverse;
class CMainWindowPort;

// The time between slices for a speed in generations per second (a speed of 0 counts as 1).
int32_t SpeedToInterval(uint32_t speed);

// Grows a game to a target generation, showing every n-th generation on the way (n = 0: only the end).
class CBgGrow : public CBgTask {
public:
    CBgGrow(CTaskScheduler& scheduler, CGame& game, int32_t target, int32_t displayInterval,
            Completion completion = {});
    ~CBgGrow() override;

    bool Run() override;

    int32_t Target() const { return target_; }
    int64_t NextDisplay() const { return nextDisplay_; }
    const CCancelBox* CancelBox() const { return cancelBox_.get(); }

private:
    bool GrowSlice(CGame& game);

    CTaskScheduler& scheduler_;
    CMainWindowPort& mainWindow_;
    CGameRegistry& registry_;
    uint32_t gameSerial_;
    int32_t target_;
    int32_t displayInterval_;
    int64_t nextDisplay_;  // wide: it moves past the largest generation number near the end
    CMillitime sliceStart_;
    std::unique_ptr<CCancelBox> cancelBox_;
};

// Creates a CBgGrow and schedules it at once.
std::unique_ptr<CBgGrow> StartGrow(CTaskScheduler& scheduler, CGame& game, int32_t target,
                                   int32_t displayInterval, CBgTask::Completion completion = {});

// Grows the main window's current game one displayed generation per slice, at the speed of the slider
// (slowly at first when SlowStart is set), until another game is shown or growth stops with a message.
class CBgRepeatGrow : public CBgTask {
public:
    CBgRepeatGrow(CTaskScheduler& scheduler, Completion completion = {});
    bool Run() override;

private:
    CMainWindowPort& mainWindow_;
    bool hasGame_ = false;
    uint32_t gameSerial_ = 0;
};

// Runs the main window's current game backwards, one generation per tick. Earlier generations that are
// not stored are regrown, one step per slice, while the generation on display is held.
class CBgReverseGrow : public CBgTask {
public:
    CBgReverseGrow(CTaskScheduler& scheduler, Completion completion = {});
    ~CBgReverseGrow() override;
    bool Run() override;
    void Finish() override;

    int32_t Target() const { return target_; }

private:
    // The game, or none once it has been destroyed.
    CGame* LiveGame() const;
    void Hold(CUniverse* universe);
    void ReleaseHeld();
    // Makes the held generation current again and lets it go.
    void RestoreHeld(CGame* game);

    CMainWindowPort& mainWindow_;
    CGameRegistry* registry_ = nullptr;
    uint32_t gameSerial_ = 0;
    int32_t target_ = 0;
    CUniverse* held_ = nullptr;
};

}  // namespace tessera
