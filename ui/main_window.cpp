#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <functional>

#include "config/parameters.h"
#include "engine/universe.h"
#include "formats/game_file.h"
#include "foundation/errors.h"
#include "foundation/messages.h"
#include "games/broth.h"
#include "games/game.h"
#include "games/game_registry.h"
#include "games/growth_tasks.h"
#include "games/millitime.h"
#include "games/repeat_check.h"
#include "games/task_scheduler.h"
#include "rules/rule_notation.h"
#include "rules/rule_registry.h"
#include "rules/rules.h"
#include "ui/broth_dialog.h"
#include "ui/census_dialog.h"
#include "ui/command_ids.h"
#include "ui/help_window.h"
#include "ui/library_desk.h"
#include "ui/log_slider.h"
#include "ui/message_sink.h"
#include "ui/options_sheet.h"
#include "ui/pattern_dialogs.h"
#include "ui/pattern_drag.h"
#include "ui/patterns_dialog.h"
#include "ui/qt_clipboard.h"
#include "ui/repeat_insertion_dialog.h"
#include "ui/rules_dialog.h"
#include "ui/toolbar_icons.h"
#include "ui/universe_window.h"

namespace tessera::ui {
namespace {

constexpr int kPositionChosenBySystem = 32767;
constexpr int kSliderWidth = 125;
const char* const kGameFilter = "Life Game Files (*.lif *.rle *.hcf);;All files (*)";

// A toolbar button that reports its press and whether it was released over itself.
class CGrowButton : public QToolButton {
public:
    std::function<void()> onPress;
    std::function<void(bool over)> onRelease;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        QToolButton::mousePressEvent(event);
        if (event->button() == Qt::LeftButton && onPress) onPress();
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        const bool over = rect().contains(event->position().toPoint());
        QToolButton::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton && onRelease) onRelease(over);
    }
};

// The commands that stop a running growth before they run.
bool StopsGrowth(uint32_t id) {
    switch (id) {
        case cmd::kNewGame:
        case cmd::kOpen:
        case cmd::kCopyStart:
        case cmd::kCopyCurrent:
        case cmd::kCopyGame:
        case cmd::kDeleteThis:
        case cmd::kDeleteUnnamed:
        case cmd::kDeleteOthers:
        case cmd::kSelectPrevious:
        case cmd::kSelectNext:
        case cmd::kSelectLast:
        case cmd::kSelectGame:
        case cmd::kGoto:
        case cmd::kFirst:
        case cmd::kLast:
        case cmd::kPrevious:
        case cmd::kNext:
        case cmd::kGrowOne:
        case cmd::kExit:
            return true;
        default:
            return false;
    }
}

}  // namespace

// The progress box, remembered by the main window while it is open.
class CMainWindow::CProgressBoxDisplay : public CProgressBox {
public:
    CProgressBoxDisplay(CMainWindow& window, CCancelBox& box) : CProgressBox(box, &window), window_(window) {
        window_.progressBox_ = this;
    }
    ~CProgressBoxDisplay() override {
        if (window_.progressBox_ == this) window_.progressBox_ = nullptr;
    }

private:
    CMainWindow& window_;
};

CMainWindow::CMainWindow(CGameRegistry& games, CTaskScheduler& scheduler, QWidget* parent)
    : QMainWindow(parent),
      games_(games),
      scheduler_(scheduler),
      fileDialogs_(this),
      clipboard_(std::make_unique<CDesktopClipboard>(this)) {
    connect(clipboard_.get(), &CDesktopClipboard::contentChanged, this, &CMainWindow::UpdateCommandStates);
    scheduler_.SetMainWindow(this);
    pump_.setInterval(0);
    connect(&pump_, &QTimer::timeout, this, &CMainWindow::RunSchedulerTick);
    sliceTimer_.setSingleShot(true);
    connect(&sliceTimer_, &QTimer::timeout, this, [this] {
        scheduler_.OnSliceTimer();
        WakeScheduler();
    });
    armTimer_.setSingleShot(true);
    connect(&armTimer_, &QTimer::timeout, this, &CMainWindow::ArmTimeout);

    window_ = new CUniverseWindow(params::GridGen1.GetInt() != 0, this);
    setCentralWidget(window_);
    window_->SetClipboard(clipboard_.get());
    connect(window_, &CUniverseWindow::statusText, this,
            [this](const QString& text) { statusBar()->showMessage(text); });
    connect(window_, &CUniverseWindow::gameForked, this, [this](CGame*) { UpdateTitle(); });
    connect(window_, &CUniverseWindow::commandRequested, this, &CMainWindow::RunCommandId);
    connect(window_, &CUniverseWindow::universeChanged, this, [this] {
        if (!actions_.empty()) UpdateCommandStates();
        if (!paneTimer_.isActive()) paneTimer_.start();
    });

    BuildMenus();
    libraries_ = std::make_unique<CLibraryDesk>(*this, scheduler_, *librariesMenu_);
    connect(libraries_.get(), &CLibraryDesk::tasksScheduled, this, &CMainWindow::WakeScheduler);
    BuildToolBar();
    BuildStatusBar();
    AcceptPatternDrops(*this);
    KeepPatternsVisible(*this);
    PlaceWindow();

    CGame& first = games_.NewGame();
    first.SetOriginator(params::DefaultOriginator.GetText());
    ShowGame(&first);
}

