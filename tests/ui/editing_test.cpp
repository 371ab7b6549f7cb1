// Editing with the mouse and the keys: the cells after each edit of the selection and the floating
// object, the ways a region leaves the selection, and undo and redo of all of these.
#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTimer>

#include "ui/ui_fixture.h"

namespace tessera::test {

namespace cmd = ui::cmd;

class EditingTest : public QObject {
    Q_OBJECT
    std::unique_ptr<CUiFixture> f;

private slots:
    void init() {
        f = std::make_unique<CUiFixture>();
        f->View().Geometry().SetScale(10, CLPoint{10, 10});
    }
    void cleanup() { f.reset(); }

    void editingAnEarlierGenerationForksTheGame() {
        f->Place(Glider());
        f->window->RunCommandId(cmd::kNext);
        f->window->RunCommandId(cmd::kFirst);
        CGame& original = f->Game();
        QCOMPARE(original.Generation(), 0);
        f->Click({8, 8});
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
        f->Drag({5, 5}, {8, 7});
        QCOMPARE(f->Game().Population(), 0u);
        QCOMPARE(f->View().SelectionRect(), (CLRect{5, 9, 5, 8}));
        QCOMPARE(f->View().Geometry().Scale(), 12);  // four cells across fit at the largest grid scale
        const CLRect shown = f->View().Geometry().VisibleCells();
        QVERIFY(shown.left <= 5 && shown.right >= 9 && shown.top <= 5 && shown.bottom >= 8);
        // The next click draws again.
        QTest::keyClick(&f->View(), Qt::Key_Escape);
        f->Click({6, 6});
        QCOMPARE(f->GameCells(), (Cells{{6, 6}}));
    }

    // A region leaves the selection by a right-button rectangle, or by a drag after the right-click
    // menu's "Remove Region from Selection".
    void regionsLeaveTheSelection() {
        const Cells block{{2, 2}, {3, 2}, {2, 3}, {3, 3}};
        const Cells blinker{{10, 3}, {11, 3}, {12, 3}};
        for (bool menu : {false, true}) {
            f->Place(block);
            f->Place(blinker);
            if (!menu) {
                f->Drag({1, 1}, {13, 4}, {}, Qt::RightButton);  // nothing was selected: it selects
                QCOMPARE(f->View().SelectionRect(), (CLRect{1, 14, 1, 5}));
                QCOMPARE(f->GameCells().size(), block.size() + blinker.size());
                f->Drag({9, 0}, {14, 6}, {}, Qt::RightButton);
            } else {
                params::RightClickPopup.SetInt(1);
                f->View().SelectAll();
                QTimer::singleShot(50, [] {
                    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                    for (QAction* action : popup ? popup->actions() : QList<QAction*>{})
                        if (action->text() == QStringLiteral("Remove Region from Selection"))
                            action->trigger();
                    if (popup) popup->close();
                });
                QContextMenuEvent event(QContextMenuEvent::Mouse, f->At({11, 3}),
                                        f->View().viewport()->mapToGlobal(f->At({11, 3})));
                QApplication::sendEvent(f->View().viewport(), &event);
                f->Drag({9, 0}, {14, 6});
            }
            QCOMPARE(f->View().SelectionRect(), (CLRect{2, 4, 2, 4}));
            f->window->RunCommandId(cmd::kDelete);
            QCOMPARE(f->GameCells(), blinker);
        }
    }

