// Main-window commands against the real core: the growth buttons on a fake clock, Goto with its
// progress box and Cancel, stepping back, the game commands, rules, opening a file and shutting down.
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <fstream>

#include "rules/rules.h"
#include "support/reference_life.h"
#include "ui/command_ids.h"
#include "ui/ui_fixture.h"
#include "ui/ui_test_registry.h"

namespace tessera::test {

namespace cmd = ui::cmd;

namespace {
// The R-pentomino: it keeps changing for over a thousand generations.
const Cells kRPentomino{{1, 0}, {2, 0}, {0, 1}, {1, 1}, {1, 2}};

Cells ReferenceGenerations(Cells cells, int generations) {
    for (int i = 0; i < generations; ++i) cells = ReferenceStep(cells, kConwayRuleCode);
    return cells;
}
}  // namespace

class CommandsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<CUiFixture> f;

    QToolButton* Button(uint32_t id) { return f->window->GrowButton(id); }

private slots:
    void init() { f = std::make_unique<CUiFixture>(); }
    void cleanup() { f.reset(); }

    void growthButtonsPressHoldAndToggle() {
        f->Place(kRPentomino);
        // Released before the double-click time: exactly one generation.
        QTest::mousePress(Button(cmd::kGrowWhilePressed), Qt::LeftButton);
        QCOMPARE(f->window->GrowthMode(), ui::EGrowthMode::kArmed);
        QTest::mouseRelease(Button(cmd::kGrowWhilePressed), Qt::LeftButton);
        f->Pump(CUiFixture::kDoubleClick * 3);
        QCOMPARE(f->Game().Generation(), 1);
        QCOMPARE(f->window->GrowthMode(), ui::EGrowthMode::kIdle);
        // Held: it grows until the release, and the generations are the right ones.
        QTest::mousePress(Button(cmd::kGrowWhilePressed), Qt::LeftButton);
        QTRY_VERIFY(f->Game().Generation() > 5);
        QCOMPARE(f->window->GrowthMode(), ui::EGrowthMode::kForward);
        QTest::mouseRelease(Button(cmd::kGrowWhilePressed), Qt::LeftButton);
        const int32_t reached = f->Game().Generation();
        f->Pump(50);
        QCOMPARE(f->Game().Generation(), reached);
        QCOMPARE(f->window->GrowthMode(), ui::EGrowthMode::kIdle);
        QCOMPARE(f->GameCells(), ReferenceGenerations(kRPentomino, reached));
        // Held backwards: it goes back towards the start.
        QTest::mousePress(Button(cmd::kGrowBackwards), Qt::LeftButton);
        QTRY_VERIFY(f->Game().Generation() < reached - 2);
        QTest::mouseRelease(Button(cmd::kGrowBackwards), Qt::LeftButton);
        const int32_t back = f->Game().Generation();
        QCOMPARE(f->GameCells(), ReferenceGenerations(kRPentomino, back));
        // The toggle starts continuous growth; pressing it again stops it and leaves the mode idle.
        QTest::mouseClick(Button(cmd::kGrowContinuously), Qt::LeftButton);
        QCOMPARE(f->window->GrowthMode(), ui::EGrowthMode::kContinuous);
        QTRY_VERIFY(f->Game().Generation() > back + 5);
        QTest::mouseClick(Button(cmd::kGrowContinuously), Qt::LeftButton);
        QCOMPARE(f->window->GrowthMode(), ui::EGrowthMode::kIdle);
        QVERIFY(!f->window->IsGrowing());
        QVERIFY(!Button(cmd::kGrowContinuously)->isChecked());
        QCOMPARE(f->PaneText(1), QStringLiteral("Gen %1").arg(f->Game().Generation()));
    }