CMainWindow::~CMainWindow() {
    armTimer_.stop();
    CancelGrowth();
    window_->ShowGame(nullptr);
    if (scheduler_.MainWindow() == this) scheduler_.SetMainWindow(nullptr);
}

// ---- Building

QAction* CMainWindow::AddCommand(QMenu* menu, uint32_t id, const char* text, const QKeySequence& keys,
                                 const char* prompt, bool enabled) {
    auto* action = new QAction(QString::fromUtf8(text), this);
    action->setShortcuts({keys});
    action->setStatusTip(QString::fromUtf8(prompt));
    action->setEnabled(enabled);
    if (QIcon icon = ToolbarIcon(id); !icon.isNull()) action->setIcon(icon);
    connect(action, &QAction::triggered, this, [this, id] { RunCommandId(id); });
    if (menu)
        menu->addAction(action);
    else
        addAction(action);  // a key without a menu item
    actions_[id] = action;
    return action;
}

void CMainWindow::BuildMenus() {
    using K = QKeySequence;
    QMenu* game = menuBar()->addMenu(QStringLiteral("&Game"));
    AddCommand(game, cmd::kNewGame, "&New", K(Qt::Key_F2), "Start new, empty game");
    AddCommand(game, cmd::kSave, "&Save", K(Qt::Key_F12), "Save the game to its file")
        ->setShortcuts({K(Qt::Key_F12), K::Save});
    AddCommand(game, cmd::kSaveAs, "Save &As...", K(Qt::SHIFT | Qt::Key_F12), "Save the game to a new file");
    AddCommand(game, cmd::kOpen, "&Open...", K(Qt::CTRL | Qt::Key_F12), "Load a game from a file")
        ->setShortcuts({K(Qt::CTRL | Qt::Key_F12), K::Open});
    game->addSeparator();
    AddCommand(game, cmd::kCopyStart, "Copy S&tart", K(Qt::Key_F3),
               "New game with the same start as this one");
    AddCommand(game, cmd::kCopyCurrent, "Copy &Current", K(Qt::SHIFT | Qt::Key_F3),
               "New game whose start is the current generation");
    AddCommand(game, cmd::kCopyGame, "Copy &Game", K(Qt::CTRL | Qt::Key_F3),
               "Copy the entire game up to this generation");
    AddCommand(game, cmd::kName, "Na&me...", {}, "Name the game");
    AddCommand(game, cmd::kDescription, "&Description...", {}, "Show or edit the game's description");
    AddCommand(game, cmd::kKeep, "&Keep", {}, "Stop this game from being deleted automatically")
        ->setCheckable(true);
    ruleMenu_ = game->addMenu(QStringLiteral("&Rule"));
    AddCommand(ruleMenu_, cmd::kRuleShow, "&Show...", {}, "Show the rule of this game");
    ruleMenu_->addSeparator();
    connect(ruleMenu_, &QMenu::aboutToShow, this, &CMainWindow::FillRuleMenu);
    QMenu* remove = game->addMenu(QStringLiteral("De&lete"));
    AddCommand(remove, cmd::kDeleteThis, "&This Game", {}, "Delete this game");
    AddCommand(remove, cmd::kDeleteUnnamed, "&Unnamed/Unkept", {},
               "Delete all games except named and kept ones");
    AddCommand(remove, cmd::kDeleteOthers, "All &Other", {}, "Delete all games except this one");
    game->addSeparator();
    AddCommand(game, cmd::kSelectPrevious, "Select &Previous", K(Qt::SHIFT | Qt::Key_PageUp),
               "Show the previous game");
    AddCommand(game, cmd::kSelectNext, "Select Ne&xt", K(Qt::SHIFT | Qt::Key_PageDown), "Show the next game");
    AddCommand(game, cmd::kSelectLast, "Select &Last", K(Qt::SHIFT | Qt::Key_End),
               "Show the most recently created game");
    AddCommand(game, cmd::kSelectGame, "S&elect...", {}, "Choose a game from a list");
    game->addSeparator();
    // The options sheet comes with the other dialogs.
    AddCommand(game, cmd::kOptions, "O&ptions...", {}, "Change the program's options");
    AddCommand(game, cmd::kExit, "E&xit", K::Quit, "Close the program");

    // Broth and repeated insertion wait for their dialogs.
    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    AddCommand(edit, cmd::kUndo, "&Undo", K::Undo, "Undo the previous edit")
        ->setShortcuts({K::Undo, K(Qt::CTRL | Qt::Key_U)});
    AddCommand(edit, cmd::kRedo, "&Redo", K(Qt::CTRL | Qt::Key_R), "Redo the last edit undone")
        ->setShortcuts(
            {K(Qt::CTRL | Qt::Key_R), K(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), K(Qt::CTRL | Qt::Key_Y)});
    edit->addSeparator();
    AddCommand(edit, cmd::kCut, "Cu&t", K::Cut, "Copy the selection to the clipboard and delete it");
    AddCommand(edit, cmd::kCopy, "&Copy", K::Copy, "Copy the selection to the clipboard");
    AddCommand(edit, cmd::kPaste, "&Paste", K::Paste, "Copy the clipboard into the current game");
    AddCommand(edit, cmd::kPasteNewGame, "Paste as &New Game", {}, "New game made from the clipboard");
    AddCommand(edit, cmd::kDelete, "&Delete", K(Qt::Key_Delete), "Delete the selection");
    QMenu* turn = edit->addMenu(QStringLiteral("R&otate/Reflect"));
    AddCommand(turn, cmd::kRotateLeft, "Rotate &Left", {}, "Rotate the selection a quarter turn left");
    AddCommand(turn, cmd::kRotateRight, "Rotate &Right", {}, "Rotate the selection a quarter turn right");
    AddCommand(turn, cmd::kRotate180, "Rotate &180", {}, "Turn the selection half round");
    AddCommand(turn, cmd::kVerticalReflect, "&Vertical Reflect", {}, "Reflect the selection left to right");
    AddCommand(turn, cmd::kHorizReflect, "&Horiz Reflect", {}, "Reflect the selection top to bottom");
    AddCommand(turn, cmd::kReflectSlash, "Reflect &/", {}, "Reflect the selection in the rising diagonal");
    AddCommand(turn, cmd::kReflectBackslash, "Reflect &\\", {},
               "Reflect the selection in the falling diagonal");
    AddCommand(edit, cmd::kFill, "&Fill", {}, "Fill the selected region with live cells");
    AddCommand(edit, cmd::kRepeatInsert, "Repeat &Insert", {}, "Repeat the last insertion");
    AddCommand(edit, cmd::kGrowSelection, "&Grow Selection", K(Qt::CTRL | Qt::Key_N),
               "Grow just the selection through one generation");
    AddCommand(edit, cmd::kSelectAll, "Select &All", K::SelectAll, "Select the entire game");
    AddCommand(edit, cmd::kBroth, "&Broth...", {}, "Fill an area with random cells");

    QMenu* generation = menuBar()->addMenu(QStringLiteral("Ge&neration"));
    AddCommand(generation, cmd::kGoto, "&Goto...", {}, "Go to a generation");
    AddCommand(generation, cmd::kFirst, "&First", K(Qt::Key_Home), "Go to generation 0");
    AddCommand(generation, cmd::kLast, "&Last", K(Qt::Key_End), "Go to the last generation");
    AddCommand(generation, cmd::kPrevious, "&Previous", K(Qt::Key_PageUp), "Go to the previous generation");
    AddCommand(generation, cmd::kNext, "&Next", K(Qt::Key_PageDown), "Go to the next generation");
    AddCommand(generation, cmd::kAutostop, "Auto&stop", {}, "Turn on or off automatic stop")
        ->setCheckable(true);
    AddCommand(nullptr, cmd::kGrowOne, "Grow", {}, "Grow the game by one generation");

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    AddCommand(view, cmd::kZoomIn, "Zoom &In", K(Qt::Key_F5), "Show the cells larger")
        ->setShortcuts({K(Qt::Key_F5), K::ZoomIn});
    AddCommand(view, cmd::kZoomOut, "Zoom &Out", K(Qt::Key_F7), "Show the cells smaller")
        ->setShortcuts({K(Qt::Key_F7), K::ZoomOut});
    AddCommand(view, cmd::kZoomAll, "Zoom &All", K(Qt::Key_F6), "Show the whole universe");
    AddCommand(view, cmd::kZoomCosmic, "Zoom &Cosmic", {},
               "Show the whole universe, several cells to a pixel");
    AddCommand(view, cmd::kZoomBack, "Zoom &Back", K(Qt::CTRL | Qt::Key_F6), "Go back to the previous scale");
    AddCommand(view, cmd::kZoomDefault, "Zoom &Default", K(Qt::SHIFT | Qt::Key_F6),
               "Go to the default scale");
    AddCommand(view, cmd::kZoomSelection, "Zoom to &Selection", K(Qt::SHIFT | Qt::Key_F5),
               "Show the selection");
    view->addSeparator();
    AddCommand(view, cmd::kGridStyle, "&Grid", K(Qt::CTRL | Qt::Key_G), "Show the game in grid style");
    AddCommand(nullptr, cmd::kMapStyle, "Map", K(Qt::CTRL | Qt::Key_M), "Show the game in map style");
    QMenu* display = view->addMenu(QStringLiteral("Grow &Display"));
    AddCommand(display, cmd::kNewOnly, "&New Only", K(Qt::Key_F4), "Display only the state after growing");
    AddCommand(display, cmd::kDifferences, "&Differences", K(Qt::SHIFT | Qt::Key_F4),
               "Display the differences from the previous generation");
    AddCommand(display, cmd::kFlashDifferences, "&Flash Differences", K(Qt::CTRL | Qt::Key_F4),
               "Briefly show the differences");
    for (uint32_t id : {cmd::kNewOnly, cmd::kDifferences, cmd::kFlashDifferences})
        actions_[id]->setCheckable(true);

    // The pattern windows and the census come with their own work; the library commands are here.
    QMenu* patterns = menuBar()->addMenu(QStringLiteral("&Patterns"));
    AddCommand(patterns, cmd::kShowPatterns, "&Show...", {}, "Show the pattern libraries");
    AddCommand(patterns, cmd::kKeepPatternsOnTop, "&Keep Visible", {},
               "Keep pattern libraries permanently visible")
        ->setCheckable(true);
    AddCommand(patterns, cmd::kCreatePattern, "&Create...", {}, "Create a new pattern");
    QMenu* libraries = patterns->addMenu(QStringLiteral("&Libraries"));
    librariesMenu_ = libraries;
    AddCommand(libraries, cmd::kSystemLibrary, "&System", {}, "Open the system library", false);
    AddCommand(libraries, cmd::kUserLibrary, "&User", {}, "Open the user library", false);
    AddCommand(patterns, cmd::kNewLibrary, "&New Library...", {}, "Create a new pattern library");
    AddCommand(patterns, cmd::kLoadLibrary, "L&oad Library...", {}, "Load a pattern library");
    AddCommand(patterns, cmd::kSaveLibraries, "Save &All Libraries", {}, "Save all library changes");
    AddCommand(patterns, cmd::kCensus, "C&ensus...", {}, "Census of the current universe");
    AddCommand(patterns, cmd::kTotalCensus, "&Total Census", {}, "Total of all census results");

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    AddCommand(help, cmd::kHelpIndex, "&Index", K::HelpContents, "Help contents");
    AddCommand(help, cmd::kGettingStarted, "&Getting Started", K(Qt::CTRL | Qt::Key_F1),
               "Help on getting started");
    AddCommand(help, cmd::kAbout, "&About Tessera...", {}, "Show the program's version and memory use");
}

