#include "ui/dialog_help.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>

#include "ui/help_window.h"

namespace tessera::ui {

QPushButton* AddHelpButton(QDialog& dialog, QDialogButtonBox& buttons, std::function<QString()> page) {
    QPushButton* button = buttons.addButton(QDialogButtonBox::Help);
    QObject::connect(button, &QPushButton::clicked, &dialog, [&dialog, page = std::move(page)] {
        OpenHelp(page ? page() : HelpPageFor(dialog.windowTitle()));
    });
    // The messages send the user to F1.
    QObject::connect(new QShortcut(QKeySequence::HelpContents, &dialog), &QShortcut::activated, button,
                     &QPushButton::click);
    dialog.setWindowModality(Qt::WindowModal);
    return button;
}

}  // namespace tessera::ui
