#include "ui/file_report_dialogs.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "formats/file_dialogs.h"

namespace tessera::ui {
namespace {

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

}  // namespace

CSelectUniverseDialog::CSelectUniverseDialog(const CUniverseCollection& universes, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Select Universe"));
    list_ = new QListWidget(this);
    // Rows stand for indices, so that universes of the same name stay apart.
    for (int i = 1; i <= universes.UniverseCount(); ++i)
        list_->addItem(QString::fromStdString(universes.NameAt(i)));
    if (list_->count() > 0) list_->setCurrentRow(0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* label = new QLabel(QStringLiteral("&Universe:"), this);
    label->setBuddy(list_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(list_);
    layout->addWidget(buttons);
}

int CSelectUniverseDialog::Choice() const { return list_->currentItem() ? list_->currentRow() + 1 : 0; }

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
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(report_, 1);
    layout->addWidget(buttons);
    resize(sizeHint().expandedTo(QSize(480, 280)));
}

}  // namespace tessera::ui
