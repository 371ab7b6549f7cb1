#include "games/growth_tasks.h"

#include <new>
#include <optional>
#include <string>

#include "config/parameters.h"
#include "foundation/errors.h"
#include "foundation/messages.h"
#include "games/game.h"
#include "games/game_registry.h"

namespace tessera {
namespace {

CMainWindowPort& RequireMainWindow(CTaskScheduler& scheduler) {
    if (!scheduler.MainWindow()) throw CErrorException(msg::UnexpectedError, "growth without a main window");
    return *scheduler.MainWindow();
}

// Runs a growth step and answers what it answered. A failure it throws ends the growth display and is
// reported to the user as its message; the answer is then none.
template <class Step>
auto GuardedStep(Step&& step, CMainWindowPort& mainWindow, CGame& game) -> std::optional<decltype(step())> {
    int failure = msg::UnexpectedError;
    std::string detail;
    try {
        return step();
    } catch (const CErrorException& e) {
        failure = e.MessageId();
        detail = e.what();
    } catch (const std::bad_alloc&) {
        failure = msg::OutOfMemory;
    } catch (const std::exception& e) {
        detail = e.what();
    }
    mainWindow.EndGrowthDisplay(game);
    mainWindow.ReportError(failure, detail);
    return std::nullopt;
}

}  // namespace

int32_t SpeedToInterval(uint32_t speed) {
    if (speed == 0) speed = 1;
    return speed > 1000 ? 0 : int32_t(1000 / speed);
}

// ---- CBgGrow

CBgGrow::CBgGrow(CTaskScheduler& scheduler, CGame& game, int32_t target, int32_t displayInterval,
                 Completion completion)
    : CBgTask(std::move(completion)),
      scheduler_(scheduler),
      mainWindow_(RequireMainWindow(scheduler)),
      registry_(game.Registry()),
      gameSerial_(game.Serial()),
      target_(target),
      displayInterval_(displayInterval) {
    const int32_t start = game.Generation();
    if (displayInterval == 0 || !(uint32_t(target) > uint32_t(start))) game.ResetToGeneration(target);
    nextDisplay_ = displayInterval == 0 || target < start ? 0 : int64_t{start} + displayInterval;
    sliceStart_ = scheduler.Now();
    mainWindow_.EnterBusyState();
}

CBgGrow::~CBgGrow() {
    cancelBox_.reset();
    mainWindow_.LeaveBusyState();
}

bool CBgGrow::Run() {
    // A game deleted while its growth was queued ends the growth quietly.
    CGame* game = registry_.FindGameBySerial(gameSerial_);
    if (!game) return false;
    mainWindow_.ShowBusyCursor();
    const std::optional<bool> more =
        GuardedStep([this, game] { return GrowSlice(*game); }, mainWindow_, *game);
    if (!more.value_or(false)) return false;

    sliceStart_ = scheduler_.Now();
    std::string status = FormatMessage(msg::CurrentlyAtGeneration, std::to_string(game->Generation()));
    if (!cancelBox_) {
        cancelBox_ = std::make_unique<CCancelBox>();
        cancelBox_->Open(&mainWindow_, FormatMessage(msg::ComputingGeneration, std::to_string(target_)),
                         status);
    } else {
        cancelBox_->SetStatus(status);
    }
    return true;
}

// Steps until the slice is used up (true: more to do) or the growth is over (false).
bool CBgGrow::GrowSlice(CGame& game) {
    for (;;) {
        if (game.Generation() >= target_ || (cancelBox_ && cancelBox_->IsCancelled())) {
            mainWindow_.EndGrowthDisplay(game);
            return false;
        }
        if (int status = game.StepForward(nullptr)) {
            mainWindow_.EndGrowthDisplay(game);
            mainWindow_.ReportMessage(game, status);
            return false;
        }
        if (game.Generation() == nextDisplay_) {
            mainWindow_.ShowGeneration(game);
            nextDisplay_ += displayInterval_;
            return true;
        }
        if (scheduler_.Now().MillisecondsSince(sliceStart_) > scheduler_.Timings().backgroundSlice)
            return true;
    }
}

std::unique_ptr<CBgGrow> StartGrow(CTaskScheduler& scheduler, CGame& game, int32_t target,
                                   int32_t displayInterval, CBgTask::Completion completion) {
    auto task = std::make_unique<CBgGrow>(scheduler, game, target, displayInterval, std::move(completion));
    scheduler.Schedule(*task, scheduler.Now());
    return task;
}

// ---- CBgRepeatGrow

CBgRepeatGrow::CBgRepeatGrow(CTaskScheduler& scheduler, Completion completion)
    : CBgTask(std::move(completion)), mainWindow_(RequireMainWindow(scheduler)) {
    if (CGame* game = mainWindow_.CurrentGame()) {
        hasGame_ = true;
        gameSerial_ = game->Serial();
    }
}

bool CBgRepeatGrow::Run() {
    // Serial numbers never repeat, so this also notices a game that was deleted and replaced.
    CGame* game = mainWindow_.CurrentGame();
    if (!hasGame_ || !game || game->Serial() != gameSerial_ || !game->Window()) return false;
    const std::optional<int> status =
        GuardedStep([game] { return game->Window()->GrowOneGeneration(); }, mainWindow_, *game);
    if (status != 0) return false;  // a failure, or a message the window has reported
    uint32_t speed = mainWindow_.SpeedSliderValue();
    if (params::SlowStart.GetInt() != 0 && game->Generation() >= 0 &&
        uint32_t(game->Generation()) < params::SlowStartGenerations.GetUInt())
        speed = params::SlowStartGrowSpeed.GetUInt();
    SetInterval(SpeedToInterval(speed));
    return true;
}

// ---- CBgReverseGrow

CBgReverseGrow::CBgReverseGrow(CTaskScheduler& scheduler, Completion completion)
    : CBgTask(std::move(completion)), mainWindow_(RequireMainWindow(scheduler)) {
    if (CGame* game = mainWindow_.CurrentGame()) {
        registry_ = &game->Registry();
        gameSerial_ = game->Serial();
        target_ = game->Generation();
    }
}

CBgReverseGrow::~CBgReverseGrow() { ReleaseHeld(); }

CGame* CBgReverseGrow::LiveGame() const {
    return registry_ ? registry_->FindGameBySerial(gameSerial_) : nullptr;
}

void CBgReverseGrow::Hold(CUniverse* universe) {
    ReleaseHeld();
    held_ = universe;
    held_->Acquire();
}

void CBgReverseGrow::ReleaseHeld() {
    if (!held_) return;
    CUniverse* universe = held_;
    held_ = nullptr;
    universe->Release();
}

void CBgReverseGrow::RestoreHeld(CGame* game) {
    if (held_ && game) game->RestoreCurrent(*held_);
    ReleaseHeld();
}

bool CBgReverseGrow::Run() {
    CGame* game = LiveGame();
    CGame* shown = mainWindow_.CurrentGame();
    if (!game || shown != game) {
        RestoreHeld(game);
        if (game) mainWindow_.EndGrowthDisplay(*game);
        return false;
    }
    if (game->Generation() >= target_) {
        if (game->Generation() == 0) {
            ReleaseHeld();
            return false;
        }
        // Keep showing this generation while the one before it is regrown behind it.
        Hold(&game->Current());
        target_ = game->Generation() - 1;
        game->ResetToGeneration(target_);
    }
    if (game->Generation() < target_) {
        const std::optional<int> status =
            GuardedStep([game] { return game->StepForward(nullptr); }, mainWindow_, *game);
        if (status != 0) {
            if (status) {  // a refusal or repeat; a failure has been reported already
                mainWindow_.EndGrowthDisplay(*game);
                mainWindow_.ReportMessage(*game, *status);
            }
            RestoreHeld(game);
            return false;
        }
    }
    if (game->Generation() >= target_) {
        // This tick's generation is ready: it replaces the held one on display.
        ReleaseHeld();
        mainWindow_.EndGrowthDisplay(*game);
    }
    SetInterval(SpeedToInterval(mainWindow_.SpeedSliderValue()));
    return true;
}

void CBgReverseGrow::Finish() {
    CGame* game = LiveGame();
    RestoreHeld(game);
    if (game) mainWindow_.EndGrowthDisplay(*game);
    CBgTask::Finish();
}

}  // namespace tessera
