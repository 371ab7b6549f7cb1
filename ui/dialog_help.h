#pragma once
// The Help button and F1 of a dialog: both open the help page that covers the dialog, chosen by the
// dialog's title when pressed, so that titles naming a game or a pattern still find their page.
#include <QString>
#include <functional>

class QDialog;
class QDialogButtonBox;
class QPushButton;

namespace tessera::ui {

// Adds Help to the dialog's buttons and binds F1 to it. The dialog then blocks only the window it belongs
// to, so that the help can be read while the dialog stays open. A dialog whose part in view has a section
// of its own names the page itself.
QPushButton* AddHelpButton(QDialog& dialog, QDialogButtonBox& buttons, std::function<QString()> page = {});

}  // namespace tessera::ui