    // A session of mouse and key edits, each compared with the cells it should make (selections are
    // right-open rectangles), then taken back step by step to the start, each step repeated and taken
    // back again on the way.
    void editsMakeTheirCellsAndAreUndoneAndRedone() {
        f->window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f->window.get()));
        const auto in = [](Cells cells, const CLRect& r) {
            std::erase_if(cells, [&r](const CLPoint& p) { return !r.Contains(p); });
            return cells;
        };
        // The start is put straight into the universe: it is not an edit to undo.
        const Cells glider = Shifted(Glider(), 2, 2);
        for (const CLPoint& p : glider) f->Game().Current().SetCell(p.x, p.y);
        f->Game().Current().SetCell(15, 15);
        f->View().CurrentGenerationChanged();
        std::vector<Cells> states = {f->GameCells()};  // the cells after each edit, the start first
        // The last edit took the cells gone away and added those added.
        const auto edited = [&](const Cells& gone, const Cells& added) {
            Cells expected = states.back();
            for (const CLPoint& p : gone) expected.erase(p);
            expected.insert(added.begin(), added.end());
            QCOMPARE(f->GameCells(), expected);
            states.push_back(expected);
        };
        const auto command = [&](uint32_t id, const Cells& gone, const Cells& added) {
            f->window->RunCommandId(id);
            edited(gone, added);
        };
        const auto enabled = [&](uint32_t id) { return f->window->Action(id)->isEnabled(); };
        QVERIFY(!enabled(cmd::kUndo));
        f->Click({10, 9});
        edited({}, {{10, 9}});
        f->Click({15, 15}, Qt::RightButton);  // right click kills when the right-click menu is off
        edited({{15, 15}}, {});
        f->Click({12, 3});  // to be covered by the move
        edited({}, {{12, 3}});
        f->Drag({1, 1}, {5, 5});  // from an empty cell: a selection, not a drawing
        QCOMPARE(f->View().SelectionRect(), (CLRect{1, 6, 1, 6}));
        // Dragging from inside the selection moves its cells; with Shift the drag copies them.
        f->Drag({3, 3}, {11, 3});
        const Cells moved = Shifted(glider, 8, 0);
        edited(glider, moved);
        QCOMPARE(f->View().SelectionRect(), (CLRect{9, 14, 1, 6}));
        f->Drag({11, 3}, {11, 8}, Qt::ShiftModifier);  // over the cell drawn at (10, 9)
        const Cells copy = Shifted(moved, 0, 5);
        edited({}, copy);
        // Ctrl starts a new rectangle even inside the selection; Shift then extends it.
        f->Drag({9, 10}, {10, 11}, Qt::ControlModifier);
        QCOMPARE(f->View().SelectionRect(), (CLRect{9, 11, 10, 12}));
        f->Click({14, 13}, Qt::LeftButton, Qt::ShiftModifier);
        QCOMPARE(f->View().SelectionRect(), (CLRect{9, 15, 10, 14}));
        QTest::keyClick(&f->View(), Qt::Key_Escape);
        QVERIFY(!f->View().HasSelection());
        // A double click selects the one object under it; a quarter turn right is about its centre.
        QTest::mouseDClick(f->View().viewport(), Qt::LeftButton, {}, f->At({10, 9}));
        QCOMPARE(f->View().SelectionRect(), (CLRect{10, 13, 7, 10}));
        Cells turned;
        for (const CLPoint& p : copy) turned.insert({10 + 9 - p.y, 7 + p.x - 10});
        command(cmd::kRotateRight, copy, turned);
        command(cmd::kRotateLeft, turned, copy);
        for (uint32_t id : {cmd::kVerticalReflect, cmd::kVerticalReflect, cmd::kReflectSlash,
                            cmd::kReflectSlash, cmd::kRotate180, cmd::kRotate180}) {
            f->window->RunCommandId(id);
            states.push_back(f->GameCells());
        }
        QCOMPARE(states.back(), states[states.size() - 7]);
        f->View().SetFloatingObject(MakeUniverse(Glider(), kConwayRuleCode), {15, 15});
        f->Drag({16, 16}, {18, 18});  // dropped where dragged
        QVERIFY(!f->View().HasFloatingObject());
        edited({}, Shifted(Glider(), 17, 17));
        f->View().SetSelectionRect({0, 4, 14, 17});
        command(cmd::kFill, {}, CellsFromPicture("****\n****\n****", 0, 14));
        // Grow Selection grows only the selected cells; the cell drawn outside neither counts nor changes.
        QTest::keyClick(&f->View(), Qt::Key_Escape);
        f->Click({13, 5});
        edited({}, {{13, 5}});
        const CLRect around{8, 13, 1, 6};
        f->View().SetSelectionRect(around);
        const Cells selected = in(states.back(), around);
        command(cmd::kGrowSelection, selected, ReferenceStep(selected, kConwayRuleCode));
        command(cmd::kDelete, in(states.back(), around), {});
        QVERIFY(!enabled(cmd::kRedo));

        // Back to the start one edit at a time; each step is repeated and taken back again on the way.
        for (size_t i = states.size() - 1; i > 0; --i) {
            QVERIFY(enabled(cmd::kUndo));
            f->Key(Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(f->GameCells(), states[i - 1]);
            QVERIFY(enabled(cmd::kRedo));
            f->Key(Qt::Key_Y, Qt::ControlModifier);
            QCOMPARE(f->GameCells(), states[i]);
            f->Key(Qt::Key_U, Qt::ControlModifier);
            QCOMPARE(f->GameCells(), states[i - 1]);
        }
        QVERIFY(!enabled(cmd::kUndo));
        // Only the last edit undone can be repeated; a second Redo does nothing.
        f->Key(Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(f->GameCells(), states[1]);
        f->Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(f->GameCells(), states[1]);
        QVERIFY(!enabled(cmd::kRedo));
        f->window->RunCommandId(cmd::kNext);  // another universe shown: nothing left to undo
        QVERIFY(!enabled(cmd::kUndo));
    }
};

static RegisterUiTest<EditingTest> registered;

}  // namespace tessera::test

#include "editing_test.moc"
