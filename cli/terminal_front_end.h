#pragma once
// The batch tool's answers to what the background tasks ask of the main window: nothing to draw, no
// person to wait for; messages go to a stream (stderr), and a long growth's cancel box shows its two
// lines on the terminal when there is one.
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "games/front_end.h"

namespace tessera::cli {

class CTerminalMainWindow : public CMainWindowPort {
public:
    // Messages are written to `messages`; the cancel box's lines too when showProgress is set (when
    // that stream is a terminal).
    CTerminalMainWindow(std::ostream& messages, bool showProgress);
    ~CTerminalMainWindow() override;

    void SetCurrentGame(CGame* game) { currentGame_ = game; }

    CGame* CurrentGame() override { return currentGame_; }
    void ShowGeneration(CGame&) override {}  // the result is written once the growth has ended
    void EndGrowthDisplay(CGame&) override {}
    void EnterBusyState() override {}  // a terminal has no busy state to show
    void LeaveBusyState() override {}
    void ShowBusyCursor() override {}
    void ReportMessage(CGame& game, int messageId) override;
    void ReportError(int messageId, std::string_view detail) override;
    uint32_t SpeedSliderValue() override;
    void ArmSliceTimer(int64_t milliseconds) override;
    void KillSliceTimer() override { timerArmed_ = false; }
    void PostCommand(uint32_t commandId) override { postedCommands_.push_back(commandId); }
    [[nodiscard]] std::unique_ptr<CCancelBoxDisplay> MakeCancelBoxDisplay(CCancelBox& box) override;

    // A message the caller reports itself, when it is one: it is recorded as the last message but not
    // written.
    void HoldBackMessage(int messageId) { heldBackMessage_ = messageId; }

    // Presses Cancel in the open cancel box, if there is one; answers whether there was.
    bool CancelOpenBox();

    // The last message reported for a game or as an error (0: none); repeat reports of automatic stop
    // are not failures and are kept apart, as their text with the generations filled in.
    int LastMessage() const { return lastMessage_; }
    const std::string& RepeatReport() const { return repeatReport_; }
    bool IsTimerArmed() const { return timerArmed_; }
    int64_t TimerMilliseconds() const { return timerMilliseconds_; }

private:
    class CBoxDisplay;
    friend class CBoxDisplay;

    std::ostream& messages_;
    bool showProgress_;
    CGame* currentGame_ = nullptr;
    CCancelBox* openBox_ = nullptr;
    int lastMessage_ = 0;
    std::string repeatReport_;
    int heldBackMessage_ = 0;
    bool timerArmed_ = false;
    int64_t timerMilliseconds_ = 0;
    std::vector<uint32_t> postedCommands_;
};

}  // namespace tessera::cli
