#pragma once
// The desktop tests' surroundings: a private configuration file, a scheduler on a fake clock, a game
// registry, the main window over them, the messages the program would have shown, and the ways a person
// answers dialogs. Each test class registers itself here so that the one test program runs them all.
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStyleHints>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "config/parameters.h"
#include "games/fakes.h"
#include "games/game.h"
#include "games/game_registry.h"
#include "games/task_scheduler.h"
#include "patterns/named_pattern.h"
#include "patterns/pattern.h"
#include "patterns/pattern_library.h"
#include "patterns/recognition.h"
#include "support/cells.h"
#include "support/pattern_texts.h"
#include "support/reference_life.h"
#include "support/temp_folder.h"
#include "ui/command_ids.h"
#include "ui/help_window.h"
#include "ui/main_window.h"
#include "ui/message_sink.h"
#include "ui/patterns_dialog.h"
#include "ui/universe_window.h"

namespace tessera::test {

inline constexpr int kModalPollMs = 10;
inline constexpr int kModalPollTries = 300;

template <class T>
void PollModal(std::function<void(T*)> act, int triesLeft) {
    QWidget* modal = QApplication::activeModalWidget();
    if (T* dialog = qobject_cast<T*>(modal)) {
        act(dialog);
    } else if (triesLeft > 0) {
        QTimer::singleShot(kModalPollMs, [act, triesLeft] { PollModal<T>(act, triesLeft - 1); });
    } else if (modal) {
        modal->close();  // not the dialog expected: the test fails on what follows instead of hanging
    }
}

// Runs act on the next modal widget of type T (within about 3 s), from inside the modal's event loop.
template <class T>
void WhenModal(std::function<void(T*)> act) {
    QTimer::singleShot(0, [act] { PollModal<T>(act, kModalPollTries); });
}

class CUiFixture {
public:
    CUiFixture() {
        ::setenv("TESSERA_INI", iniPath.c_str(), 1);
        ResetAllParameters();
        params::AutoStopGrow.SetInt(0);
        params::SlowStart.SetInt(0);
        params::RightClickPopup.SetInt(0);
        clock.advancePerRead = 1;  // time moves as the scheduler looks at it
        QGuiApplication::styleHints()->setMouseDoubleClickInterval(kDoubleClick);
        ui::SetMessageSink([this](QMessageBox::Icon, const QString& text) { messages.push_back(text); });
        window = std::make_unique<ui::CMainWindow>(games, scheduler);
        window->resize(640, 520);
        window->show();
    }
    ~CUiFixture() {
        delete ui::ExistingHelpWindow();
        if (user) DestroyLibrary(user);  // before the window, which closes the libraries left open
        window.reset();
        ui::SetMessageSink({});
        if (user) ResetRecognition();
        ResetAllParameters();
    }