void CMainWindow::FillRuleMenu() {
    const QList<QAction*> old = ruleMenu_->actions();
    for (int i = 2; i < old.size(); ++i) delete old[i];  // keep "Show..." and its separator
    CGame* game = CurrentGame();
    const RuleCode current = game ? game->Current().GetRuleCode() : 0;
    uint32_t id = cmd::kRuleFirst;
    for (CRuleIterator rules(false, true); rules.Current() && id <= cmd::kRuleLast; rules.Next(), ++id) {
        const CRule& rule = *rules.Current();
        QAction* action = ruleMenu_->addAction(QString::fromStdString(DisplayName(rule)));
        action->setCheckable(true);
        action->setChecked(rule.Code() == current);
        action->setStatusTip(QString::fromStdString(FormatRule(rule.Code())));
        const QString name = action->text();
        connect(action, &QAction::triggered, this,
                [this, name] { RunGuarded(this, [&] { SetRuleByName(name); }); });
    }
}

void CMainWindow::BuildToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("Tools"));
    bar->setObjectName(QStringLiteral("Tools"));
    for (uint32_t id : {cmd::kOpen, cmd::kSave, cmd::kNewGame, cmd::kShowPatterns})
        bar->addAction(actions_[id]);
    bar->addSeparator();
    bar->addSeparator();
    for (uint32_t id : {cmd::kCopy, cmd::kPaste, cmd::kRotateLeft, cmd::kRotate180, cmd::kRotateRight,
                        cmd::kHorizReflect, cmd::kVerticalReflect, cmd::kGrowSelection})
        bar->addAction(actions_[id]);
    const auto growButton = [&](uint32_t id, const char* tip) {
        auto* button = new CGrowButton;
        button->setIcon(ToolbarIcon(id));
        button->setToolTip(QString::fromUtf8(tip));
        button->setStatusTip(QString::fromUtf8(tip));
        bar->addWidget(button);
        growButtons_[id] = button;
        return button;
    };
    CGrowButton* forward = growButton(cmd::kGrowWhilePressed, "Grow while pressed");
    forward->onPress = [this] { GrowButtonDown(EGrowthMode::kForward); };
    forward->onRelease = [this](bool over) { GrowButtonUp(EGrowthMode::kForward, over); };
    CGrowButton* backward = growButton(cmd::kGrowBackwards, "Grow backwards while pressed");
    backward->onPress = [this] { GrowButtonDown(EGrowthMode::kBackward); };
    backward->onRelease = [this](bool over) { GrowButtonUp(EGrowthMode::kBackward, over); };
    CGrowButton* continuous = growButton(cmd::kGrowContinuously, "Grow continuously");
    continuous->setCheckable(true);
    connect(continuous, &QToolButton::clicked, this, [this](bool on) { SetContinuous(on); });

    slider_ = new CLogSlider(bar);
    slider_->setFixedWidth(kSliderWidth);
    slider_->setToolTip(QStringLiteral("Speed control"));
    slider_->SetSpeedRange(params::MinGrowSpeed.GetUInt(), params::MaxGrowSpeed.GetUInt());
    slider_->SetSpeed(params::MaxGrowSpeed.GetUInt());
    bar->addWidget(slider_);
}

