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

    void generationAndGameKeys() {
        f->Place(kRPentomino);
        Cells expected = kRPentomino;
        for (int i = 0; i < 4; ++i) {
            Press(Qt::Key_PageDown);
            expected = ReferenceStep(expected, kConwayRuleCode);
        }
        QCOMPARE(f->GameCells(), expected);
        for (auto [key, generation] : {std::pair{Qt::Key_PageUp, 3}, {Qt::Key_Home, 0}, {Qt::Key_End, 4}}) {
            Press(key);
            QCOMPARE(f->Game().Generation(), generation);
        }
        CGame& original = f->Game();
        Press(Qt::Key_F3, Qt::ControlModifier);  // copy the game with its history
        QVERIFY(&f->Game() != &original && f->Game().Generation() == 4 &&
                f->Game().First().Generation() == 0);
        Press(Qt::Key_F3, Qt::ShiftModifier);  // copy the current generation as a start
        QVERIFY(f->Game().Generation() == 0 && f->GameCells() == expected);
        Press(Qt::Key_F2);
        QCOMPARE(f->Game().Population(), 0u);
        QCOMPARE(f->games.Count(), size_t(4));
        for (int i = 0; i < 3; ++i) Press(Qt::Key_PageUp, Qt::ShiftModifier);
        QCOMPARE(&f->Game(), &original);
        Press(Qt::Key_PageDown, Qt::ShiftModifier);
        QCOMPARE(f->Game().Generation(), 4);
        Press(Qt::Key_End, Qt::ShiftModifier);
        QCOMPARE(f->Game().Population(), 0u);
    }

    void zoomStyleAndDisplayKeys() {
        f->Place(Glider());
        QCOMPARE(Scale(), 10);  // the default grid pitch
        // Grid scales run from 6 to 12 and map scales up to 8 (the default 5); the tables give the steps.
        const struct {
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
            int scale;
        } steps[] = {{Qt::Key_F5, {}, 12},
                     {Qt::Key_F7, {}, 8},
                     {Qt::Key_F7, {}, 6},
                     {Qt::Key_F6, Qt::ControlModifier, 8},
                     {Qt::Key_F6, Qt::ShiftModifier, 10},
                     {Qt::Key_M, Qt::ControlModifier, 5},
                     {Qt::Key_F7, {}, 3},
                     {Qt::Key_F6, {}, 8}};
        for (const auto& step : steps) {
            Press(step.key, step.modifiers);
            QCOMPARE(Scale(), step.scale);
        }
        QVERIFY(!f->View().IsGridStyle());
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
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Left}) QTest::keyClick(&f->View(), key);
        now = f->View().Geometry().VisibleCells();
        QCOMPARE(now.left, start.left);
        QCOMPARE(now.top, start.top);

        f->Place(Shifted(Glider(), 30, 40));
        Press(Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(f->View().SelectionRect(), (CLRect{30, 33, 40, 43}));
        Press(Qt::Key_F5, Qt::ShiftModifier);  // zoom to the selection: it fits, at the largest grid scale
        QCOMPARE(Scale(), 12);
        Press(Qt::Key_N, Qt::ControlModifier);  // grow the selection
        QCOMPARE(f->GameCells(), Shifted(ReferenceStep(Glider(), kConwayRuleCode), 30, 40));
        Press(Qt::Key_Delete);
        QCOMPARE(f->Game().Population(), 0u);
    }
};

static RegisterUiTest<KeysTest> registered;

}  // namespace tessera::test

#include "keys_test.moc"