    ui::CUniverseWindow& View() { return *window->UniverseWindow(); }
    CGame& Game() { return *window->CurrentGame(); }
    // Puts the cells into the shown game's current generation.
    void Place(const Cells& cells) {
        for (const CLPoint& p : cells) View().SetCellAlive(p, true);
    }
    Cells GameCells() { return CellsOf(Game().Current()); }
    QString PaneText(int pane) {
        QTest::qWait(int(params::StatusBarUpdateInterval.GetUInt()) + 20);  // the panes refresh on a timer
        return window->PaneText(pane);
    }
    // The mouse on the universe window, at the middle of cells.
    QPoint At(CLPoint cell) { return View().WidgetPointOfCell(cell); }
    void Click(CLPoint cell, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers keys = {}) {
        QTest::mouseClick(View().viewport(), button, keys, At(cell));
    }
    void Drag(CLPoint from, CLPoint to, Qt::KeyboardModifiers keys = {},
              Qt::MouseButton button = Qt::LeftButton) {
        QWidget* surface = View().viewport();
        QTest::mousePress(surface, button, keys, At(from));
        QTest::mouseMove(surface, At({(from.x + to.x) / 2, (from.y + to.y) / 2}));
        QTest::mouseMove(surface, At(to));
        QTest::mouseRelease(surface, button, keys, At(to));
    }
    // Clicks the push buttons with the given text among the widget's children.
    static void ClickButton(QWidget& parent, const QString& text) {
        for (QPushButton* button : parent.findChildren<QPushButton*>())
            if (button->text() == text) button->click();
    }
    std::string IniText() const { return ReadFile(iniPath); }
    void Key(Qt::Key key, Qt::KeyboardModifiers keys = {}) { QTest::keyClick(window.get(), key, keys); }
    // Runs a command and answers the modal dialog it opens with the action (closed afterwards if still
    // open); false when no dialog came up.
    bool RunAnswering(uint32_t command, const std::function<void(QDialog*)>& action = {}) {
        bool ran = false;
        WhenModal<QDialog>([&](QDialog* dialog) {
            ran = true;
            if (action) action(dialog);
            if (dialog->isVisible()) dialog->reject();
        });
        window->RunCommandId(command);
        return ran;
    }
    // Runs a command whose modal dialog, of type T, the action drives (closed afterwards if still open).
    template <class T>
    void Drive(uint32_t command, const std::function<void(T&)>& action) {
        QVERIFY(RunAnswering(command, [&](QDialog* dialog) {
            QVERIFY(dynamic_cast<T*>(dialog));
            action(dynamic_cast<T&>(*dialog));
        }));
    }
    // Answers the next message box with the button; the text it showed lands in the string answered.
    static std::shared_ptr<QString> AnswerNext(QMessageBox::StandardButton button) {
        auto asked = std::make_shared<QString>();
        WhenModal<QMessageBox>([button, asked](QMessageBox* box) {
            *asked = box->text();
            box->button(button)->click();
        });
        return asked;
    }
    static void Type(QLineEdit* field, const QString& text) {
        field->selectAll();
        QTest::keyClicks(field, text);
    }
    // Recognition on, with an empty user library that goes with the fixture.
    CPatternLibrary* UserLibrary() {
        InstallRecognition();
        return user = MakeLibrary("user.lfl", kUserLibraryNumber);
    }
    static CNamedPattern* AddPattern(CPatternLibrary* library, std::string_view name, const Cells& cells,
                                     ERecognizable recognizable = ERecognizable::ByDefaultRule) {
        std::unique_ptr<CPattern> pattern = CPattern::Create(*MakeUniverse(cells), recognizable);
        return NameNewPattern(pattern, name, library);
    }
    // The floating object's cells where they would be dropped; none when nothing floats.
    Cells Floating() {
        if (!View().HasFloatingObject()) return {};
        const CLSize offset = View().FloatingOffset();
        return Shifted(CellsOf(*View().FloatingObject()), offset.cx, offset.cy);
    }
    // The colour of the first pixel of a cell in the window as the screen would show it.
    QRgb PixelOfCell(CLPoint cell, int dx = 0, int dy = 0) {
        const QImage image = View().viewport()->grab().toImage();
        const ui::CViewGeometry& g = View().Geometry();
        return image.pixel(int(g.PixelX(cell.x)) + dx, int(g.PixelY(cell.y)) + dy) & 0xFFFFFF;
    }

    static constexpr int kDoubleClick = 80;
    CTempFolder temp;  // outlives the window, which writes the configuration as it closes
    const std::filesystem::path folder = temp.Path();
    const std::filesystem::path iniPath = folder / "TESSERA.INI";
    FakeClock clock;
    CTaskScheduler scheduler{clock, CSchedulerTimings{5, 500, 5}};
    CGameRegistry games;
    std::vector<QString> messages;
    std::unique_ptr<ui::CMainWindow> window;
    CPatternLibrary* user = nullptr;
};

using UiTestFactory = std::function<std::unique_ptr<QObject>()>;

inline std::vector<UiTestFactory>& UiTests() {
    static std::vector<UiTestFactory> tests;
    return tests;
}

template <class T>
struct RegisterUiTest {
    RegisterUiTest() {
        UiTests().push_back([] { return std::make_unique<T>(); });
    }
};

}  // namespace tessera::test