void CMainWindow::BuildStatusBar() {
    const char* const widest[3] = {"Rule 012345678/012345678", "Gen 999999", "Pop 9999999"};
    for (int i = 0; i < 3; ++i) {
        panes_[i] = new QLabel(this);
        panes_[i]->setMinimumWidth(panes_[i]->fontMetrics().horizontalAdvance(QString::fromUtf8(widest[i])) +
                                   8);
        panes_[i]->setFrameShape(QFrame::Panel);
        panes_[i]->setFrameShadow(QFrame::Sunken);
        statusBar()->addPermanentWidget(panes_[i]);
    }
    paneTimer_.setSingleShot(true);
    paneTimer_.setInterval(int(params::StatusBarUpdateInterval.GetUInt()));
    connect(&paneTimer_, &QTimer::timeout, this, &CMainWindow::UpdatePanes);
}

void CMainWindow::PlaceWindow() {
    setMinimumSize(params::MinWindowX.GetInt(), params::MinWindowY.GetInt());
    resize(params::WindowSizeX.GetInt(), params::WindowSizeY.GetInt());
    const int x = params::WindowPosX.GetInt(), y = params::WindowPosY.GetInt();
    if (x != kPositionChosenBySystem && y != kPositionChosenBySystem) move(x, y);
}

// ---- Display of the current game

void CMainWindow::ShowGame(CGame* game) {
    window_->ShowGame(game);
    UpdateTitle();
    UpdatePanes();
}

