// Rectangles beyond the left-button selection: Zoom to Selection with nothing selected lets the next drag
// draw the selection and then fits it; the right-button rectangle selects, or takes its region out of
// the selection.
#include <QTest>

#include "ui/command_ids.h"
#include "ui/ui_fixture.h"
#include "ui/ui_test_registry.h"

namespace tessera::test {

namespace cmd = ui::cmd;

class RectanglesTest : public QObject {
    Q_OBJECT
    std::unique_ptr<CUiFixture> f;

    QWidget* Surface() { return f->View().viewport(); }
    QPoint At(CLPoint cell) { return f->View().WidgetPointOfCell(cell); }
    void Drag(CLPoint from, CLPoint to, Qt::MouseButton button) {
        QTest::mousePress(Surface(), button, {}, At(from));
        QTest::mouseMove(Surface(), At(to));
        QTest::mouseRelease(Surface(), button, {}, At(to));
    }

private slots:
    void init() {
        f = std::make_unique<CUiFixture>();
        f->View().Geometry().SetScale(8, CLPoint{10, 10});
    }
    void cleanup() { f.reset(); }

    void zoomToSelectionStartsASelectionWhenThereIsNone() {
        QVERIFY(f->window->Action(cmd::kZoomSelection)->isEnabled());
        f->window->RunCommandId(cmd::kZoomSelection);
        QCOMPARE(f->View().Geometry().Scale(), 8);
        // The drag starts on an empty cell, which would otherwise draw; here it selects, then fits.
        Drag({5, 5}, {8, 7}, Qt::LeftButton);
        QCOMPARE(f->Game().Population(), 0u);
        QCOMPARE(f->View().SelectionRect(), (CLRect{5, 9, 5, 8}));
        QCOMPARE(f->View().Geometry().Scale(), 12);  // four cells across fit at the largest grid scale
        const CLRect shown = f->View().Geometry().VisibleCells();
        QVERIFY(shown.left <= 5 && shown.right >= 9 && shown.top <= 5 && shown.bottom >= 8);
        // The next click draws again.
        QTest::keyClick(&f->View(), Qt::Key_Escape);
        QTest::mouseClick(Surface(), Qt::LeftButton, {}, At({6, 6}));
        QCOMPARE(f->GameCells(), (Cells{{6, 6}}));
    }

    void rightRectangleSelectsOrTakesOutOfTheSelection() {
        const Cells block{{2, 2}, {3, 2}, {2, 3}, {3, 3}};
        const Cells blinker{{10, 3}, {11, 3}, {12, 3}};
        f->Place(block);
        f->Place(blinker);
        Drag({1, 1}, {13, 4}, Qt::RightButton);  // nothing was selected: the rectangle is the selection
        QCOMPARE(f->View().SelectionRect(), (CLRect{1, 14, 1, 5}));
        QCOMPARE(f->GameCells().size(), block.size() + blinker.size());
        Drag({9, 0}, {14, 6}, Qt::RightButton);  // the blinker's region leaves the selection
        QCOMPARE(f->View().SelectionRect(), (CLRect{2, 4, 2, 4}));
        f->window->RunCommandId(cmd::kDelete);
        QCOMPARE(f->GameCells(), blinker);
        // A right click without a drag kills the cell under it, and can be undone.
        QTest::mouseClick(Surface(), Qt::RightButton, {}, At({11, 3}));
        QCOMPARE(f->GameCells(), (Cells{{10, 3}, {12, 3}}));
        f->window->RunCommandId(cmd::kUndo);
        QCOMPARE(f->GameCells(), blinker);
    }
};

static RegisterUiTest<RectanglesTest> registered;

}  // namespace tessera::test

#include "rectangles_test.moc"
