#pragma once
// CMainWindow: the menu with the whole command set, the toolbar with the growth buttons and the speed
// slider, the status bar, and the universe window of the current game in the client area. It is the
// main window the background tasks talk to, and it drives the task scheduler from the event loop.
#include <QMainWindow>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>

#include "games/bg_task.h"
#include "games/front_end.h"
#include "ui/dialogs.h"
#include "ui/qt_file_dialogs.h"

class QLabel;
class QToolButton;

namespace tessera {
class CGame;
class CGameRegistry;
class CTaskScheduler;
}  // namespace tessera

namespace tessera::ui {

class CDesktopClipboard;
class CLibraryDesk;
class CLogSlider;
class CUniverseWindow;

// The growth modes of the main window.
enum class EGrowthMode { kIdle = 0, kArmed = 1, kForward = 2, kContinuous = 3, kBackward = 4 };

class CMainWindow : public QMainWindow, public CMainWindowPort {
    Q_OBJECT
public:
    CMainWindow(CGameRegistry& games, CTaskScheduler& scheduler, QWidget* parent = nullptr);
    ~CMainWindow() override;

    // ---- Commands
    // Runs a command of the menus, keys or toolbar under the error handler.
    void RunCommandId(uint32_t commandId);
    QAction* Action(uint32_t commandId) const;
    // Opens a file as a new game, as Open does after its file dialog; false when nothing was loaded.
    bool OpenFile(const QString& fileName);
    bool SaveFile(const QString& fileName);
    void ShowGame(CGame* game);
    // Goes to a generation in the background, showing every interval-th (0: only the end).
    void StartGoto(int32_t target, int32_t interval);
    // Names the current game through the name dialogs; false when the user cancelled.
    bool NameGame(CGame& game);
    void SetRuleByName(const QString& name);

    // ---- Growth buttons (press and release of the forwards and backwards buttons, the toggle)
    void GrowButtonDown(EGrowthMode button);
    void GrowButtonUp(EGrowthMode button, bool overButton);
    void SetContinuous(bool on);
    void CancelGrowth();
    EGrowthMode GrowthMode() const { return mode_; }
    bool IsGrowing() const { return task_ != nullptr; }
    QToolButton* GrowButton(uint32_t commandId) const;
    CLogSlider* SpeedSlider() const { return slider_; }

    CUniverseWindow* UniverseWindow() const { return window_; }
    CLibraryDesk& Libraries() const { return *libraries_; }
    CGameRegistry& Games() const { return games_; }
    CDesktopClipboard& Clipboard() const { return *clipboard_; }
    // The progress box of a long growth, if one is open.
    QDialog* ProgressBox() const;
    QString PaneText(int pane) const;

    // ---- CMainWindowPort
    CGame* CurrentGame() override;
    void ShowGeneration(CGame& game) override;
    void EndGrowthDisplay(CGame& game) override;
    void EnterBusyState() override;
    void LeaveBusyState() override;
    void ShowBusyCursor() override {}
    void ReportMessage(CGame& game, int messageId) override;
    void ReportError(int messageId, std::string_view detail) override;
    uint32_t SpeedSliderValue() override;
    void ArmSliceTimer(int64_t milliseconds) override;
    void KillSliceTimer() override { sliceTimer_.stop(); }
    void PostCommand(uint32_t commandId) override;
    std::unique_ptr<CCancelBoxDisplay> MakeCancelBoxDisplay(CCancelBox& box) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void BuildToolBar();
    void BuildStatusBar();
    void PlaceWindow();
    void UpdateTitle();
    void UpdatePanes();
    void UpdateCommandStates();
    void FillRuleMenu();
    bool RunMainCommand(uint32_t commandId);
    void StartTask(std::unique_ptr<CBgTask> task, EGrowthMode mode);
    void WakeScheduler();
    void RunSchedulerTick();
    void ArmTimeout();
    void SingleStep(EGrowthMode button);
    void StepBackOne();
    void GotoFromDialog();
    void SelectGameFromDialog();
    void NoteCommandStart();
    void ShowCommandTime();
    QAction* AddCommand(QMenu* menu, uint32_t id, const char* text, const QKeySequence& keys,
                        const char* prompt, bool enabled = true);

    CGameRegistry& games_;
    CTaskScheduler& scheduler_;
    CQtFileDialogs fileDialogs_;
    std::unique_ptr<CDesktopClipboard> clipboard_;
    CUniverseWindow* window_ = nullptr;
    std::map<uint32_t, QAction*> actions_;
    QMenu* ruleMenu_ = nullptr;
    QMenu* librariesMenu_ = nullptr;
    std::unique_ptr<CLibraryDesk> libraries_;
    std::map<uint32_t, QToolButton*> growButtons_;
    CLogSlider* slider_ = nullptr;
    QLabel* panes_[3] = {};
    QTimer paneTimer_;

    EGrowthMode mode_ = EGrowthMode::kIdle;
    EGrowthMode armedButton_ = EGrowthMode::kIdle;
    QTimer armTimer_;
    std::unique_ptr<CBgTask> task_;
    QTimer pump_;
    QTimer sliceTimer_;
    int busyDepth_ = 0;
    class CProgressBoxDisplay;
    CProgressBoxDisplay* progressBox_ = nullptr;
    std::optional<std::chrono::steady_clock::time_point> commandStart_;

    CGotoMemory gotoMemory_;
    uint32_t lastReadSerial_ = 0;
};

}  // namespace tessera::ui