CGame* CMainWindow::CurrentGame() { return window_->Game(); }

void CMainWindow::UpdateTitle() {
    CGame* game = CurrentGame();
    setWindowTitle(game ? QStringLiteral("Tessera -  ") + QString::fromStdString(game->Title(true))
                        : QStringLiteral("Tessera"));
}

void CMainWindow::UpdatePanes() {
    CGame* game = CurrentGame();
    panes_[0]->setText(game ? QStringLiteral("Rule ") +
                                  QString::fromStdString(FormatRule(game->Current().GetRuleCode())).left(255)
                            : QString());
    panes_[1]->setText(game ? QStringLiteral("Gen %1").arg(game->Generation()) : QString());
    panes_[2]->setText(game ? QStringLiteral("Pop %1").arg(game->Population()) : QString());
    UpdateCommandStates();
}

QString CMainWindow::PaneText(int pane) const { return panes_[pane]->text(); }

void CMainWindow::UpdateCommandStates() {
    CGame* game = CurrentGame();
    actions_[cmd::kKeep]->setChecked(game && game->IsKept());
    actions_[cmd::kAutostop]->setChecked(params::AutoStopGrow.GetInt() != 0);
    actions_[cmd::kKeepPatternsOnTop]->setChecked(params::KeepPatternsOnTop.GetInt() != 0);
    const EGrowDisplay display = window_->GrowDisplay();
    actions_[cmd::kNewOnly]->setChecked(display == EGrowDisplay::kNewOnly);
    actions_[cmd::kDifferences]->setChecked(display == EGrowDisplay::kDifferences);
    actions_[cmd::kFlashDifferences]->setChecked(display == EGrowDisplay::kFlashDifferences);
    for (uint32_t id :
         {cmd::kDelete, cmd::kRotateLeft, cmd::kRotateRight, cmd::kRotate180, cmd::kVerticalReflect,
          cmd::kHorizReflect, cmd::kReflectSlash, cmd::kReflectBackslash, cmd::kFill, cmd::kGrowSelection,
          cmd::kZoomSelection, cmd::kUndo, cmd::kRedo, cmd::kRepeatInsert})
        actions_[id]->setEnabled(window_->CanRunCommand(id));
    for (uint32_t id : {cmd::kCut, cmd::kCopy, cmd::kPaste, cmd::kPasteNewGame})
        actions_[id]->setEnabled(clipboard_->CanRunCommand(id, *window_));
}

QAction* CMainWindow::Action(uint32_t id) const {
    const auto found = actions_.find(id);
    return found == actions_.end() ? nullptr : found->second;
}

QToolButton* CMainWindow::GrowButton(uint32_t id) const {
    const auto found = growButtons_.find(id);
    return found == growButtons_.end() ? nullptr : found->second;
}

QDialog* CMainWindow::ProgressBox() const { return progressBox_ ? progressBox_->Widget() : nullptr; }

// ---- Commands

void CMainWindow::RunCommandId(uint32_t id) {
    if (task_ && StopsGrowth(id)) CancelGrowth();
    NoteCommandStart();
    TheRandomGenerator().Stir(CSystemClock().Now());
    RunGuarded(this, [&] {
        if (!RunMainCommand(id)) window_->RunCommand(id);
    });
    if (!task_) ShowCommandTime();
    UpdateTitle();
    UpdatePanes();
}

void CMainWindow::NoteCommandStart() {
    // A command that arrives while a growth is being timed leaves that timing alone.
    if (!commandStart_ || !task_) commandStart_ = std::chrono::steady_clock::now();
}

void CMainWindow::ShowCommandTime() {
    if (!commandStart_) return;
    const auto elapsed = std::chrono::steady_clock::now() - *commandStart_;
    commandStart_.reset();
    const double seconds = std::chrono::duration<double>(elapsed).count();
    if (params::ShowCommandTime.GetInt() != 0 && seconds >= 0.001)
        statusBar()->showMessage(QStringLiteral("Command execution time: %1 secs").arg(seconds, 0, 'f', 3));
}

