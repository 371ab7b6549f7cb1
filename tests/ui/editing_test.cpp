// Editing with the mouse, the keys and the clipboard: the cells after each edit, the ways a region leaves
// the selection, undo and redo; what other programs get from a copy (text, image, picture) and give back,
// the choice among several, and what stays once the program has gone.
#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QSvgRenderer>
#include <QTimer>

#include "ui/qt_clipboard.h"
#include "ui/select_universe_dialog.h"
#include "ui/ui_fixture.h"

namespace tessera::test {

namespace cmd = ui::cmd;

namespace {

QClipboard& SystemClipboard() { return *QGuiApplication::clipboard(); }

// Another program puts these on the clipboard.
void OtherProgramPuts(const QString& mimeType, const QByteArray& bytes) {
    auto* data = new QMimeData;
    data->setData(mimeType, bytes);
    SystemClipboard().setMimeData(data);
}

}  // namespace

class EditingTest : public QObject {
    Q_OBJECT
    std::unique_ptr<CUiFixture> f;

    Cells DrawAndSelect(uint32_t seed) {
        const Cells cells = SeededSoup(seed, -11, 4, 23, 15, 40);
        f->Place(cells);
        f->View().SelectAll();
        return cells;
    }
    void Run(uint32_t id) { f->window->RunCommandId(id); }

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

    void copiedPatternReadsBackAsTextImageAndPicture() {
        const Cells cells = DrawAndSelect(41);
        const CLRect box = BoundsOf(cells);
        const int scale = f->View().Geometry().Scale();
        Run(ui::cmd::kCopy);
        const QString text = SystemClipboard().text();
        QCOMPARE(Normalised(ReadToolPattern(text.toStdString())), Normalised(cells));
        // The picture, drawn: the first pixel of each cell is dark exactly where a cell lives.
        QSvgRenderer svg(SystemClipboard().mimeData()->data("image/svg+xml"));
        QVERIFY(svg.isValid());
        QCOMPARE(svg.defaultSize(), QSize((box.right - box.left) * scale, (box.bottom - box.top) * scale));
        QImage drawn(svg.defaultSize(), QImage::Format_RGB32);
        drawn.fill(Qt::white);
        QPainter painter(&drawn);
        svg.render(&painter);
        painter.end();
        for (int32_t y = box.top; y < box.bottom; ++y)
            for (int32_t x = box.left; x < box.right; ++x)
                QCOMPARE(qGray(drawn.pixel((x - box.left) * scale, (y - box.top) * scale)) < 128,
                         cells.count({x, y}) == 1);

        // At scale 1 the image has one black pixel per live cell, and another program's copy of it
        // pastes back after the question whether to invert it.
        f->View().SetGridStyle(false);
        f->View().Geometry().SetScale(1);
        Run(ui::cmd::kCopy);
        const QByteArray png = SystemClipboard().mimeData()->data("image/png");
        const QImage image = QImage::fromData(png, "PNG");
        QCOMPARE(image.size(), QSize(box.right - box.left, box.bottom - box.top));
        for (int32_t y = box.top; y < box.bottom; ++y)
            for (int32_t x = box.left; x < box.right; ++x)
                QCOMPARE(qGray(image.pixel(x - box.left, y - box.top)) == 0, cells.count({x, y}) == 1);
        OtherProgramPuts("image/png", png);
        const auto asked = CUiFixture::AnswerNext(QMessageBox::Yes);
        Run(ui::cmd::kPasteNewGame);
        QVERIFY(!asked->isEmpty());  // mostly white paper: the black pixels are the cells
        QCOMPARE(Normalised(f->GameCells()), Normalised(cells));

        // The text as another program would put it back: Paste floats it over the window's middle.
        OtherProgramPuts("text/plain", text.toUtf8());
        Run(ui::cmd::kNewGame);
        QTRY_VERIFY(f->window->Action(ui::cmd::kPaste)->isEnabled());
        Run(ui::cmd::kPaste);
        QVERIFY(f->View().HasFloatingObject());
        f->View().DropFloatingObject();
        QCOMPARE(Normalised(f->GameCells()), Normalised(cells));
        QVERIFY(BoundsOf(f->GameCells()).Contains(f->View().Geometry().Centre()));

        // Cut takes the cells away; Paste as New Game makes a game of them.
        f->View().SelectAll();
        Run(ui::cmd::kCut);
        QVERIFY(f->GameCells().empty());
        CGame* before = &f->Game();
        Run(ui::cmd::kPasteNewGame);
        QVERIFY(&f->Game() != before);
        QCOMPARE(Normalised(f->GameCells()), Normalised(cells));
    }

