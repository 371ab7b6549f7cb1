#include "ui/census_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "engine/growable_universe.h"
#include "foundation/messages.h"
#include "games/game.h"
#include "patterns/named_pattern.h"
#include "patterns/pattern_library.h"
#include "ui/dialog_help.h"
#include "ui/message_sink.h"
#include "ui/pattern_details.h"
#include "ui/universe_window.h"

namespace tessera::ui {
namespace {

constexpr int kPatternRole = Qt::UserRole;
constexpr int kLibraryRole = Qt::UserRole;
constexpr int kColumnGap = 4;

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

// ---- Census Library

CCensusLibraryDialog::CCensusLibraryDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Census Library"));
    list_ = new QListWidget(this);
    const int32_t chosen = TheCensus().LibraryNumber();
    for (CPatternLibrary* library = Libraries().First(); library; library = library->Next()) {
        if (library->IsReadOnly()) continue;
        auto* item = new QListWidgetItem(Text(library->Description()), list_);
        item->setData(kLibraryRole, library->Number());
        if (library->Number() == chosen) list_->setCurrentItem(item);
    }
    if (!list_->currentItem() && list_->count() > 0) list_->setCurrentRow(0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    AddHelpButton(*this, *buttons);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setEnabled(list_->count() > 0);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Library for new patterns:"), this));
    layout->addWidget(list_);
    layout->addWidget(buttons);
}

void CCensusLibraryDialog::accept() {
    const QListWidgetItem* item = list_->currentItem();
    if (!item) return;
    TheCensus().SetLibraryNumber(item->data(kLibraryRole).toInt());
    QDialog::accept();
}

// ---- Census

CCensusDialog::CCensusDialog(ECensusMode mode, const CGame* game, QWidget* parent)
    : QDialog(parent), mode_(mode) {
    setWindowTitle(Text(TheCensus().Title(mode, game)));
    table_ = new QTreeWidget(this);
    table_->setRootIsDecorated(false);
    table_->setUniformRowHeights(true);
    table_->setColumnCount(3);
    table_->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Quantity"), QStringLiteral("Size")});
    table_->headerItem()->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    table_->header()->setSectionsClickable(true);
    table_->header()->setSortIndicatorShown(true);
    table_->header()->setStretchLastSection(false);
    connect(table_->header(), &QHeaderView::sectionClicked, this, [this](int column) {
        TheCensus().ClickColumn(ECensusColumn(column));
        Fill();
    });
    table_->viewport()->installEventFilter(this);  // the columns keep their shares of the width
    details_ = new CPatternDetails(this);
    connect(table_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        details_->Show(item ? static_cast<CNamedPattern*>(item->data(0, kPatternRole).value<void*>())
                            : nullptr);
    });

    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    AddHelpButton(*this, *buttons);
    const auto add = [&](const char* text) {
        return buttons->addButton(QString::fromUtf8(text), QDialogButtonBox::ActionRole);
    };
    connect(add("&Export..."), &QPushButton::clicked, this, &CCensusDialog::Export);
    connect(add("&Copy"), &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(TableText()); });
    const CCensusResult* last = TheCensus().Last();
    if (mode == ECensusMode::Census) {
        QPushButton* unclassifiable = add("&Unclassifiable");
        unclassifiable->setEnabled(last && last->unclassifiable && last->unclassifiable->Population() > 0);
        connect(unclassifiable, &QPushButton::clicked, this, [this] { done(kUnclassifiable); });
    } else {
        connect(add("&Library..."), &QPushButton::clicked, this, &CCensusDialog::ChooseLibrary);
        connect(add("&Zero Counts"), &QPushButton::clicked, this, [this] {
            ZeroCounts();
            Fill();
        });
    }
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setDefault(true);  // Enter closes rather than exporting
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(table_, 3);
    top->addWidget(details_, 2);
    top->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    if (mode == ECensusMode::Census) {
        summary_ = new QLabel(Text(TheCensus().Summary()), this);
        layout->addWidget(summary_);
    }
    Fill();
    resize(sizeHint().expandedTo(QSize(640, 360)));
}

QPushButton* CCensusDialog::Button(const char* text) const {
    for (QPushButton* button : findChildren<QPushButton*>())
        if (button->text().remove(QLatin1Char('&')) == QString::fromUtf8(text)) return button;
    return nullptr;
}

void CCensusDialog::Fill() {
    table_->clear();
    for (const CCensusRow& row : TheCensus().Rows(mode_)) {
        auto* item = new QTreeWidgetItem(table_);
        item->setText(0, Text(row.name));
        item->setText(1, QString::number(row.quantity));
        item->setText(2, QString::number(row.size));
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        item->setData(0, kPatternRole, QVariant::fromValue(static_cast<void*>(row.pattern)));
    }
    table_->header()->setSortIndicator(int(TheCensus().SortColumn()),
                                       TheCensus().Ascending() ? Qt::AscendingOrder : Qt::DescendingOrder);
    details_->Show(nullptr);
}

void CCensusDialog::SizeColumns() {
    const int w = table_->viewport()->width();
    table_->setColumnWidth(0, w / 2);
    table_->setColumnWidth(1, w / 4);
    table_->setColumnWidth(2, w - w / 2 - w / 4 - kColumnGap);
}

bool CCensusDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == table_->viewport() && event->type() == QEvent::Resize) SizeColumns();
    return QDialog::eventFilter(watched, event);
}

QString CCensusDialog::TableText() const {
    QString text;
    for (int i = 0; i < table_->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = table_->topLevelItem(i);
        text += item->text(0) + QLatin1Char(',') + item->text(1) + QLatin1Char(',') + item->text(2) +
                QLatin1Char('\n');
    }
    return text;
}

bool CCensusDialog::ExportTo(const QString& fileName) {
    const std::string failure = TheCensus().Export(mode_, fileName.toStdString());
    if (failure.empty()) return true;
    ShowMessage(this, QMessageBox::Warning, Text(failure));
    return false;
}

void CCensusDialog::Export() {
    QFileDialog dialog(this, QStringLiteral("Export"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.setNameFilters({QStringLiteral("Text files (*.txt)"), QStringLiteral("All files (*)")});
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        ExportTo(dialog.selectedFiles().front());
}

void CCensusDialog::ChooseLibrary() {
    CCensusLibraryDialog dialog(this);
    dialog.exec();
}

// ---- Running the census

bool CQtCensusFrontEnd::ChooseCensusLibrary() {
    CCensusLibraryDialog dialog(parent_);
    return dialog.exec() == QDialog::Accepted;
}

void CQtCensusFrontEnd::ShowProgress(const std::string& text) {
    if (progress_) progress_(Text(text));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void RunCensusDialog(ECensusMode mode, CUniverseWindow& window, CCensusFrontEnd& frontEnd, QWidget* parent) {
    CGame* game = window.Game();
    if (mode == ECensusMode::Census) {
        if (!game) return;
        if (!TheCensus().Open(*game, frontEnd)) return;  // no library chosen
    }
    CCensusDialog dialog(mode, game, parent);
    if (dialog.exec() != CCensusDialog::kUnclassifiable) return;
    const CCensusResult* last = TheCensus().Last();
    if (!last || !last->unclassifiable || window.Game() != game) return;
    window.SelectCells(std::make_unique<CGrowableUniverse>(*last->unclassifiable));
}

}  // namespace tessera::ui
