#pragma once
// What the game layer asks of the front end. The desktop windows, the batch tool and the tests each
// implement these small interfaces; the core calls them and never waits on a person.
#include <cstdint>
#include <memory>
#include <string_view>

namespace tessera {

class CGame;
class CUniverse;
class CGrowListener;
class CCancelBox;

// The state a universe window keeps in its game while it is not attached (written and read by the
// window only).
struct CViewState {
    uint32_t words[3] = {0, 0, 0};
};

// The universe window that shows a game: it hears about births and deaths while the game grows, may
// hold a floating (pasted, not yet placed) object, and is told when the game's current generation changes.
class CDisplayContext {
public:
    virtual ~CDisplayContext() = default;

    // The listener passed to Grow while this window displays growth; none when it wants no reports.
    virtual CGrowListener* Listener() = 0;
    // The floating object, or none.
    virtual CUniverse* FloatingObject() = 0;
    // The game's current generation has changed (the window redraws it).
    virtual void CurrentGenerationChanged() = 0;
    // The window is detaching from its game: it keeps what it needs to restore its view.
    virtual void SaveViewState(CViewState& state) = 0;
    // Grows the window's game by one generation with display (StepForward with this context, then a
    // redraw; a non-zero status ends the growth display and is reported). Answers the status.
    virtual int GrowOneGeneration() = 0;
};

// The status lines of the cancel box as the user sees them. The front end makes one when a long growth
// opens a cancel box, and calls CCancelBox::Cancel when the user presses its button.
class CCancelBoxDisplay {
public:
    virtual ~CCancelBoxDisplay() = default;
    virtual void ShowLines(std::string_view title, std::string_view status) = 0;
};

// The main window, as the background tasks see it.
class CMainWindowPort {
public:
    virtual ~CMainWindowPort() = default;

    // The game the main window shows, or none.
    virtual CGame* CurrentGame() = 0;
    // Shows the given game's current generation (an intermediate or final display of a long growth).
    virtual void ShowGeneration(CGame& game) = 0;
    // The game's window stops any growth display (for example a flash of differences) and shows the
    // current generation plainly.
    virtual void EndGrowthDisplay(CGame& game) = 0;
    // Busy state while a long growth runs; nested enters are matched by leaves.
    virtual void EnterBusyState() = 0;
    virtual void LeaveBusyState() = 0;
    // Shows the busy cursor when the pointer is over one of the main window's child windows other than
    // the cancel box.
    virtual void ShowBusyCursor() = 0;
    // Tells the user the message of this number about the game (a growth refusal or repeat report).
    virtual void ReportMessage(CGame& game, int messageId) = 0;
    // Tells the user that an operation failed with this message (out of memory, unexpected error...).
    virtual void ReportError(int messageId, std::string_view detail) = 0;
    // The growth speed set with the speed slider, generations per second.
    virtual uint32_t SpeedSliderValue() = 0;
    // The one-shot slice timer that wakes the task runner for a task due later.
    virtual void ArmSliceTimer(int64_t milliseconds) = 0;
    virtual void KillSliceTimer() = 0;
    // Posts a menu command to the main window, to run once the current slice has returned.
    virtual void PostCommand(uint32_t commandId) = 0;
    // A view of the given cancel box, or none when the front end shows no such box.
    [[nodiscard]] virtual std::unique_ptr<CCancelBoxDisplay> MakeCancelBoxDisplay(CCancelBox& box) = 0;
};

// The platform's own idle work, run by the application's idle handler around the task runner.
class CIdleProcessing {
public:
    virtual ~CIdleProcessing() = default;
    // Normal idle processing for an idle count; answers whether more idle calls are wanted.
    virtual bool NormalIdle(long count) = 0;
    // The light step (count 1) run between background slices.
    virtual void LightIdle() = 0;
    // Full idle processing for one count; answers whether there is more work.
    virtual bool FullIdle(long count) = 0;
};

}  // namespace tessera
