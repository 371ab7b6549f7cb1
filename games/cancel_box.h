#pragma once
// CCancelBox: the small box with a title line, a status line and a Cancel button that a long growth
// shows. The state lives here; the front end only draws the lines and forwards the button.
#include <memory>
#include <string>
#include <string_view>

#include "games/front_end.h"

namespace tessera {

class CCancelBox {
public:
    CCancelBox() = default;
    CCancelBox(const CCancelBox&) = delete;
    CCancelBox& operator=(const CCancelBox&) = delete;

    // Opens the box with both lines, showing it through the main window's display (if any).
    void Open(CMainWindowPort* mainWindow, std::string_view title, std::string_view status);
    // The user pressed Cancel.
    void Cancel();
    void SetStatus(std::string_view status);

    bool IsCancelled() const { return cancelled_; }
    const std::string& Title() const { return title_; }
    const std::string& Status() const { return status_; }

private:
    void Show();

    bool cancelled_ = false;
    std::string title_;
    std::string status_;
    std::unique_ptr<CCancelBoxDisplay> display_;
};

}  // namespace tessera