bool CMainWindow::RunMainCommand(uint32_t id) {
    CGame* game = CurrentGame();
    const auto requireGame = [&]() -> CGame& {
        if (!game) throw CErrorException(msg::CannotModifyGeneration);
        return *game;
    };
    switch (id) {
        case cmd::kNewGame: {
            CGame& fresh = games_.NewGame();
            fresh.SetOriginator(params::DefaultOriginator.GetText());
            games_.PruneUnnamedGames(&fresh);
            ShowGame(&fresh);
            return true;
        }
        case cmd::kOpen: {
            const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("Open"), {},
                                                              QString::fromUtf8(kGameFilter));
            if (!file.isEmpty()) OpenFile(file);
            return true;
        }
        case cmd::kSave:
            if (!requireGame().FileName().empty()) {
                SaveFile(QString::fromStdString(game->FileName()));
                return true;
            }
            [[fallthrough]];
        case cmd::kSaveAs: {
            const QString file = QFileDialog::getSaveFileName(
                this, QStringLiteral("Save As"), QString::fromStdString(requireGame().DefaultFileName()),
                QString::fromUtf8(kGameFilter));
            if (!file.isEmpty()) SaveFile(file);
            return true;
        }
        case cmd::kCopyStart:
            ShowGame(&games_.NewGame(requireGame().First()));
            return true;
        case cmd::kCopyCurrent:
            ShowGame(&games_.NewGame(requireGame().Current()));
            return true;
        case cmd::kCopyGame:
            ShowGame(&games_.CopyGame(requireGame(), game->Generation()));
            return true;
        case cmd::kName:
            NameGame(requireGame());
            return true;
        case cmd::kDescription: {
            CDescriptionDialog dialog(requireGame(), this);
            dialog.exec();
            return true;
        }
        case cmd::kKeep:
            requireGame().SetKept(!game->IsKept());
            return true;
        case cmd::kDeleteThis: {
            CGame& next = games_.GameToShowAfterDeleting(requireGame());
            ShowGame(&next);
            games_.DestroyGame(*game);
            return true;
        }
        case cmd::kDeleteUnnamed:
            games_.DeleteUnnamedUnkeptGames(requireGame());
            return true;
        case cmd::kDeleteOthers:
            games_.DeleteAllOtherGames(requireGame());
            return true;
        case cmd::kSelectPrevious:
            if (CGame* other = games_.PreviousGame(requireGame())) ShowGame(other);
            return true;
        case cmd::kSelectNext:
            if (CGame* other = games_.NextGame(requireGame())) ShowGame(other);
            return true;
        case cmd::kSelectLast:
            if (CGame* other = games_.LastCreatedGame()) ShowGame(other);
            return true;
        case cmd::kSelectGame:
            SelectGameFromDialog();
            return true;
        case cmd::kExit:
            close();
            return true;
        case cmd::kGoto:
            GotoFromDialog();
            return true;
        case cmd::kFirst:
            requireGame().ResetToGeneration(0);
            window_->CurrentGenerationChanged();
            return true;
        case cmd::kLast:
            requireGame().ResetToGeneration(game->Last().Generation());
            window_->CurrentGenerationChanged();
            return true;
        case cmd::kPrevious:
            StepBackOne();
            return true;
        case cmd::kNext:
        case cmd::kGrowOne:
            if (int status = window_->GrowOneGeneration()) ReportMessage(requireGame(), status);
            return true;
        case cmd::kAutostop:
            ToggleAutostop(game);
            return true;
        case cmd::kGridStyle:
            window_->SetGridStyle(true);
            return true;
        case cmd::kMapStyle:
            window_->SetGridStyle(false);
            return true;
        case cmd::kOptions: {
            COptionsSheet sheet(optionsPage_, this);
            connect(&sheet, &COptionsSheet::applied, this, [this] {
                window_->ReloadColours();
                slider_->SetSpeedRange(params::MinGrowSpeed.GetUInt(), params::MaxGrowSpeed.GetUInt());
            });
            connect(&sheet, &COptionsSheet::coloursPreviewed, this,
                    [this](const CRenderColours& colours) { window_->ShowColours(colours); });
            sheet.exec();
            window_->ReloadColours();  // a preview that was not stored goes
            return true;
        }
        case cmd::kRepeatInsert:
            RepeatFloatingObject(*window_, repeatMemory_, this);
            return true;
        case cmd::kCreatePattern:
            CreatePatternFromDialog(*window_, patternLibrary_, clipboard_.get(), this);
            return true;
        case cmd::kRuleShow: {
            CRulesDialog dialog(requireGame().Current().GetRuleCode(), this);
            if (dialog.exec() == QDialog::Accepted) window_->SetRule(dialog.Code());
            return true;
        }
        case cmd::kBroth:
            CreateBroth(*this);
            return true;
        case cmd::kCensus:
        case cmd::kTotalCensus: {
            CQtCensusFrontEnd frontEnd(this, [this](const QString& text) { statusBar()->showMessage(text); });
            RunCensusDialog(id == cmd::kCensus ? ECensusMode::Census : ECensusMode::Total, *window_, frontEnd,
                            this);
            return true;
        }
        case cmd::kAbout: {
            CAboutDialog dialog(false, this);
            dialog.exec();
            return true;
        }
        case cmd::kGrowWhilePressed:
            SingleStep(EGrowthMode::kForward);
            return true;
        case cmd::kGrowBackwards:
            SingleStep(EGrowthMode::kBackward);
            return true;
        case cmd::kGrowContinuously:
            SetContinuous(mode_ != EGrowthMode::kContinuous);
            return true;
        case cmd::kShowPatterns:
            ShowPatternsDialog(*this);
            return true;
        case cmd::kKeepPatternsOnTop:
            ToggleKeepPatternsOnTop(*this);
            return true;
        case cmd::kCut:
        case cmd::kCopy:
        case cmd::kPaste:
        case cmd::kPasteNewGame:
            return clipboard_->RunCommand(id, *this);
        case cmd::kHelpIndex:
            OpenHelp(kHelpContentsPage);
            return true;
        case cmd::kGettingStarted:
            OpenHelp(kGettingStartedPage);
            return true;
        default:
            return libraries_->RunCommand(id);
    }
}

bool CMainWindow::OpenFile(const QString& fileName) {
    bool loaded = false;
    RunGuarded(this, [&] {
        lastReadSerial_ = games_.NextSerial();
        const COpenResult result = OpenGameFile(fileName.toStdString(), games_, fileDialogs_);
        if (!result.game) {
            if (result.messageId != 0)
                ShowMessage(this, QMessageBox::Warning, QString::fromStdString(result.message));
            return;
        }
        if (params::GridAfterRead.GetInt() != 0) window_->SetGridStyle(true);
        ShowGame(result.game);
        window_->Zoom(EZoom::kAll);
        loaded = true;
        if (result.showDescription) {
            CDescriptionDialog dialog(*result.game, this);
            dialog.exec();
        }
    });
    UpdateTitle();
    return loaded;
}

