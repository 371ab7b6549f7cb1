#include "ui/application.h"

#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <memory>

#include "config/memory_settings.h"
#include "config/parameters.h"
#include "games/game_registry.h"
#include "games/task_scheduler.h"
#include "patterns/library_ship_recognition.h"
#include "patterns/recognition.h"
#include "rules/rule_persistence.h"
#include "ui/dialogs.h"
#include "ui/file_types.h"
#include "ui/library_desk.h"
#include "ui/main_window.h"
#include "ui/message_sink.h"

namespace tessera::ui {
namespace {

constexpr uint64_t kMemoryHeldBackAbove = 2097152;  // with more free memory than this ...
constexpr uint64_t kMemoryHeldBack = 1048576;       // ... this much is left to the system
// Growth gives the event loop back at least this often, so that no input waits longer than about 50 ms.
constexpr int64_t kLongestSlice = 40;

uint64_t AvailablePhysicalMemory() {
    const long pages = ::sysconf(_SC_AVPHYS_PAGES), pageSize = ::sysconf(_SC_PAGESIZE);
    const uint64_t available = pages > 0 && pageSize > 0 ? uint64_t(pages) * uint64_t(pageSize) : 0;
    return available > kMemoryHeldBackAbove ? available - kMemoryHeldBack : available;
}

// The scheduler's timings from the parameters, with slices short enough for a live window.
CSchedulerTimings DesktopTimings() {
    return {std::min<int64_t>(params::BackgroundSlice.GetInt(), kLongestSlice), params::IdleInterval.GetInt(),
            params::MaxSpinTime.GetInt()};
}

// The trace file named by TraceFile, open for the life of the program.
struct CTraceFile {
    std::FILE* file = nullptr;
    CTraceFile() {
        const std::string name = params::TraceFile.GetText();
        if (!name.empty()) file = std::fopen(name.c_str(), "w");
    }
    ~CTraceFile() {
        if (file) std::fclose(file);
    }
};

void AskAboutFileTypes(QWidget* parent) {
    if (params::FirstTime.GetInt() == 0) return;
    params::FirstTime.SetInt(0);
    QMessageBox box(
        QMessageBox::Question, QStringLiteral("Register File Types?"),
        QStringLiteral("Do you want to associate Tessera32 with files of type .LIF, .RLE and .HCF?"),
        QMessageBox::Yes | QMessageBox::No, parent);
    box.setInformativeText(
        QStringLiteral("If you change your mind, go to the File Options panel at any time."));
    const bool yes = box.exec() == QMessageBox::Yes;
    params::RegisterFiles.SetInt(yes ? 1 : 0);
    QString problem;
    if (yes && !RegisterFileTypes(true, &problem)) ShowMessage(parent, QMessageBox::Warning, problem);
}

}  // namespace

int RunApplication(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessera"));
    QApplication::setApplicationVersion(QStringLiteral(TESSERA_VERSION));

    ApplyMemoryParameters(AvailablePhysicalMemory());
    CTraceFile trace;
    const QStringList arguments = QApplication::arguments();
    const QString fileToOpen = arguments.size() > 1 ? arguments.at(1) : QString();

    CSystemClock clock;
    CTaskScheduler scheduler(clock, DesktopTimings());
    CGameRegistry& games = TheGames();
    // Library patterns become recognisable as they load: the census names objects and automatic stop
    // tells ships from other escaping objects through them.
    InstallRecognition();
    CLibraryShipRecognition ships;
    games.SetShipRecognition(&ships);
    int status = 0;
    {
        CMainWindow window(games, scheduler);
        if (params::StartMaximized.GetInt() != 0)
            window.showMaximized();
        else if (params::StartMinimized.GetInt() != 0)
            window.showMinimized();
        else
            window.show();
        AskAboutFileTypes(&window);
        if (!fileToOpen.isEmpty()) window.OpenFile(fileToOpen);
        if (params::Announce.GetInt() != 0) {
            CAboutDialog about(true, &window);
            about.exec();
        }
        LoadRules();
        window.Libraries().LoadAtStartup();
        status = QApplication::exec();
        scheduler.FinishAllTasks();
    }
    games.DeleteAllGames();
    games.SetShipRecognition(nullptr);
    return status;
}

}  // namespace tessera::ui
