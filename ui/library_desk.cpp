#include "ui/library_desk.h"

#include <QAction>
#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimer>

#include "foundation/messages.h"
#include "patterns/library_commands.h"
#include "patterns/library_loader.h"
#include "patterns/named_pattern.h"
#include "patterns/pattern_library.h"
#include "ui/command_ids.h"
#include "ui/message_sink.h"
#include "ui/pattern_library_dialog.h"

namespace tessera::ui {
namespace {

QString FromView(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

// The menu items of the system and user libraries come first in the Libraries menu; the other
// libraries follow them.
constexpr int kFixedLibraryItems = 2;

}  // namespace

CLibraryDesk::CLibraryDesk(QMainWindow& window, CTaskScheduler& scheduler, QMenu& librariesMenu)
    : QObject(&window), window_(window), scheduler_(scheduler), librariesMenu_(librariesMenu) {
    InstallLibraryFrontEnd(this);
    SetLibraryTaskScheduler(&scheduler_);
}

CLibraryDesk::~CLibraryDesk() {
    CloseAllLibraries();
    SetLibraryTaskScheduler(nullptr);
    InstallLibraryFrontEnd(nullptr);
}

void CLibraryDesk::LoadAtStartup() {
    RunGuarded(&window_, [] { LoadStartupLibraries(); });
    if (LibraryLoadTask()) emit tasksScheduled();
}

bool CLibraryDesk::RunCommand(uint32_t commandId) {
    switch (commandId) {
        case cmd::kNewLibrary:
            NewLibraryFromDialog();
            return true;
        case cmd::kLoadLibrary:
            LoadLibraryFromDialog();
            return true;
        case cmd::kSaveLibraries:
            SaveAllLibraries();
            return true;
        case cmd::kSystemLibrary:
            OpenPatternLibraryDialog(&window_, kSystemLibraryNumber);
            return true;
        case cmd::kUserLibrary:
            OpenPatternLibraryDialog(&window_, kUserLibraryNumber);
            return true;
        default:
            return false;
    }
}

void CLibraryDesk::NewLibraryFromDialog() {
    const std::optional<std::string> file = AskSaveFileName(MessageText(msg::LibraryFileFilter), "lfl", {});
    if (file) CreateNewLibrary(*file);
}

void CLibraryDesk::LoadLibraryFromDialog() {
    QFileDialog dialog(&window_, QStringLiteral("Load Library"), {},
                       QtFilter(MessageText(msg::LibraryFileFilter)));
    dialog.setOption(QFileDialog::DontUseNativeDialog);  // it carries the read-only choice
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    auto* readOnly = new QCheckBox(QStringLiteral("Open as &read-only"), &dialog);
    readOnly->setObjectName(QStringLiteral("readOnly"));
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(readOnly, grid->rowCount(), 0, 1, grid->columnCount());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const std::string file = dialog.selectedFiles().constFirst().toStdString();
    LoadLibrary(file, readOnly->isChecked(), false);
    if (LibraryLoadTask()) emit tasksScheduled();
}

void CLibraryDesk::SaveOrAskAtShutDown() {
    // Each library with changes is saved if the user wants it; the libraries themselves are closed with
    // the desk, so that closing them leaves the preload list as it is.
    for (CPatternLibrary* library = Libraries().First(); library; library = library->Next()) {
        if (library->IsReadOnly() || !library->IsModified()) continue;
        if (AskYesNo(FormatMessage(msg::SaveLibraryPrompt, library->Description()))) SaveLibrary(*library);
    }
}

// ---- The front end

void CLibraryDesk::ShowMessage(std::string_view text) {
    ui::ShowMessage(&window_, QMessageBox::Warning, FromView(text));
}

bool CLibraryDesk::AskYesNo(std::string_view text) {
    return QMessageBox::question(&window_, QStringLiteral("Tessera"), FromView(text),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool CLibraryDesk::AskOkCancel(std::string_view text) {
    return QMessageBox::question(&window_, QStringLiteral("Tessera"), FromView(text),
                                 QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

std::optional<std::string> CLibraryDesk::AskSaveFileName(std::string_view filter,
                                                         std::string_view defaultExtension,
                                                         std::string_view initialName) {
    QFileDialog dialog(&window_, QStringLiteral("Save As"), {}, QtFilter(filter));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(FromView(defaultExtension));
    if (!initialName.empty()) dialog.selectFile(FromView(initialName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst().toStdString();
}

void CLibraryDesk::ShowProgress(std::string_view text) {
    window_.statusBar()->showMessage(FromView(text));
    showingProgress_ = true;
}

void CLibraryDesk::ShowErrorReport(std::string_view caption, std::string_view report) {
    ui::ShowMessage(&window_, QMessageBox::Warning,
                    FromView(caption) + QStringLiteral("\n") + FromView(report));
}

void CLibraryDesk::LibrariesChanged() {
    const QList<QAction*> items = librariesMenu_.actions();
    for (int i = kFixedLibraryItems; i < items.size(); ++i) delete items[i];
    if (items.size() >= kFixedLibraryItems) {
        items[0]->setEnabled(FindLibrary(kSystemLibraryNumber) != nullptr);
        items[1]->setEnabled(FindLibrary(kUserLibraryNumber) != nullptr);
    }
    // Each other library's item opens its Pattern Library dialog.
    for (CPatternLibrary* library = Libraries().First(); library; library = library->Next()) {
        if (library->Number() < 1) continue;
        QAction* item = librariesMenu_.addAction(QStringLiteral("&%1: %2")
                                                     .arg(library->Number())
                                                     .arg(QString::fromStdString(library->FileName())));
        item->setData(QVariant::fromValue(cmd::kOtherLibraryFirst + uint32_t(library->Number())));
        const int32_t number = library->Number();
        connect(item, &QAction::triggered, this,
                [this, number] { OpenPatternLibraryDialog(&window_, number); });
    }
    // The loading task tells of its last patterns before it ends: the progress goes once it has.
    QTimer::singleShot(0, this, [this] {
        if (showingProgress_ && !LibraryLoadTask()) {
            window_.statusBar()->clearMessage();
            showingProgress_ = false;
        }
    });
}

QString CLibraryDesk::QtFilter(std::string_view filter) {
    // "Description |*.a;*.b|Other |*.*||" becomes "Description (*.a *.b);;Other (*)".
    const QStringList parts = FromView(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].section(QLatin1Char('('), 0, 0).trimmed();
        QString patterns = parts[i + 1].trimmed();
        if (description.isEmpty() || patterns.isEmpty()) continue;
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '))
            .replace(QStringLiteral("*.*"), QStringLiteral("*"));
        filters << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

}  // namespace tessera::ui
