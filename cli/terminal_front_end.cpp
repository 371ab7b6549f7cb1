#include "cli/terminal_front_end.h"

#include <ostream>
#include <string>

#include "config/parameters.h"
#include "foundation/messages.h"
#include "games/cancel_box.h"
#include "games/repeat_check.h"

namespace tessera::cli {

// The cancel box on a terminal: its title on a line of its own, then the status line rewritten in place.
// It also tells the main window which box is open, so that an interrupt can press its Cancel button.
class CTerminalMainWindow::CBoxDisplay : public CCancelBoxDisplay {
public:
    CBoxDisplay(CTerminalMainWindow& window, CCancelBox& box) : window_(window), box_(box) {
        window_.openBox_ = &box_;
    }
    ~CBoxDisplay() override {
        if (window_.openBox_ == &box_) window_.openBox_ = nullptr;
        if (window_.showProgress_ && shownAnything_) window_.messages_ << "\n" << std::flush;
    }

    void ShowLines(std::string_view title, std::string_view status) override {
        if (!window_.showProgress_) return;
        if (title != shownTitle_) {
            if (shownAnything_) window_.messages_ << "\n";
            window_.messages_ << title << "\n";
            shownTitle_ = title;
        }
        // Back to the line's start, the new status, and the rest of the old one erased.
        window_.messages_ << "\r" << status << "\x1b[K" << std::flush;
        shownAnything_ = true;
    }

private:
    CTerminalMainWindow& window_;
    CCancelBox& box_;
    std::string shownTitle_;
    bool shownAnything_ = false;
};

CTerminalMainWindow::CTerminalMainWindow(std::ostream& messages, bool showProgress)
    : messages_(messages), showProgress_(showProgress) {}

CTerminalMainWindow::~CTerminalMainWindow() = default;

void CTerminalMainWindow::ReportMessage(CGame& game, int messageId) {
    if (IsRepeatReport(messageId)) {
        repeatReport_ = RepeatMessage(game, messageId);
        return;
    }
    lastMessage_ = messageId;
    if (messageId == heldBackMessage_) return;
    messages_ << MessageText(messageId) << "\n" << std::flush;
}

void CTerminalMainWindow::ReportError(int messageId, std::string_view detail) {
    lastMessage_ = messageId;
    const std::string_view text = MessageText(messageId);
    // The detail of one of the program's exceptions already begins with the message's text.
    if (detail.substr(0, text.size()) == text) {
        messages_ << detail;
    } else {
        messages_ << text;
        if (!detail.empty()) messages_ << " (" << detail << ")";
    }
    messages_ << "\n" << std::flush;
}

// There is no slider: continuous growth runs as fast as the program allows.
uint32_t CTerminalMainWindow::SpeedSliderValue() { return params::MaxGrowSpeed.GetUInt(); }

void CTerminalMainWindow::ArmSliceTimer(int64_t milliseconds) {
    timerArmed_ = true;
    timerMilliseconds_ = milliseconds;
}

std::unique_ptr<CCancelBoxDisplay> CTerminalMainWindow::MakeCancelBoxDisplay(CCancelBox& box) {
    return std::make_unique<CBoxDisplay>(*this, box);
}

bool CTerminalMainWindow::CancelOpenBox() {
    if (!openBox_) return false;
    if (!openBox_->IsCancelled()) openBox_->Cancel();
    return true;
}

}  // namespace tessera::cli