    void gotoGrowsInTheBackgroundAndCancels() {
        f->Place(kRPentomino);
        f->window->StartGoto(60, 0);
        QTRY_VERIFY(!f->window->IsGrowing());
        QCOMPARE(f->Game().Generation(), 60);
        QCOMPARE(f->GameCells(), ReferenceGenerations(kRPentomino, 60));
        f->window->RunCommandId(cmd::kPrevious);
        QCOMPARE(f->Game().Generation(), 59);
        QCOMPARE(f->GameCells(), ReferenceGenerations(kRPentomino, 59));
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
        f->Pump(30);
        QCOMPARE(f->Game().Generation(), stopped);
        f->window->RunCommandId(cmd::kFirst);
        QCOMPARE(f->GameCells(), kRPentomino);
        f->window->RunCommandId(cmd::kLast);
        QCOMPARE(f->Game().Generation(), stopped);
    }

    void gameCommandsAndRules() {
        f->Place(Glider());
        f->window->RunCommandId(cmd::kNext);
        f->window->RunCommandId(cmd::kNext);
        CGame& first = f->Game();
        f->window->RunCommandId(cmd::kCopyCurrent);
        QVERIFY(&f->Game() != &first);
        QCOMPARE(f->GameCells(), ReferenceGenerations(Glider(), 2));
        f->window->RunCommandId(cmd::kCopyStart);  // the copy's start is generation 2 of the first
        QCOMPARE(f->GameCells(), ReferenceGenerations(Glider(), 2));
        f->window->ShowGame(&first);
        f->window->RunCommandId(cmd::kCopyStart);
        QCOMPARE(f->GameCells(), Glider());
        f->window->RunCommandId(cmd::kCopyGame);
        QCOMPARE(f->games.Count(), size_t(5));
        f->window->RunCommandId(cmd::kNewGame);
        QCOMPARE(f->Game().Population(), 0u);
        QCOMPARE(f->games.Count(), size_t(6));
        f->window->RunCommandId(cmd::kSelectPrevious);
        f->window->RunCommandId(cmd::kDeleteThis);
        QCOMPARE(f->games.Count(), size_t(5));
        f->window->RunCommandId(cmd::kDeleteOthers);
        QCOMPARE(f->games.Count(), size_t(1));
        // Rules by name from the rule menu.
        f->window->SetRuleByName(QStringLiteral("High Life"));
        QCOMPARE(f->Game().Current().GetRuleCode(), FindRuleByName("High Life")->Code());
        QCOMPARE(f->PaneText(0), QStringLiteral("Rule 23/36"));
    }

    void openingAFileAndShuttingDown() {
        const auto file = f->folder / "pair.rle";
        std::ofstream(file) << "#N Pair\nx = 12, y = 3, rule = B3/S23\nbo9bo$2bo9bo$3o7b3o!\n";
        QVERIFY(f->window->OpenFile(QString::fromStdString(file.string())));
        Cells expected = Glider();
        for (const CLPoint& p : Shifted(Glider(), 10, 0)) expected.insert(p);
        const CLRect bounds = f->Game().Current().GetBounds();
        QCOMPARE(Shifted(f->GameCells(), -bounds.left, -bounds.top), expected);
        QVERIFY(!f->window->OpenFile(QString::fromStdString((f->folder / "missing.rle").string())));
        QCOMPARE(f->messages.size(), size_t(1));
        // Closing writes the window's place and the changed parameters to the configuration file.
        f->window->resize(700, 560);
        f->window->close();
        QCOMPARE(f->games.Count(), size_t(0));
        std::ifstream in(f->iniPath);
        const std::string ini((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        QVERIFY2(ini.find("WindowSizeX=700") != std::string::npos, ini.c_str());
        QVERIFY(ini.find("WindowSizeY=560") != std::string::npos);
        QVERIFY(ini.find("AutoStopGrow=0") != std::string::npos);
    }

    void aMaximisedWindowLeavesTheStoredPlaceAlone() {
        f->window->showMaximized();
        QTRY_VERIFY(f->window->isMaximized());
        f->window->close();
        std::ifstream in(f->iniPath);
        const std::string ini((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        QVERIFY2(ini.find("WindowSize") == std::string::npos && ini.find("WindowPos") == std::string::npos,
                 ini.c_str());
        QVERIFY(ini.find("AutoStopGrow=0") != std::string::npos);
    }
};

static RegisterUiTest<CommandsTest> registered;

}  // namespace tessera::test

#include "commands_test.moc"
