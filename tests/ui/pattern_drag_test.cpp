// Patterns dragged from the pattern windows into the game (a tile, a transform tile, text, a file), put down
// and undone; a drag that leaves again; the Patterns window kept visible and its parameter saved.
#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <fstream>

#include "patterns/library_commands.h"
#include "patterns/named_pattern.h"
#include "patterns/pattern.h"
#include "patterns/pattern_library.h"
#include "support/pattern_texts.h"
#include "ui/command_ids.h"
#include "ui/help_window.h"
#include "ui/modal_answer.h"
#include "ui/pattern_tiles.h"
#include "ui/patterns_dialog.h"
#include "ui/ui_fixture.h"
#include "ui/ui_test_registry.h"

namespace tessera::test {

class PatternDragTest : public QObject {
    Q_OBJECT
    std::unique_ptr<CUiFixture> f;

    QWidget* Surface() { return f->View().viewport(); }
    QPoint At(CLPoint cell) { return f->View().WidgetPointOfCell(cell); }
    // The cells moved so that the centre of their box lies on a cell.
    static Cells CentredOn(const Cells& cells, CLPoint cell) {
        const CLRect box = BoundsOf(cells);
        return Shifted(cells, cell.x - (box.left + box.right) / 2, cell.y - (box.top + box.bottom) / 2);
    }
    Cells Floating() {
        if (!f->View().HasFloatingObject()) return {};
        const CLSize offset = f->View().FloatingOffset();
        return Shifted(CellsOf(*f->View().FloatingObject()), offset.cx, offset.cy);
    }
    // A drag crossing the game window from one cell to another; dropped there or leaving again.
    void DragAcross(const QMimeData& data, CLPoint from, CLPoint to, bool drop) {
        QDragEnterEvent enter(At(from), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(Surface(), &enter);
        QVERIFY(enter.isAccepted());
        QDragMoveEvent move(At(to), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(Surface(), &move);
        if (drop) {
            QDropEvent event(At(to), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(Surface(), &event);
            QVERIFY(event.isAccepted());
        } else {
            QDragLeaveEvent leave;
            QApplication::sendEvent(Surface(), &leave);
        }
    }

private slots:
    void init() {
        f = std::make_unique<CUiFixture>();
        CPatternLibrary* library = nullptr;
        QCOMPARE(CreateNewLibrary((f->folder / "shapes").string(), &library), 0);
        for (const auto& [name, cells] : {std::pair{"rpent", RPentomino()}, std::pair{"glider", Glider()}}) {
            auto pattern = CreatePattern(*MakeUniverse(cells), ERecognizable::ByDefaultRule);
            QVERIFY(NameNewPattern(pattern, name, library));
        }
    }
    void cleanup() {
        f.reset();
        CloseAllLibraries();
    }

    void tileDroppedOnGameFloatsThereAndIsPutDownUndoably() {
        ui::CPatternsDialog& dialog = ui::ShowPatternsDialog(*f->window);
        for (const char* box : {"library", "type", "rule"})
            dialog.findChild<QComboBox*>(box)->setCurrentIndex(0);
        dialog.findChild<QLineEdit*>("size")->clear();
        dialog.ApplyFilter();
        QCOMPARE(dialog.Tiles().ItemCount(), 2);
        dialog.Tiles().SetSelected(1);
        const int item = dialog.SelectedEntry()->Name() == "rpent" ? 1 : 2;
        std::unique_ptr<QMimeData> data(dialog.Tiles().DragData(item));
        QCOMPARE(ReadToolPattern(data->text().toStdString()), Normalised(RPentomino()));  // other programs

        DragAcross(*data, {-10, -6}, {7, 5}, true);
        QCOMPARE(Floating(), CentredOn(RPentomino(), {7, 5}));
        QCOMPARE(f->Game().Population(), 0u);
        QTest::mouseClick(Surface(), Qt::LeftButton, {}, At({7, 5}));
        QCOMPARE(f->GameCells(), CentredOn(RPentomino(), {7, 5}));
        f->window->RunCommandId(ui::cmd::kUndo);
        QCOMPARE(f->Game().Population(), 0u);

        // Text from another program floats the same way; a drag that leaves again gives back the object
        // that floated before it.
        QMimeData text;
        text.setText(QString::fromStdString(ToRle(RPentomino(), "B3/S23")));
        DragAcross(text, {0, 0}, {-3, 9}, true);
        QCOMPARE(Floating(), CentredOn(RPentomino(), {-3, 9}));
        DragAcross(*data, {2, 2}, {4, 4}, false);
        QCOMPARE(Floating(), CentredOn(RPentomino(), {-3, 9}));

        // A transform tile carries its own phase and orientation.
        dialog.Tiles().SetSelected(item == 1 ? 2 : 1);
        const int last = dialog.TransformTiles().ItemCount();
        const Cells shown = CellsOf(*dialog.Transforms()->UniverseAt(last));
        QVERIFY(Normalised(shown) != Normalised(Glider()));
        data.reset(dialog.TransformTiles().DragData(last));
        DragAcross(*data, {0, 0}, {20, -4}, true);
        QCOMPARE(Floating(), CentredOn(shown, {20, -4}));

        // A file from a file manager opens as a new game.
        const auto file = f->folder / "dropped.rle";
        std::ofstream(file) << ToRle(Glider(), "B3/S23");
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(QString::fromStdString(file.string()))});
        CGame* shownGame = &f->Game();
        WhenModal<QDialog>([](QDialog* description) { description->reject(); });  // its #C line
        DragAcross(files, {0, 0}, {1, 1}, true);
        QTRY_VERIFY(&f->Game() != shownGame);
        QCOMPARE(Normalised(f->GameCells()), Normalised(Glider()));
    }

    void keepVisibleIsSavedAndBringsThePatternsWindowBack() {
        const auto activate = [this] {
            QEvent event(QEvent::WindowActivate);
            QApplication::sendEvent(f->window.get(), &event);
            QTest::qWait(20);
        };
        const auto shown = [this]() -> ui::CPatternsDialog* {
            for (auto* d : f->window->findChildren<ui::CPatternsDialog*>())
                if (d->isVisible()) return d;
            return nullptr;
        };
        activate();  // the program's start
        f->window->Action(ui::cmd::kKeepPatternsOnTop)->trigger();
        ResetAllParameters();  // the value now comes from the file
        QCOMPARE(params::KeepPatternsOnTop.GetInt(), 1);
        QVERIFY(f->window->Action(ui::cmd::kKeepPatternsOnTop)->isChecked());
        QVERIFY(shown());
        // Closing the window activates the main window: it stays closed until the user comes back.
        shown()->close();
        activate();
        QVERIFY(!shown());
        emit qApp->applicationStateChanged(Qt::ApplicationInactive);
        activate();
        QVERIFY(shown());

        for (QPushButton* b : shown()->findChildren<QPushButton*>())
            if (b->text() == "&Help") b->click();
        QVERIFY(ui::ExistingHelpWindow()->CurrentPage().startsWith("libraries-and-census.html"));
        delete ui::ExistingHelpWindow();

        f->window->RunCommandId(ui::cmd::kKeepPatternsOnTop);
        ResetAllParameters();
        QCOMPARE(params::KeepPatternsOnTop.GetInt(), 0);
    }
};

static RegisterUiTest<PatternDragTest> registered;

}  // namespace tessera::test

#include "pattern_drag_test.moc"