    void severalPatternsAskWhichAndJunkAroundRlePastes() {
        // Several patterns: their names are offered; cancelled, nothing is pasted (a choice made is taken in
        // the pattern creation test).
        SystemClipboard().setText("#N first\n#P 0 0\n**\n#N second\n#P 0 0\n*\n*\n#N third\n#P 0 0\n***\n");
        QStringList offered;
        WhenModal<ui::CSelectUniverseDialog>([&](ui::CSelectUniverseDialog* dialog) {
            for (int i = 0; i < dialog->List()->count(); ++i) offered << dialog->List()->item(i)->text();
            dialog->reject();
        });
        Run(ui::cmd::kPaste);
        QCOMPARE(offered, QStringList({"first", "second", "third"}));
        QVERIFY(!f->View().HasFloatingObject());

        // Text without a pattern cannot be pasted.
        SystemClipboard().setText(QStringLiteral("Meeting notes, nothing alive here.\n"));
        QTRY_VERIFY(!f->window->Action(ui::cmd::kPaste)->isEnabled());

        // RLE as a web page gives it: blank lines, a line of prose, the header, the data, a signature.
        const Cells cells = SeededSoup(43, 0, 0, 19, 11, 45);
        const std::string rle = ToRle(cells, "B3/S23");  // with a name and a comment before the header
        SystemClipboard().setText(QString::fromStdString("\n\nHere is the pattern I found:\n\n" + rle +
                                                         "\n\nPosted by a reader, 3 May\n\n"));
        QTRY_VERIFY(f->window->Action(ui::cmd::kPaste)->isEnabled());
        Run(ui::cmd::kPasteNewGame);
        QCOMPARE(QString::fromStdString(f->Game().Name().Text()), QStringLiteral("soup"));
        QCOMPARE(Normalised(f->GameCells()), Normalised(cells));
    }

    void copiesOutliveTheProgramUnlessTheUserLetsThemGo() {
        // Nothing is drawn until asked for: text too long for the user's limit is refused only then, and
        // the image is still given.
        params::MaxClipboardBuffer.SetUInt(65528);
        auto large = MakeUniverse(SeededSoup(46, 0, 0, 400, 400, 50));
        f->window->Clipboard().Copy(*large, f->View());
        QTest::qWait(20);
        QVERIFY(f->messages.empty());
        QVERIFY(SystemClipboard().text().isEmpty());
        QTRY_COMPARE(f->messages.size(), size_t(1));
        QVERIFY(!SystemClipboard().image().isNull());

        // A small copy is left without a question and serves its text after the program has gone.
        const Cells cells = DrawAndSelect(44);
        Run(ui::cmd::kCopy);
        f->window->close();
        f->window.reset();
        QCOMPARE(Normalised(ReadToolPattern(SystemClipboard().text().toStdString())), Normalised(cells));

        // A large one goes when the user says so.
        f.reset();
        f = std::make_unique<CUiFixture>();
        DrawAndSelect(45);
        params::MaxSilentClipboardLength.SetInt(10);
        Run(ui::cmd::kCopy);
        const auto asked = CUiFixture::AnswerNext(QMessageBox::No);
        f->window->close();
        QVERIFY(!asked->isEmpty());
        const QMimeData* left = SystemClipboard().mimeData();
        QVERIFY(!left || left->formats().isEmpty());
    }
};

static RegisterUiTest<EditingTest> registered;

}  // namespace tessera::test

#include "editing_test.moc"
