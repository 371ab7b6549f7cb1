// Undo and redo in the universe window: a session of mouse and key edits is taken back step by step to
// the start and each step repeated, with the cells compared to what they were after every edit.
#include <QAction>
#include <QTest>

#include "support/reference_life.h"
#include "ui/command_ids.h"
#include "ui/ui_fixture.h"
#include "ui/ui_test_registry.h"

namespace tessera::test {

namespace cmd = ui::cmd;

class UndoTest : public QObject {
    Q_OBJECT
    std::unique_ptr<CUiFixture> f;
    std::vector<Cells> states;  // the cells after each edit, the start first

    QWidget* Surface() { return f->View().viewport(); }
    QPoint At(CLPoint cell) { return f->View().WidgetPointOfCell(cell); }
    void Drag(CLPoint from, CLPoint to, Qt::KeyboardModifiers keys = {}) {
        QTest::mousePress(Surface(), Qt::LeftButton, keys, At(from));
        QTest::mouseMove(Surface(), At({(from.x + to.x) / 2, (from.y + to.y) / 2}));
        QTest::mouseMove(Surface(), At(to));
        QTest::mouseRelease(Surface(), Qt::LeftButton, keys, At(to));
    }
    void Edited() { states.push_back(f->GameCells()); }
    void Command(uint32_t id) {
        f->window->RunCommandId(id);
        Edited();
    }
    void Key(int key, Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(f->window.get(), Qt::Key(key), modifiers);
    }
    bool Enabled(uint32_t id) { return f->window->Action(id)->isEnabled(); }

private slots:
    void init() {
        f = std::make_unique<CUiFixture>();
        f->window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f->window.get()));
        f->View().Geometry().SetScale(10, CLPoint{12, 12});
        // The start is put straight into the universe: it is not an edit to undo.
        for (const CLPoint& p : Shifted(Glider(), 2, 2)) f->Game().Current().SetCell(p.x, p.y);
        f->Game().Current().SetCell(12, 3);
        f->View().CurrentGenerationChanged();
        states = {f->GameCells()};
    }
    void cleanup() { f.reset(); }

    void everyEditIsUndoneAndRedone() {
        QVERIFY(!Enabled(cmd::kUndo));
        QTest::mouseClick(Surface(), Qt::LeftButton, {}, At({10, 9}));  // draw
        Edited();
        QTest::mouseClick(Surface(), Qt::RightButton, {}, At({12, 3}));  // erase
        Edited();
        QTest::mouseClick(Surface(), Qt::LeftButton, {}, At({12, 3}));  // draw it again, to be covered
        Edited();
        Drag({1, 1}, {5, 5});   // a rectangle round the glider
        Drag({3, 3}, {11, 3});  // moved onto the live cell at (12, 3)
        Edited();
        Drag({11, 3}, {11, 8}, Qt::ShiftModifier);  // copied over the drawn cell at (10, 9)
        Edited();
        QTest::mouseDClick(Surface(), Qt::LeftButton, {}, At({10, 9}));  // one object selected
        Command(cmd::kRotateRight);
        f->View().SetFloatingObject(MakeUniverse(Glider(), kConwayRuleCode), {15, 15});
        Drag({16, 16}, {18, 14});  // dropped where dragged, partly over the copy
        Edited();
        f->View().SetSelectionRect({0, 4, 14, 17});
        Command(cmd::kFill);
        f->View().SetSelectionRect({8, 13, 1, 6});
        Command(cmd::kGrowSelection);
        Command(cmd::kDelete);
        QVERIFY(!Enabled(cmd::kRedo));
        for (size_t i = 1; i < states.size(); ++i) QVERIFY(states[i] != states[i - 1]);

        // Back to the start one edit at a time; each step is repeated and taken back again on the way.
        for (size_t i = states.size() - 1; i > 0; --i) {
            QVERIFY(Enabled(cmd::kUndo));
            Key(Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(f->GameCells(), states[i - 1]);
            QVERIFY(Enabled(cmd::kRedo));
            Key(Qt::Key_Y, Qt::ControlModifier);
            QCOMPARE(f->GameCells(), states[i]);
            Key(Qt::Key_U, Qt::ControlModifier);
            QCOMPARE(f->GameCells(), states[i - 1]);
        }
        QVERIFY(!Enabled(cmd::kUndo));
        // Only the last edit undone can be repeated; a second Redo does nothing.
        Key(Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(f->GameCells(), states[1]);
        Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(f->GameCells(), states[1]);
        QVERIFY(!Enabled(cmd::kRedo));
        f->window->RunCommandId(cmd::kNext);  // another universe shown: nothing left to undo
        QVERIFY(!Enabled(cmd::kUndo));
    }
};

static RegisterUiTest<UndoTest> registered;

}  // namespace tessera::test

#include "undo_test.moc"
