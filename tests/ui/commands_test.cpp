// Main-window commands and keys against the real core: growth on a fake clock, Goto and its Cancel,
// the game commands, rules, files, shut-down, zoom, display, scrolling and selection keys, autostop;
// what the universe window then shows, the zoom arithmetic behind it and the logarithmic scales.
#include <QToolButton>
#include <set>
#include <sstream>

#include "rules/rules.h"
#include "ui/log_slider.h"
#include "ui/ui_fixture.h"
#include "ui/view_geometry.h"

namespace tessera::test {

namespace cmd = ui::cmd;

namespace {
// The R-pentomino keeps changing for over a thousand generations.
Cells RAfter(int generations) { return ReferenceRun(RPentomino(), kConwayRuleCode, generations); }

// A colour parameter as the screen shows it, read from its text: red, green and blue, or one grey level.
QRgb Shown(CParamColor& parameter) {
    std::istringstream in(parameter.GetText());
    int r = 0, g = 0, b = 0;
    in >> r;
    if (!(in >> g >> b)) g = b = r;
    return qRgb(r, g, b) & 0xFFFFFF;
}

}  // namespace

using ui::CViewGeometry;
using ui::EZoom;

class CommandsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<CUiFixture> f;

    QToolButton* Button(uint32_t id) { return f->window->GrowButton(id); }
    int Scale() { return f->View().Geometry().Scale(); }
    struct {
        QRgb alive, background, grid, selected, born, died;
    } colours{};

private slots:
    void init() {
        f = std::make_unique<CUiFixture>();
        f->window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f->window.get()));
        colours = {Shown(params::AliveColor), 0xFFFFFFu,  // white paper by default
                   Shown(params::GridColor),  Shown(params::SelectedColor),
                   Shown(params::BornColor),  Shown(params::DiedColor)};
        // Every check below tells its colour from the others.
        QCOMPARE(std::set<QRgb>({colours.alive, colours.background, colours.grid, colours.selected,
                                 colours.born, colours.died})
                     .size(),
                 size_t(6));
    }
    void cleanup() { f.reset(); }

    void growthButtonsPressHoldAndToggle() {
        f->Place(RPentomino());
        // Released before the double-click time: exactly one generation.
        QTest::mouseClick(Button(cmd::kGrowWhilePressed), Qt::LeftButton);
        QTest::qWait(CUiFixture::kDoubleClick * 3);
        QCOMPARE(f->Game().Generation(), 1);
        // Held: it grows until the release, and the generations are the right ones.
        QTest::mousePress(Button(cmd::kGrowWhilePressed), Qt::LeftButton);
        QTRY_VERIFY(f->Game().Generation() > 5);
        QTest::mouseRelease(Button(cmd::kGrowWhilePressed), Qt::LeftButton);
        const int32_t reached = f->Game().Generation();
        QTest::qWait(50);
        QCOMPARE(f->Game().Generation(), reached);
        QCOMPARE(f->GameCells(), RAfter(reached));
        // Held backwards: it goes back towards the start.
        QTest::mousePress(Button(cmd::kGrowBackwards), Qt::LeftButton);
        QTRY_VERIFY(f->Game().Generation() < reached - 2);
        QTest::mouseRelease(Button(cmd::kGrowBackwards), Qt::LeftButton);
        const int32_t back = f->Game().Generation();
        QCOMPARE(f->GameCells(), RAfter(back));
        // The toggle starts continuous growth; pressing it again stops it and leaves the mode idle.
        QTest::mouseClick(Button(cmd::kGrowContinuously), Qt::LeftButton);
        QCOMPARE(f->window->GrowthMode(), ui::EGrowthMode::kContinuous);
        QTRY_VERIFY(f->Game().Generation() > back + 5);
        QTest::mouseClick(Button(cmd::kGrowContinuously), Qt::LeftButton);
        QVERIFY(!f->window->IsGrowing());
        QVERIFY(!Button(cmd::kGrowContinuously)->isChecked());
        QCOMPARE(f->PaneText(1), QStringLiteral("Gen %1").arg(f->Game().Generation()));
    }

    void gotoGrowsInTheBackgroundAndCancels() {
        f->Place(RPentomino());
        f->window->StartGoto(60, 0);
        QTRY_VERIFY(!f->window->IsGrowing());
        QCOMPARE(f->Game().Generation(), 60);
        QCOMPARE(f->GameCells(), RAfter(60));
        f->window->RunCommandId(cmd::kPrevious);
        QCOMPARE(f->Game().Generation(), 59);
        QCOMPARE(f->GameCells(), RAfter(59));
        // A far target opens the progress box; its Cancel stops the growth where it is.
        f->window->StartGoto(1'000'000, 0);
        QTRY_VERIFY(f->window->ProgressBox() != nullptr);
        auto* cancel = f->window->ProgressBox()->findChild<QPushButton*>();
        QVERIFY(cancel);
        QTest::mouseClick(cancel, Qt::LeftButton);
        QTRY_VERIFY(!f->window->IsGrowing());
        QVERIFY(f->window->ProgressBox() == nullptr);
        const int32_t stopped = f->Game().Generation();
        QVERIFY(stopped > 59 && stopped < 1'000'000);
        QTest::qWait(30);
        QCOMPARE(f->Game().Generation(), stopped);
        f->window->RunCommandId(cmd::kFirst);
        QCOMPARE(f->GameCells(), RPentomino());
        f->window->RunCommandId(cmd::kLast);
        QCOMPARE(f->Game().Generation(), stopped);
    }

    void openingAFileAndShuttingDown() {
        const std::string file = f->temp.Write("pair.rle", "x = 12, y = 3\nbo9bo$2bo9bo$3o7b3o!\n");
        QVERIFY(f->window->OpenFile(QString::fromStdString(file)));
        Cells expected = Shifted(Glider(), 10, 0);
        expected.insert(Glider().begin(), Glider().end());
        QCOMPARE(Normalised(f->GameCells()), expected);
        QVERIFY(!f->window->OpenFile(QString::fromStdString((f->folder / "missing.rle").string())));
        QCOMPARE(f->messages.size(), size_t(1));
        // Closing writes the window's place and the changed parameters to the configuration file.
        f->window->resize(700, 560);
        f->window->close();
        QCOMPARE(f->games.Count(), size_t(0));
        const std::string ini = f->IniText();
        QVERIFY2(ini.find("WindowSizeX=700") != std::string::npos, ini.c_str());
        QVERIFY(ini.find("WindowSizeY=560") != std::string::npos);
        QVERIFY(ini.find("AutoStopGrow=0") != std::string::npos);
    }

    void aMaximisedWindowLeavesTheStoredPlaceAlone() {
        f->window->showMaximized();
        QTRY_VERIFY(f->window->isMaximized());
        f->window->close();
        const std::string ini = f->IniText();
        QVERIFY2(ini.find("WindowSize") == std::string::npos && ini.find("WindowPos") == std::string::npos,
                 ini.c_str());
        QVERIFY(ini.find("AutoStopGrow=0") != std::string::npos);
    }

    void generationAndGameKeysAndCommands() {
        f->Place(RPentomino());
        for (int i = 0; i < 4; ++i) f->Key(Qt::Key_PageDown);
        QCOMPARE(f->GameCells(), RAfter(4));
        for (auto [key, generation] : {std::pair{Qt::Key_PageUp, 3}, {Qt::Key_Home, 0}, {Qt::Key_End, 4}}) {
            f->Key(key);
            QCOMPARE(f->Game().Generation(), generation);
        }
        CGame& original = f->Game();
        f->Key(Qt::Key_F3, Qt::ControlModifier);  // copy the game with its history
        QVERIFY(&f->Game() != &original && f->Game().Generation() == 4 &&
                f->Game().First().Generation() == 0);
        f->Key(Qt::Key_F3, Qt::ShiftModifier);  // copy the current generation as a start
        QVERIFY(f->Game().Generation() == 0 && f->GameCells() == RAfter(4));
        f->Key(Qt::Key_F2);
        QCOMPARE(f->Game().Population(), 0u);
        QCOMPARE(f->games.Count(), size_t(4));
        for (int i = 0; i < 3; ++i) f->Key(Qt::Key_PageUp, Qt::ShiftModifier);
        QCOMPARE(&f->Game(), &original);
        f->Key(Qt::Key_PageDown, Qt::ShiftModifier);
        QCOMPARE(f->Game().Generation(), 4);
        f->Key(Qt::Key_End, Qt::ShiftModifier);
        QCOMPARE(f->Game().Population(), 0u);
        // The start of a game as a new game; deleting the game shown, then all the others.
        f->window->ShowGame(&original);
        f->window->RunCommandId(cmd::kCopyStart);
        QCOMPARE(f->GameCells(), RPentomino());
        f->window->RunCommandId(cmd::kDeleteThis);
        QCOMPARE(f->games.Count(), size_t(4));
        f->window->RunCommandId(cmd::kDeleteOthers);
        QCOMPARE(f->games.Count(), size_t(1));
        // Rules by name from the rule menu.
        f->window->SetRuleByName(QStringLiteral("High Life"));
        QCOMPARE(f->Game().Current().GetRuleCode(), FindRuleByName("High Life")->Code());
        QCOMPARE(f->PaneText(0), QStringLiteral("Rule 23/36"));
    }

    void zoomStyleAndDisplayKeys() {
        f->Place(Glider());
        QCOMPARE(Scale(), 10);  // the default grid pitch
        // Grid scales run from 6 to 12 and map scales up to 8 (the default 5); the tables give the steps.
        for (auto [key, modifiers, scale] : {std::tuple{Qt::Key_F5, Qt::NoModifier, 12},
                                             {Qt::Key_F7, Qt::NoModifier, 8},
                                             {Qt::Key_F7, Qt::NoModifier, 6},
                                             {Qt::Key_F6, Qt::ControlModifier, 8},
                                             {Qt::Key_F6, Qt::ShiftModifier, 10},
                                             {Qt::Key_M, Qt::ControlModifier, 5},
                                             {Qt::Key_F7, Qt::NoModifier, 3},
                                             {Qt::Key_F6, Qt::NoModifier, 8}}) {
            f->Key(key, modifiers);
            QCOMPARE(Scale(), scale);
        }
        QVERIFY(!f->View().IsGridStyle());
        f->Key(Qt::Key_G, Qt::ControlModifier);
        QVERIFY(f->View().IsGridStyle());
        f->Key(Qt::Key_F4, Qt::ShiftModifier);
        QCOMPARE(f->View().GrowDisplay(), ui::EGrowDisplay::kDifferences);
        f->Key(Qt::Key_F4, Qt::ControlModifier);
        QCOMPARE(f->View().GrowDisplay(), ui::EGrowDisplay::kFlashDifferences);
        f->Key(Qt::Key_F4);
        QCOMPARE(f->View().GrowDisplay(), ui::EGrowDisplay::kNewOnly);
    }

    void scrollingAndSelectionKeys() {
        const int overlap = params::PageScrollOverlap.GetInt();
        const CLRect start = f->View().Geometry().VisibleCells();
        QTest::keyClick(&f->View(), Qt::Key_Right);
        QCOMPARE(f->View().Geometry().VisibleCells().left - start.left, start.right - start.left - overlap);
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Left}) QTest::keyClick(&f->View(), key);
        QCOMPARE(f->View().Geometry().VisibleCells(), start);

        f->Place(Shifted(Glider(), 30, 40));
        f->Key(Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(f->View().SelectionRect(), (CLRect{30, 33, 40, 43}));
        f->Key(Qt::Key_F5, Qt::ShiftModifier);  // zoom to the selection: it fits, at the largest grid scale
        QCOMPARE(Scale(), 12);
        f->Key(Qt::Key_N, Qt::ControlModifier);  // grow the selection
        QCOMPARE(f->GameCells(), Shifted(ReferenceStep(Glider(), kConwayRuleCode), 30, 40));
        f->Key(Qt::Key_Delete);
        QCOMPARE(f->Game().Population(), 0u);
    }

    // Automatic stop from the menu, turned on midway: a repeat is reported with its generations.
    void autostopTurnedOnMidwayReportsTheRepeat() {
        f->Place(CellsFromPicture("***"));
        for (int i = 0; i < 3; ++i) f->window->RunCommandId(cmd::kNext);
        f->window->RunCommandId(cmd::kAutostop);
        QCOMPARE(params::AutoStopGrow.GetInt(), 1);
        for (int i = 0; i < 10 && f->messages.empty(); ++i) {
            f->window->RunCommandId(cmd::kNext);
            QTest::qWait(1);
        }
        QCOMPARE(f->messages, std::vector<QString>{"Generation 5 is the same as generation 3."});
        QCOMPARE(f->Game().Generation(), 7);
        f->window->RunCommandId(cmd::kAutostop);
        QCOMPARE(params::AutoStopGrow.GetInt(), 0);
    }

    void mapStyleAtSeveralScales() {
        f->window->RunCommandId(cmd::kMapStyle);
        f->Place({{0, 0}, {3, 1}, {-40, -30}});
        for (int scale : {1, 2, 5, 8, 11}) {
            f->View().Geometry().SetScale(scale, CLPoint{0, 0});
            QCOMPARE(f->PixelOfCell({0, 0}), colours.alive);
            QCOMPARE(f->PixelOfCell({3, 1}), colours.alive);
            QCOMPARE(f->PixelOfCell({1, 0}), colours.background);
            QCOMPARE(f->PixelOfCell({3, 0}), colours.background);
            // The gap at the right of a cell stays background from scale 3 on.
            if (scale >= 3) QCOMPARE(f->PixelOfCell({0, 0}, scale - 1, 0), colours.background);
            if (scale >= 2) QCOMPARE(f->PixelOfCell({0, 0}, 1, 0), colours.alive);
        }
        // Zoomed out, a pixel stands for a square of cells: lit when any of them lives.
        f->View().Geometry().SetScale(-4, CLPoint{0, 0});
        QCOMPARE(f->PixelOfCell({3, 1}), colours.alive);
        QCOMPARE(f->PixelOfCell({-40, -30}), colours.alive);
        QCOMPARE(f->PixelOfCell({8, 0}), colours.background);
    }

    void gridStyleAndSelection() {
        f->window->RunCommandId(cmd::kGridStyle);
        f->Place({{0, 0}, {2, 0}, {5, 5}});
        QCOMPARE(f->View().Geometry().Scale(), 10);
        QCOMPARE(f->PixelOfCell({0, 0}, 4, 4), colours.alive);
        QCOMPARE(f->PixelOfCell({0, 0}, 9, 4), colours.grid);
        QCOMPARE(f->PixelOfCell({1, 0}, 4, 4), colours.background);
        f->View().SetSelectionRect({2, 6, 0, 6});
        QCOMPARE(f->PixelOfCell({0, 0}, 4, 4), colours.alive);
        QCOMPARE(f->PixelOfCell({2, 0}, 4, 4), colours.selected);
        QCOMPARE(f->PixelOfCell({5, 5}, 4, 4), colours.selected);
    }

    void differencesAfterOneStep() {
        params::AnimateTimer.SetInt(100);
        f->window->RunCommandId(cmd::kDifferences);
        f->Place({{0, 1}, {1, 1}, {2, 1}});  // a blinker lying down
        f->window->RunCommandId(cmd::kGrowOne);
        QCOMPARE(f->Game().Generation(), 1);
        QCOMPARE(f->PixelOfCell({1, 0}, 2, 2), colours.born);
        QCOMPARE(f->PixelOfCell({1, 2}, 2, 2), colours.born);
        QCOMPARE(f->PixelOfCell({0, 1}, 2, 2), colours.died);
        QCOMPARE(f->PixelOfCell({1, 1}, 2, 2), colours.alive);
        // Flashing shows the differences, then the plain generation.
        f->window->RunCommandId(cmd::kFlashDifferences);
        f->window->RunCommandId(cmd::kGrowOne);
        QCOMPARE(f->PixelOfCell({0, 1}, 2, 2), colours.born);
        QTRY_COMPARE(f->PixelOfCell({0, 1}, 2, 2), colours.alive);
        QCOMPARE(f->PixelOfCell({1, 0}, 2, 2), colours.background);
    }

    // The grid scales' steps are checked through the keys; here the map scales below 1 and the limits.
    void zoomStepsStayWithinTheLimitsAndFitsCentre() {
        CViewGeometry g({-16, 31, 31});
        g.Resize(300, 200);
        const auto zoom = [&g](int from, EZoom how) {
            g.SetScale(from);
            g.Zoom(how, std::nullopt, EmptyRect, EmptyRect);
            return g.Scale();
        };
        QVERIFY(zoom(31, EZoom::kIn) == 31 && zoom(1, EZoom::kOut) == -2 && zoom(-2, EZoom::kOut) == -4);
        QVERIFY(zoom(-4, EZoom::kIn) == -2 && zoom(-2, EZoom::kIn) == 1);
        g.SetScale(-5);  // not a power of two
        QCOMPARE(g.Scale(), -8);
        CViewGeometry grid({6, 12, 6});
        grid.Zoom(EZoom::kOut, std::nullopt, EmptyRect, EmptyRect);
        QCOMPARE(grid.Scale(), 6);
        // Fitting chooses the scale and the centre.
        CViewGeometry fit({-16, 8, 5});
        fit.Resize(300, 300);
        const CLRect wide{0, 1000, 0, 10};
        fit.Zoom(EZoom::kCosmic, std::nullopt, wide, EmptyRect);
        QCOMPARE(fit.Scale(), -4);
        QVERIFY(fit.VisibleCells().left <= 0 && fit.VisibleCells().right >= 1000);
        fit.Zoom(EZoom::kAll, std::nullopt, wide, EmptyRect);
        QCOMPARE(fit.Scale(), 1);
        fit.Zoom(EZoom::kAll, std::nullopt, CLRect{-20, 20, 100, 130}, EmptyRect);
        QCOMPARE(fit.Scale(), 7);
        QCOMPARE(fit.Centre(), (CLPoint{0, 115}));
    }

    void edgesOfThePlanePixelsAndLogarithmicScales() {
        for (int scale : {-16, 1, 8}) {
            CViewGeometry g({-16, 31, scale});
            g.Resize(1200, 900);
            g.SetScale(scale, CLPoint{2147483646, -2147483647});
            const CLRect v = g.VisibleCells();
            QVERIFY(v.left >= UniverseLimits.left && v.left < v.right && v.right <= UniverseLimits.right);
            QVERIFY(v.top >= UniverseLimits.top && v.top < v.bottom);
            QVERIFY(g.CellAt(1199, 0).x <= 2147483645);
            g.ScrollCells(int64_t{1} << 40, -(int64_t{1} << 40));
            QVERIFY(g.VisibleCells().right <= UniverseLimits.right);
        }
        // Pixels and cells agree; a distance in pixels is rounded away from zero.
        CViewGeometry g({-16, 31, 5});
        g.Resize(100, 100);
        g.SetScale(5, CLPoint{0, 0});
        QCOMPARE(g.CellAt(int(g.PixelX(7)), int(g.PixelY(-3)) + 4), (CLPoint{7, -3}));
        QCOMPARE(g.PixelsToCells(6, -6), (CLPoint{2, -2}));
        g.SetScale(-4);
        QCOMPARE(g.PixelsToCells(3, 0).x, 12);
        // The logarithmic scales of the slider and auto-scroll.
        QCOMPARE(ui::CLogSlider::SpeedAt(1, 10000, 0, 1000, 0), 1u);  // the top: the options sheet's sliders
        QCOMPARE(ui::CLogSlider::SpeedAt(1, 10000, 0, 1000, 500), 100u);  // halfway: the geometric mean
        QCOMPARE(ui::LogInterpolate(7, 7, 0, 50, 13), 7);                 // equal rates stay constant
        ui::CLogSlider slider;
        slider.SetSpeedRange(1, 10000);
        slider.SetSpeed(1000);
        QCOMPARE(slider.value(), 750);
        QCOMPARE(slider.Speed(), 1000u);
    }
};

static RegisterUiTest<CommandsTest> registered;

}  // namespace tessera::test

#include "commands_test.moc"
