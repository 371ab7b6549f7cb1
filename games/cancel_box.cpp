#include "games/cancel_box.h"

#include "foundation/messages.h"

namespace tessera {

void CCancelBox::Open(CMainWindowPort* mainWindow, std::string_view title, std::string_view status) {
    title_ = title;
    status_ = status;
    if (mainWindow && !display_) display_ = mainWindow->MakeCancelBoxDisplay(*this);
    Show();
}

void CCancelBox::Cancel() {
    cancelled_ = true;
    status_ = MessageText(msg::Cancelled);
    Show();
}

void CCancelBox::SetStatus(std::string_view status) {
    status_ = status;
    Show();
}

void CCancelBox::Show() {
    if (display_) display_->ShowLines(title_, status_);
}

}  // namespace tessera
