#include "ui/file_error_report_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "ui/dialog_help.h"

namespace tessera::ui {
namespace {

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

}  // namespace

CFileErrorReportDialog::CFileErrorReportDialog(std::string_view caption, std::string_view report,
                                               QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("File Error report"));
    auto* label = new QLabel(Text(caption), this);
    label->setWordWrap(true);
    report_ = new QPlainTextEdit(Text(report), this);
    report_->setReadOnly(true);
    report_->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    AddHelpButton(*this, *buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(report_, 1);
    layout->addWidget(buttons);
    resize(sizeHint().expandedTo(QSize(480, 280)));
}

}  // namespace tessera::ui
