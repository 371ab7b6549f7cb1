#include "ui/qt_file_dialogs.h"

#include <QMessageBox>

#include "ui/dialogs.h"
#include "ui/message_sink.h"
#include "ui/select_universe_dialog.h"

namespace tessera::ui {

int CQtFileDialogs::SelectUniverse(const CUniverseCollection& universes) {
    CSelectUniverseDialog dialog(universes, parent_);
    return dialog.exec() == QDialog::Accepted ? dialog.Choice() : 0;
}

void CQtFileDialogs::ShowErrorReport(std::string_view caption, std::string_view report) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("File Error report"),
                    QString::fromUtf8(caption.data(), qsizetype(caption.size())), QMessageBox::Ok, parent_);
    box.setDetailedText(QString::fromUtf8(report.data(), qsizetype(report.size())));
    box.exec();
}

bool CQtFileDialogs::AskForOtherName(CName& name) {
    for (;;) {
        CNameDialog dialog(QString::fromStdString(name.Text()), parent_);
        if (dialog.exec() != QDialog::Accepted) return false;
        if (dialog.Name() != name.Text()) {
            name = CName(dialog.Name());
            return true;
        }
    }
}

}  // namespace tessera::ui
