#pragma once
// CLibraryDesk: the pattern libraries in the desktop. It is the libraries' front end while the main
// window lives (messages, questions, file dialogs, progress in the status bar, the Libraries menu kept
// up to date), runs the library commands of the Patterns menu, loads the start-up libraries in the
// background and closes the libraries at shut-down, asking about those with unsaved changes.
#include <QObject>
#include <QString>
#include <optional>
#include <string>

#include "patterns/library_front_end.h"

class QMainWindow;
class QMenu;

namespace tessera {
class CTaskScheduler;
}

namespace tessera::ui {

class CLibraryDesk : public QObject, public CLibraryFrontEnd {
    Q_OBJECT
public:
    // Installs itself as the libraries' front end, with the scheduler that loads them in the background.
    // `librariesMenu` receives one item per other library loaded.
    CLibraryDesk(QMainWindow& window, CTaskScheduler& scheduler, QMenu& librariesMenu);
    // Closes every library left (without questions) and uninstalls itself.
    ~CLibraryDesk() override;

    // The system and user libraries and the preload list; XLife-form files go on loading in the
    // background afterwards.
    void LoadAtStartup();
    // The Patterns menu's library commands; false for other commands.
    bool RunCommand(uint32_t commandId);
    // Shut-down: the question about each library with unsaved changes, and the save when the answer is Yes.
    void SaveOrAskAtShutDown();

    // ---- CLibraryFrontEnd
    void ShowMessage(std::string_view text) override;
    bool AskYesNo(std::string_view text) override;
    bool AskOkCancel(std::string_view text) override;
    std::optional<std::string> AskSaveFileName(std::string_view filter, std::string_view defaultExtension,
                                               std::string_view initialName) override;
    void ShowProgress(std::string_view text) override;
    void ShowErrorReport(std::string_view caption, std::string_view report) override;
    void LibrariesChanged() override;

    // The library file filter in the form of Qt's file dialogs.
    static QString QtFilter(std::string_view filter);

signals:
    // Background loading scheduled a task: the event loop's runner must wake up.
    void tasksScheduled();

private:
    void NewLibraryFromDialog();
    void LoadLibraryFromDialog();

    QMainWindow& window_;
    CTaskScheduler& scheduler_;
    QMenu& librariesMenu_;
    bool showingProgress_ = false;
};

}  // namespace tessera::ui