bool CMainWindow::SaveFile(const QString& fileName) {
    CGame* game = CurrentGame();
    if (!game) return false;
    try {
        SaveGameToFile(*game, fileName.toStdString());
    } catch (const CErrorException& failure) {
        // The old file is untouched; the message names the file and the system's reason.
        ShowMessage(this, QMessageBox::Warning, QString::fromStdString(failure.what()));
        return false;
    }
    UpdateTitle();
    return true;
}

bool CMainWindow::NameGame(CGame& game) {
    QString proposal = game.IsNamed() ? QString::fromStdString(game.Name().Text()) : QString();
    for (;;) {
        CNameDialog dialog(proposal, this);
        if (dialog.exec() != QDialog::Accepted) return false;
        const std::string name = dialog.Name();
        proposal = QString::fromStdString(name);
        if (game.SetName(CName(name))) {
            UpdateTitle();
            return true;
        }
        CGame* other = games_.FindGameByName(CName(name));
        if (!other) continue;
        QMessageBox clash(QMessageBox::Information, QStringLiteral("Tessera"),
                          QStringLiteral("There is already a game called \"%1\"").arg(proposal),
                          QMessageBox::Ok, this);
        QPushButton* seeOther = clash.addButton(QStringLiteral("See Other..."), QMessageBox::ActionRole);
        clash.exec();
        if (clash.clickedButton() != seeOther) continue;
        CNameInUseDialog inUse(*other, proposal, this);
        const int choice = inUse.exec();
        if (choice == CNameInUseDialog::kRenameOther) {
            const std::string newName = inUse.NewNameField()->text().trimmed().toStdString();
            if (!IsValidGameName(newName))
                ShowMessage(this, QMessageBox::Warning, InvalidNameText());
            else
                other->SetName(CName(newName));
        } else if (choice == CNameInUseDialog::kUnnameOther) {
            other->SetName(CName());
        } else if (choice == CNameInUseDialog::kDeleteOther) {
            games_.DestroyGame(*other);
        }
    }
}

void CMainWindow::SetRuleByName(const QString& name) {
    CGame* game = CurrentGame();
    const CRule* rule = FindRuleByName(name.toStdString());
    if (!game || !rule) return;
    const RuleCode code = rule->Code();
    // A rule change is an edit of the shown generation.
    window_->SetRule(code);
    UpdatePanes();
}

void CMainWindow::GotoFromDialog() {
    CGame* game = CurrentGame();
    if (!game) return;
    CGotoDialog dialog(gotoMemory_, *game, this);
    if (dialog.exec() == QDialog::Accepted) StartGoto(gotoMemory_.target, gotoMemory_.interval);
}

void CMainWindow::StartGoto(int32_t target, int32_t interval) {
    CGame* game = CurrentGame();
    if (!game) return;
    CancelGrowth();
    NoteCommandStart();
    StartTask(StartGrow(scheduler_, *game, target, interval), EGrowthMode::kIdle);
    window_->CurrentGenerationChanged();
}

void CMainWindow::SelectGameFromDialog() {
    CSelectGameDialog dialog(games_, CurrentGame(), lastReadSerial_, this);
    uint32_t serial = 0;
    if (dialog.exec() != QDialog::Accepted || !dialog.SelectedSerial(serial)) return;
    CGame* game = games_.FindGameBySerial(serial);
    if (!game) return;
    if (dialog.Generation() == CSelectGameDialog::kFirst) game->ResetToGeneration(0);
    if (dialog.Generation() == CSelectGameDialog::kLast) game->ResetToGeneration(game->Last().Generation());
    ShowGame(game);
}

void CMainWindow::StepBackOne() {
    CGame* game = CurrentGame();
    if (!game || game->Generation() <= game->First().Generation()) return;
    CUniverse* previous = game->GetGeneration(game->Generation() - 1);
    if (previous) game->RestoreCurrent(*previous);
    window_->CurrentGenerationChanged();
}

// ---- Growth buttons and tasks

void CMainWindow::StartTask(std::unique_ptr<CBgTask> task, EGrowthMode mode) {
    // The task was made with no completion of its own: completion is noticed by the scheduler tick.
    task_ = std::move(task);
    mode_ = mode;
    if (!task_->IsQueued() && !task_->HasFinished()) scheduler_.Schedule(*task_, scheduler_.Now());
    WakeScheduler();
}

void CMainWindow::WakeScheduler() {
    if (!pump_.isActive()) pump_.start();
}

void CMainWindow::RunSchedulerTick() {
    const bool more = scheduler_.RunBackgroundSlice();
    if (task_ && task_->HasFinished()) {
        // The growth ended by itself (target reached, a repeat found, cancelled in its box).
        task_.reset();
        mode_ = EGrowthMode::kIdle;
        if (QToolButton* toggle = GrowButton(cmd::kGrowContinuously)) toggle->setChecked(false);
        ShowCommandTime();
    }
    if (!more) pump_.stop();
    if (!paneTimer_.isActive()) paneTimer_.start();
}

void CMainWindow::CancelGrowth() {
    if (task_) {
        if (!task_->HasFinished()) scheduler_.FinishNow(*task_);
        task_.reset();
    }
    if (mode_ != EGrowthMode::kArmed) mode_ = EGrowthMode::kIdle;
    if (QToolButton* toggle = GrowButton(cmd::kGrowContinuously)) toggle->setChecked(false);
    if (CGame* game = CurrentGame()) EndGrowthDisplay(*game);
    UpdatePanes();
}

