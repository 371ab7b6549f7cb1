// Editing with the mouse and the keys: the game state after drawing, selecting, moving, copying,
// dropping a floating object, rotating, filling and growing the selection; Zoom to Selection with
// nothing selected, the right-button rectangle that selects or takes its region out of the selection;
// undo and redo of all of these.
#include <QAction>
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

    void Click(CLPoint cell, Qt::MouseButton button = Qt::LeftButton) { f->Click(cell, button); }
    void Drag(CLPoint from, CLPoint to, Qt::KeyboardModifiers keys = {}) { f->Drag(from, to, keys); }

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
        Click({2, 3}, Qt::RightButton);  // right click kills when the right-click menu is off
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
        f->Click({14, 13}, Qt::LeftButton, Qt::ShiftModifier);
        QCOMPARE(f->View().SelectionRect(), (CLRect{9, 15, 10, 14}));
        QTest::keyClick(&f->View(), Qt::Key_Escape);
        QVERIFY(!f->View().HasSelection());
    }

    void objectSelectionTakesOneConnectedGroup() {
        f->Place(Shifted(Glider(), 0, 0));
        f->Place({{10, 10}, {11, 10}, {10, 11}, {11, 11}});
        QTest::mouseDClick(f->View().viewport(), Qt::LeftButton, {}, f->At({11, 10}));
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

    void zoomToSelectionStartsASelectionWhenThereIsNone() {
        f->window->Action(cmd::kZoomSelection)->trigger();  // enabled without a selection
        QCOMPARE(f->View().Geometry().Scale(), 10);
        // The drag starts on an empty cell, which would otherwise draw; here it selects, then fits.
        Drag({5, 5}, {8, 7});
        QCOMPARE(f->Game().Population(), 0u);
        QCOMPARE(f->View().SelectionRect(), (CLRect{5, 9, 5, 8}));
        QCOMPARE(f->View().Geometry().Scale(), 12);  // four cells across fit at the largest grid scale
        const CLRect shown = f->View().Geometry().VisibleCells();
        QVERIFY(shown.left <= 5 && shown.right >= 9 && shown.top <= 5 && shown.bottom >= 8);
        // The next click draws again.
        QTest::keyClick(&f->View(), Qt::Key_Escape);
        Click({6, 6});
        QCOMPARE(f->GameCells(), (Cells{{6, 6}}));
    }

    void rightRectangleSelectsOrTakesOutOfTheSelection() {
        const Cells block{{2, 2}, {3, 2}, {2, 3}, {3, 3}};
        const Cells blinker{{10, 3}, {11, 3}, {12, 3}};
        f->Place(block);
        f->Place(blinker);
        f->Drag({1, 1}, {13, 4}, {},
                Qt::RightButton);  // nothing was selected: the rectangle is the selection
        QCOMPARE(f->View().SelectionRect(), (CLRect{1, 14, 1, 5}));
        QCOMPARE(f->GameCells().size(), block.size() + blinker.size());
        f->Drag({9, 0}, {14, 6}, {}, Qt::RightButton);  // the blinker's region leaves the selection
        QCOMPARE(f->View().SelectionRect(), (CLRect{2, 4, 2, 4}));
        f->window->RunCommandId(cmd::kDelete);
        QCOMPARE(f->GameCells(), blinker);
    }

    // A session of mouse and key edits is taken back step by step to the start and each step repeated,
    // with the cells compared to what they were after every edit.
    void everyEditIsUndoneAndRedone() {
        f->window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f->window.get()));
        f->View().Geometry().SetScale(10, CLPoint{12, 12});
        // The start is put straight into the universe: it is not an edit to undo.
        for (const CLPoint& p : Shifted(Glider(), 2, 2)) f->Game().Current().SetCell(p.x, p.y);
        f->Game().Current().SetCell(12, 3);
        f->View().CurrentGenerationChanged();
        std::vector<Cells> states = {f->GameCells()};  // the cells after each edit, the start first
        const auto edited = [&] { states.push_back(f->GameCells()); };
        const auto command = [&](uint32_t id) {
            f->window->RunCommandId(id);
            edited();
        };
        const auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers) {
            QTest::keyClick(f->window.get(), key, modifiers);
        };
        const auto enabled = [&](uint32_t id) { return f->window->Action(id)->isEnabled(); };
        QVERIFY(!enabled(cmd::kUndo));
        f->Click({10, 9});  // draw
        edited();
        f->Click({12, 3}, Qt::RightButton);  // erase
        edited();
        f->Click({12, 3});  // draw it again, to be covered
        edited();
        Drag({1, 1}, {5, 5});   // a rectangle round the glider
        Drag({3, 3}, {11, 3});  // moved onto the live cell at (12, 3)
        edited();
        Drag({11, 3}, {11, 8}, Qt::ShiftModifier);  // copied over the drawn cell at (10, 9)
        edited();
        QTest::mouseDClick(f->View().viewport(), Qt::LeftButton, {}, f->At({10, 9}));  // one object selected
        command(cmd::kRotateRight);
        f->View().SetFloatingObject(MakeUniverse(Glider(), kConwayRuleCode), {15, 15});
        Drag({16, 16}, {18, 14});  // dropped where dragged, partly over the copy
        edited();
        f->View().SetSelectionRect({0, 4, 14, 17});
        command(cmd::kFill);
        f->View().SetSelectionRect({8, 13, 1, 6});
        command(cmd::kGrowSelection);
        command(cmd::kDelete);
        QVERIFY(!enabled(cmd::kRedo));
        for (size_t i = 1; i < states.size(); ++i) QVERIFY(states[i] != states[i - 1]);

        // Back to the start one edit at a time; each step is repeated and taken back again on the way.
        for (size_t i = states.size() - 1; i > 0; --i) {
            QVERIFY(enabled(cmd::kUndo));
            press(Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(f->GameCells(), states[i - 1]);
            QVERIFY(enabled(cmd::kRedo));
            press(Qt::Key_Y, Qt::ControlModifier);
            QCOMPARE(f->GameCells(), states[i]);
            press(Qt::Key_U, Qt::ControlModifier);
            QCOMPARE(f->GameCells(), states[i - 1]);
        }
        QVERIFY(!enabled(cmd::kUndo));
        // Only the last edit undone can be repeated; a second Redo does nothing.
        press(Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(f->GameCells(), states[1]);
        press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(f->GameCells(), states[1]);
        QVERIFY(!enabled(cmd::kRedo));
        f->window->RunCommandId(cmd::kNext);  // another universe shown: nothing left to undo
        QVERIFY(!enabled(cmd::kUndo));
    }
};

static RegisterUiTest<EditingTest> registered;

}  // namespace tessera::test

#include "editing_test.moc"
