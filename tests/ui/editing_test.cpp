// Editing with the mouse and the keys: the game state after drawing, selecting, moving, copying,
// dropping a floating object, rotating, filling and growing the selection.
#include <QTest>

#include "engine/transform.h"
#include "support/reference_life.h"
#include "ui/command_ids.h"
#include "ui/ui_fixture.h"
#include "ui/ui_test_registry.h"

namespace tessera::test {

namespace cmd = ui::cmd;

class EditingTest : public QObject {
    Q_OBJECT
    std::unique_ptr<CUiFixture> f;

    QWidget* Surface() { return f->View().viewport(); }
    QPoint At(CLPoint cell) { return f->View().WidgetPointOfCell(cell); }
    void Click(CLPoint cell, Qt::KeyboardModifiers keys = {}, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(Surface(), button, keys, At(cell));
    }
    void Drag(CLPoint from, CLPoint to, Qt::KeyboardModifiers keys = {}) {
        QTest::mousePress(Surface(), Qt::LeftButton, keys, At(from));
        QTest::mouseMove(Surface(), At({(from.x + to.x) / 2, (from.y + to.y) / 2}));
        QTest::mouseMove(Surface(), At(to));
        QTest::mouseRelease(Surface(), Qt::LeftButton, keys, At(to));
    }

private slots:
    void init() {
        f = std::make_unique<CUiFixture>();
        f->View().Geometry().SetScale(10, CLPoint{10, 10});
    }
    void cleanup() { f.reset(); }

    void drawingAndErasingCells() {
        Click({2, 3});
        Click({4, 3});
        QCOMPARE(f->GameCells(), (Cells{{2, 3}, {4, 3}}));
        Click({2, 3}, {}, Qt::RightButton);  // right click kills when the right-click menu is off
        QCOMPARE(f->GameCells(), (Cells{{4, 3}}));
        // A drag from an empty cell selects instead of drawing.
        Drag({0, 0}, {5, 4});
        QCOMPARE(f->GameCells(), (Cells{{4, 3}}));
        QCOMPARE(f->View().SelectionRect(), (CLRect{0, 6, 0, 5}));
    }

    void selectingMovingAndCopying() {
        const Cells glider = Shifted(Glider(), 2, 2);
        f->Place(glider);
        f->Place({{15, 15}});
        Drag({1, 1}, {5, 5});
        QCOMPARE(f->View().SelectionRect(), (CLRect{1, 6, 1, 6}));
        // Dragging from inside the selection moves its cells; the lone cell outside stays.
        Drag({3, 3}, {9, 4});
        Cells expected = Shifted(glider, 6, 1);
        expected.insert({15, 15});
        QCOMPARE(f->GameCells(), expected);
        QCOMPARE(f->View().SelectionRect(), (CLRect{7, 12, 2, 7}));
        // With Shift the drag copies.
        Drag({9, 4}, {9, 10}, Qt::ShiftModifier);
        Cells copied = expected;
        for (const CLPoint& p : Shifted(glider, 6, 7)) copied.insert(p);
        QCOMPARE(f->GameCells(), copied);
        // Ctrl starts a new rectangle even inside the selection; Shift then extends it.
        Drag({9, 10}, {10, 11}, Qt::ControlModifier);
        QCOMPARE(f->View().SelectionRect(), (CLRect{9, 11, 10, 12}));
        QTest::mouseClick(Surface(), Qt::LeftButton, Qt::ShiftModifier, At({14, 13}));
        QCOMPARE(f->View().SelectionRect(), (CLRect{9, 15, 10, 14}));
        QTest::keyClick(&f->View(), Qt::Key_Escape);
        QVERIFY(!f->View().HasSelection());
    }

    void objectSelectionTakesOneConnectedGroup() {
        f->Place(Shifted(Glider(), 0, 0));
        f->Place({{10, 10}, {11, 10}, {10, 11}, {11, 11}});
        QTest::mouseDClick(Surface(), Qt::LeftButton, {}, At({11, 10}));
        QCOMPARE(f->View().SelectionRect(), (CLRect{10, 12, 10, 12}));
        f->window->RunCommandId(cmd::kDelete);
        QCOMPARE(f->GameCells(), Glider());
    }

    void floatingObjectIsDroppedWhereDragged() {
        auto object = MakeUniverse(Glider(), kConwayRuleCode);
        f->View().SetFloatingObject(std::move(object), {4, 4});
        QCOMPARE(f->Game().Population(), 0u);
        Drag({5, 6}, {8, 7});
        QVERIFY(!f->View().HasFloatingObject());
        QCOMPARE(f->GameCells(), Shifted(Glider(), 7, 5));
    }

    void rotateReflectFillAndGrowSelection() {
        const Cells shape{{3, 3}, {4, 3}, {5, 3}, {5, 4}, {4, 5}};  // in the square 3..5
        f->Place(shape);
        f->View().SetSelectionRect({3, 6, 3, 6});
        f->window->RunCommandId(cmd::kRotateRight);
        // A quarter turn right about the square's centre: (x, y) -> (3 + 5 - y, 3 + x - 3).
        Cells turned;
        for (const CLPoint& p : shape) turned.insert({8 - p.y, p.x});
        QCOMPARE(f->GameCells(), turned);
        f->window->RunCommandId(cmd::kRotateLeft);
        QCOMPARE(f->GameCells(), shape);
        for (uint32_t id : {cmd::kVerticalReflect, cmd::kVerticalReflect, cmd::kReflectSlash,
                            cmd::kReflectSlash, cmd::kRotate180, cmd::kRotate180})
            f->window->RunCommandId(id);
        QCOMPARE(f->GameCells(), shape);
        // Grow Selection grows only the selected cells; the cell outside neither counts nor changes.
        f->Place({{6, 3}});
        f->window->RunCommandId(cmd::kGrowSelection);
        Cells grown = ReferenceStep(shape, kConwayRuleCode);
        grown.insert({6, 3});
        QCOMPARE(f->GameCells(), grown);
        // Fill makes every cell of the rectangle alive.
        f->View().SetSelectionRect({20, 23, 20, 22});
        f->window->RunCommandId(cmd::kFill);
        QCOMPARE(f->Game().Population(), uint32_t(grown.size() + 6));
        QVERIFY(f->Game().Current().IsAlive(22, 21));
    }

    void editingAnEarlierGenerationForksTheGame() {
        f->Place(Glider());
        f->window->RunCommandId(cmd::kNext);
        f->window->RunCommandId(cmd::kFirst);
        CGame& original = f->Game();
        QCOMPARE(original.Generation(), 0);
        Click({8, 8});
        QVERIFY(&f->Game() != &original);
        QCOMPARE(f->games.Count(), size_t(2));
        Cells edited = Glider();
        edited.insert({8, 8});
        QCOMPARE(f->GameCells(), edited);
        QCOMPARE(CellsOf(original.Current()), Glider());
        QVERIFY(f->window->windowTitle().startsWith("Tessera -  game "));
    }
};

static RegisterUiTest<EditingTest> registered;

}  // namespace tessera::test

#include "editing_test.moc"