void CMainWindow::GrowButtonDown(EGrowthMode button) {
    if (mode_ != EGrowthMode::kIdle && mode_ != button && mode_ != EGrowthMode::kArmed) {
        CancelGrowth();
        return;
    }
    if (mode_ != EGrowthMode::kIdle) return;
    mode_ = EGrowthMode::kArmed;
    armedButton_ = button;
    armTimer_.start(QApplication::doubleClickInterval());
}

void CMainWindow::ArmTimeout() {
    if (mode_ != EGrowthMode::kArmed) return;
    NoteCommandStart();
    if (armedButton_ == EGrowthMode::kBackward)
        StartTask(std::make_unique<CBgReverseGrow>(scheduler_), armedButton_);
    else
        StartTask(std::make_unique<CBgRepeatGrow>(scheduler_), armedButton_);
}

void CMainWindow::GrowButtonUp(EGrowthMode button, bool overButton) {
    if (mode_ == EGrowthMode::kArmed && armedButton_ == button) {
        armTimer_.stop();
        mode_ = EGrowthMode::kIdle;
        if (overButton)
            RunCommandId(button == EGrowthMode::kForward ? cmd::kGrowWhilePressed : cmd::kGrowBackwards);
    } else if (mode_ == button) {
        CancelGrowth();
    }
}

void CMainWindow::SingleStep(EGrowthMode button) {
    if (button == EGrowthMode::kForward) {
        if (CGame* game = CurrentGame())
            if (int status = window_->GrowOneGeneration()) ReportMessage(*game, status);
    } else {
        StepBackOne();
    }
}

void CMainWindow::SetContinuous(bool on) {
    if (mode_ == EGrowthMode::kArmed) {
        armTimer_.stop();
        mode_ = EGrowthMode::kIdle;
    }
    if (!on || mode_ != EGrowthMode::kIdle) {
        CancelGrowth();
        return;
    }
    NoteCommandStart();
    StartTask(std::make_unique<CBgRepeatGrow>(scheduler_), EGrowthMode::kContinuous);
    if (QToolButton* toggle = GrowButton(cmd::kGrowContinuously)) toggle->setChecked(true);
}

// ---- CMainWindowPort

void CMainWindow::ShowGeneration(CGame& game) {
    if (&game == CurrentGame()) window_->CurrentGenerationChanged();
    if (!paneTimer_.isActive()) paneTimer_.start();
}

void CMainWindow::EndGrowthDisplay(CGame& game) {
    if (&game == CurrentGame()) window_->CurrentGenerationChanged();
}

void CMainWindow::EnterBusyState() {
    if (busyDepth_++ == 0) QApplication::setOverrideCursor(Qt::BusyCursor);
}

void CMainWindow::LeaveBusyState() {
    if (busyDepth_ > 0 && --busyDepth_ == 0) QApplication::restoreOverrideCursor();
}

void CMainWindow::ReportMessage(CGame& game, int messageId) {
    // Shown once the slice has returned: a message box waits on the user, and the scheduler must not
    // run again inside its event loop.
    const QString text =
        IsRepeatReport(messageId)
            ? QString::fromStdString(RepeatMessage(game, messageId))
            : QString::fromUtf8(MessageText(messageId).data(), qsizetype(MessageText(messageId).size()));
    QTimer::singleShot(0, this, [this, text] { ShowMessage(this, QMessageBox::Information, text); });
}

void CMainWindow::ReportError(int messageId, std::string_view detail) {
    const std::string_view base = MessageText(messageId);
    QString text = QString::fromUtf8(base.data(), qsizetype(base.size()));
    if (!detail.empty() && detail.substr(0, base.size()) != base)
        text += QStringLiteral(" (") + QString::fromUtf8(detail.data(), qsizetype(detail.size())) + ")";
    const QMessageBox::Icon icon =
        messageId == msg::OutOfMemory ? QMessageBox::Warning : QMessageBox::Critical;
    QTimer::singleShot(0, this, [this, text, icon] { ShowMessage(this, icon, text); });
}

uint32_t CMainWindow::SpeedSliderValue() { return slider_->Speed(); }

void CMainWindow::ArmSliceTimer(int64_t milliseconds) {
    sliceTimer_.start(int(std::clamp<int64_t>(milliseconds, 0, INT32_MAX)));
}

void CMainWindow::PostCommand(uint32_t commandId) {
    QTimer::singleShot(0, this, [this, commandId] { RunCommandId(commandId); });
}

std::unique_ptr<CCancelBoxDisplay> CMainWindow::MakeCancelBoxDisplay(CCancelBox& box) {
    return std::make_unique<CProgressBoxDisplay>(*this, box);
}

// ---- Shut-down

void CMainWindow::closeEvent(QCloseEvent* event) {
    armTimer_.stop();
    CancelGrowth();
    if (!isMaximized() && !isMinimized()) {
        params::WindowPosX.SetInt(x());
        params::WindowPosY.SetInt(y());
        params::WindowSizeX.SetInt(width());
        params::WindowSizeY.SetInt(height());
    }
    libraries_->SaveOrAskAtShutDown();
    SaveAllParametersIfAuto();
    clipboard_->GiveUp();
    window_->ShowGame(nullptr);
    games_.DeleteAllGames();
    UpdateTitle();
    event->accept();
}

}  // namespace tessera::ui
