// The keyboard on the real window: generation and game keys, zoom keys at the scales the zoom tables
// give, grid and map style, the growth displays, scrolling by pages and the selection keys.
#include <QTest>

#include "support/reference_life.h"
#include "ui/command_ids.h"
#include "ui/ui_fixture.h"
#include "ui/ui_test_registry.h"

namespace tessera::test {

namespace {
const Cells kRPentomino{{1, 0}, {2, 0}, {0, 1}, {1, 1}, {1, 2}};
}  // namespace

class KeysTest : public QObject {
    Q_OBJECT
    std::unique_ptr<CUiFixture> f;

    void Press(int key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(f->window.get(), Qt::Key(key), modifiers);
    }
    int Scale() { return f->View().Geometry().Scale(); }

private slots:
    void init() {
        f = std::make_unique<CUiFixture>();
        f->window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f->window.get()));
    }
    void cleanup() { f.reset(); }

    void generationKeys() {
        f->Place(kRPentomino);
        for (int i = 0; i < 4; ++i) Press(Qt::Key_PageDown);
        QCOMPARE(f->Game().Generation(), 4);
        Cells expected = kRPentomino;
        for (int i = 0; i < 4; ++i) expected = ReferenceStep(expected, kConwayRuleCode);
        QCOMPARE(f->GameCells(), expected);
        Press(Qt::Key_PageUp);
        QCOMPARE(f->Game().Generation(), 3);
        Press(Qt::Key_Home);
        QCOMPARE(f->Game().Generation(), 0);
        QCOMPARE(f->GameCells(), kRPentomino);
        Press(Qt::Key_End);
        QCOMPARE(f->Game().Generation(), 4);
    }

    void gameKeys() {
        f->Place(kRPentomino);
        Press(Qt::Key_PageDown);
        CGame& original = f->Game();
        Press(Qt::Key_F3);  // copy start
        QVERIFY(&f->Game() != &original);
        QCOMPARE(f->GameCells(), kRPentomino);
        QCOMPARE(f->Game().Generation(), 0);
        Press(Qt::Key_PageUp, Qt::ShiftModifier);  // previous game
        QCOMPARE(&f->Game(), &original);
        Press(Qt::Key_F3, Qt::ShiftModifier);  // copy current: starts at generation 1's cells
        QCOMPARE(f->GameCells(), ReferenceStep(kRPentomino, kConwayRuleCode));
        CGame& copyCurrent = f->Game();
        Press(Qt::Key_PageUp, Qt::ShiftModifier);
        Press(Qt::Key_PageUp, Qt::ShiftModifier);
        QCOMPARE(&f->Game(), &original);
        Press(Qt::Key_F3, Qt::ControlModifier);  // copy game: its history too
        CGame& copyGame = f->Game();
        QCOMPARE(copyGame.Generation(), 1);
        QCOMPARE(copyGame.First().Generation(), 0);
        QCOMPARE(f->games.Count(), size_t(4));
        Press(Qt::Key_PageUp, Qt::ShiftModifier);
        QCOMPARE(&f->Game(), &copyCurrent);
        Press(Qt::Key_End, Qt::ShiftModifier);  // the most recently made game
        QCOMPARE(&f->Game(), &copyGame);
        Press(Qt::Key_F2);  // a new, empty game
        QCOMPARE(f->Game().Population(), 0u);
    }

    void zoomStyleAndDisplayKeys() {
        f->Place(Glider());
        QVERIFY(f->View().IsGridStyle());
        QCOMPARE(Scale(), 10);  // the default grid pitch
        Press(Qt::Key_F5);
        QCOMPARE(Scale(), 12);  // the zoom-in table gives 14, clamped to the grid's largest
        Press(Qt::Key_F7);
        QCOMPARE(Scale(), 8);
        Press(Qt::Key_F7);
        QCOMPARE(Scale(), 6);
        Press(Qt::Key_F6, Qt::ControlModifier);  // back to the scale before
        QCOMPARE(Scale(), 8);
        Press(Qt::Key_F6, Qt::ShiftModifier);
        QCOMPARE(Scale(), 10);
        Press(Qt::Key_M, Qt::ControlModifier);
        QVERIFY(!f->View().IsGridStyle());
        QCOMPARE(Scale(), 5);  // the default map pitch
        Press(Qt::Key_F7);
        QCOMPARE(Scale(), 3);
        Press(Qt::Key_F6);  // a glider fits at the largest map scale
        QCOMPARE(Scale(), 8);
        const CLRect visible = f->View().Geometry().VisibleCells();
        QVERIFY(visible.left <= 0 && visible.right >= 3 && visible.top <= 0 && visible.bottom >= 3);
        Press(Qt::Key_G, Qt::ControlModifier);
        QVERIFY(f->View().IsGridStyle());

        Press(Qt::Key_F4, Qt::ShiftModifier);
        QCOMPARE(f->View().GrowDisplay(), ui::EGrowDisplay::kDifferences);
        Press(Qt::Key_F4, Qt::ControlModifier);
        QCOMPARE(f->View().GrowDisplay(), ui::EGrowDisplay::kFlashDifferences);
        Press(Qt::Key_F4);
        QCOMPARE(f->View().GrowDisplay(), ui::EGrowDisplay::kNewOnly);
    }

    void scrollingAndSelectionKeys() {
        const int overlap = params::PageScrollOverlap.GetInt();
        const CLRect start = f->View().Geometry().VisibleCells();
        QTest::keyClick(&f->View(), Qt::Key_Right);
        CLRect now = f->View().Geometry().VisibleCells();
        QCOMPARE(now.left - start.left, start.right - start.left - overlap);
        QTest::keyClick(&f->View(), Qt::Key_Down);
        QTest::keyClick(&f->View(), Qt::Key_Up);
        QTest::keyClick(&f->View(), Qt::Key_Left);
        now = f->View().Geometry().VisibleCells();
        QCOMPARE(now.left, start.left);
        QCOMPARE(now.top, start.top);

        f->Place(Shifted(Glider(), 30, 40));
        Press(Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(f->View().SelectionRect(), (CLRect{30, 33, 40, 43}));
        Press(Qt::Key_F5, Qt::ShiftModifier);  // zoom to the selection: it fits, at the largest grid scale
        QCOMPARE(Scale(), 12);
        const CLRect shown = f->View().Geometry().VisibleCells();
        QVERIFY(shown.left <= 30 && shown.right >= 33 && shown.top <= 40 && shown.bottom >= 43);
        Press(Qt::Key_N, Qt::ControlModifier);  // grow the selection
        QCOMPARE(f->GameCells(), Shifted(ReferenceStep(Glider(), kConwayRuleCode), 30, 40));
        Press(Qt::Key_Delete);
        QCOMPARE(f->Game().Population(), 0u);
    }
};

static RegisterUiTest<KeysTest> registered;

}  // namespace tessera::test

#include "keys_test.moc"
