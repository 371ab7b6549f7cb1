// The pattern windows over a library of generated patterns: tiles, filters against a direct count, a
// glider's transforms, deletion, patterns dragged into the game, the Patterns window kept visible.
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPointer>
#include <QUrl>
#include <map>
#include <random>
#include <set>
#include <tuple>

#include "engine/searchable_universe.h"
#include "patterns/component_index.h"
#include "patterns/library_commands.h"
#include "ui/pattern_dialogs.h"
#include "ui/pattern_library_dialog.h"
#include "ui/pattern_tiles.h"
#include "ui/ui_fixture.h"

namespace tessera::test {
namespace {

constexpr int kGenerated = 200;

// What each pattern is, by name, for telling that nothing else changed.
using Snapshot = std::map<std::string, std::tuple<EPatternType, int32_t, Cells>>;
Snapshot Everything() {
    Snapshot all;
    for (CNamedPattern* e = NamedPatterns().First(); e; e = CNamedPatternDict::Next(e))
        all[e->FullName()] = {e->Pattern().DeclaredType(), e->Pattern().Period(),
                              CellsOf(e->Pattern().Base())};
    return all;
}

}  // namespace

class PatternWindowsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<CUiFixture> f;
    CPatternLibrary* generated = nullptr;
    CPatternLibrary* other = nullptr;

    // The recognised pattern of the object standing alone at the origin of an empty world.
    CPattern* RecognisedAlone(const Cells& cells) {
        auto world = MakeUniverse(Shifted(cells, 50, 50));
        CSearchableUniverse hashed(*world);
        std::unique_ptr<CUniverse> object = ConnectedCells(hashed, hashed.FirstCell(), UniverseLimits);
        CPatternRef placement;
        return Recognise(*object, hashed, placement) ? placement.pattern : nullptr;
    }
    // The Patterns window with the filter that lets everything through, laid out.
    ui::CPatternsDialog& Open() {
        ui::CPatternsDialog& dialog = ui::ShowPatternsDialog(*f->window);
        for (const char* box : {"library", "type", "rule"})
            dialog.findChild<QComboBox*>(box)->setCurrentIndex(0);
        dialog.findChild<QLineEdit*>("size")->clear();
        dialog.ApplyFilter();
        if (!QTest::qWaitForWindowExposed(&dialog)) qWarning("not exposed");
        QCoreApplication::processEvents();
        return dialog;
    }
    // The cells moved so that the centre of their box lies on a cell.
    static Cells CentredOn(const Cells& cells, CLPoint cell) {
        const CLRect box = BoundsOf(cells);
        return Shifted(cells, cell.x - (box.left + box.right) / 2, cell.y - (box.top + box.bottom) / 2);
    }
    // A drag crossing the game window from one cell to another; dropped there or leaving again.
    void DragAcross(const QMimeData& data, CLPoint from, CLPoint to, bool drop) {
        QWidget* surface = f->View().viewport();
        QDragEnterEvent enter(f->At(from), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(surface, &enter);
        QVERIFY(enter.isAccepted());
        QDragMoveEvent move(f->At(to), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(surface, &move);
        if (drop) {
            QDropEvent event(f->At(to), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(surface, &event);
            QVERIFY(event.isAccepted());
        } else {
            QDragLeaveEvent leave;
            QApplication::sendEvent(surface, &leave);
        }
    }
    int ItemOf(ui::CPatternsDialog& dialog, const std::string& name) {
        for (int i = 1; i <= dialog.Tiles().ItemCount(); ++i) {
            dialog.Tiles().SetSelected(i);
            if (dialog.SelectedEntry()->Name() == name) return i;
        }
        return 0;
    }

private slots:
    void init() {
        f = std::make_unique<CUiFixture>();
        InstallRecognition();
        QCOMPARE(CreateNewLibrary((f->folder / "generated").string(), &generated), 0);
        QCOMPARE(CreateNewLibrary((f->folder / "other").string(), &other), 0);
        QVERIFY(f->AddPattern(generated, "glider", Glider()));
        std::mt19937 rng(2024);
        for (int i = 0; i < kGenerated; ++i) {
            const Cells soup = RandomSoup(rng, 0, 0, 3 + i % 4, 3 + i % 3, 0.5);
            const std::string name = "P" + std::to_string(1000 + i).substr(1);  // in the order made
            if (!soup.empty()) QVERIFY(f->AddPattern(generated, name, soup));
        }
        QVERIFY(f->AddPattern(other, "block", CellsFromPicture("**\n**")));
        QVERIFY(f->AddPattern(other, "blinker", CellsFromPicture("***")));
    }
    void cleanup() {
        f.reset();
        CloseAllLibraries();
        ResetRecognition();
    }

    void keysAndMouseMoveAmongTheTiles() {
        ui::CPatternsDialog& dialog = Open();
        ui::CTileWin& tiles = dialog.Tiles();
        // Everything is listed, in dictionary order.
        QCOMPARE(tiles.ItemCount(), int(NamedPatterns().Count()));
        QVERIFY(tiles.ItemCount() > kGenerated * 9 / 10);
        tiles.setFocus();
        const int columns = tiles.Columns(), page = columns * tiles.VisibleRows();
        QVERIFY(columns > 1 && tiles.VisibleRows() > 1);
        QCOMPARE(tiles.Selected(), 1);
        const std::pair<Qt::Key, int> moves[] = {{Qt::Key_Right, 2},
                                                 {Qt::Key_Down, 2 + columns},
                                                 {Qt::Key_Left, 1 + columns},
                                                 {Qt::Key_Up, 1},
                                                 {Qt::Key_Up, 1},
                                                 {Qt::Key_PageDown, 1 + page},
                                                 {Qt::Key_End, tiles.ItemCount()},
                                                 {Qt::Key_Right, tiles.ItemCount()},
                                                 {Qt::Key_PageUp, tiles.ItemCount() - page},
                                                 {Qt::Key_Home, 1}};
        for (const auto& [key, expected] : moves) {
            QTest::keyClick(&tiles, key);
            QCOMPARE(tiles.Selected(), expected);
            // The selected tile is always in view, and the properties follow it.
            QVERIFY(tiles.Selected() >= tiles.FirstVisible() &&
                    tiles.Selected() < tiles.FirstVisible() + page);
            CNamedPattern* entry = NamedPatterns().First();
            for (int i = 1; i < expected; ++i) entry = CNamedPatternDict::Next(entry);
            QCOMPARE(dialog.SelectedEntry(), entry);
        }
        // A click selects; a double click inserts the pattern into the game, floating.
        const int target = ItemOf(dialog, "glider");
        tiles.SetSelected(1);
        const QPoint centre = tiles.TileRect(target).center();
        QTest::mouseClick(tiles.viewport(), Qt::LeftButton, {}, centre);
        QCOMPARE(dialog.SelectedEntry()->Name(), std::string("glider"));
        QTest::mouseDClick(tiles.viewport(), Qt::LeftButton, {}, centre);
        QCOMPARE(Normalised(f->Floating()), Normalised(Glider()));
        dialog.close();
    }

    void filtersListWhatADirectCountFinds() {
        ui::CPatternsDialog& dialog = Open();
        auto* libraryBox = dialog.findChild<QComboBox*>("library");
        auto* type = dialog.findChild<QComboBox*>("type");
        auto* size = dialog.findChild<QLineEdit*>("size");
        QVERIFY(libraryBox && type && type->count() > 2 && size);
        for (int t = 0; t < type->count(); ++t) {
            type->setCurrentIndex(t);
            for (int32_t library : {generated->Number(), kAllLibrariesNumber}) {
                for (uint32_t population : {0u, 4u}) {
                    libraryBox->setCurrentIndex(libraryBox->findData(library));
                    size->setText(population ? QString::number(population) : QString());
                    dialog.ApplyFilter();
                    const auto wanted = EPatternType(type->itemData(t).toInt());
                    int expected = 0;
                    for (CNamedPattern* e = NamedPatterns().First(); e; e = CNamedPatternDict::Next(e)) {
                        const EPatternType declared = e->Pattern().DeclaredType();
                        const bool typeOk =
                            wanted == EPatternType::Any || declared == wanted ||
                            (wanted == EPatternType::Unstable && declared == EPatternType::Unknown);
                        expected += typeOk && (library < -2 || e->Library() == generated) &&
                                    (!population || e->Pattern().Base().Population() == population);
                    }
                    QCOMPARE(dialog.Tiles().ItemCount(), expected);
                }
            }
        }
        dialog.close();
        // The filter is remembered for the next opening.
        QCOMPARE(ui::ShowPatternsDialog(*f->window).findChild<QLineEdit*>("size")->text(),
                 QStringLiteral("4"));
    }

    void showTransformsOfAGlider() {
        ui::CPatternsDialog& dialog = Open();
        QVERIFY(ItemOf(dialog, "glider") > 0);
        const ui::CTileWin& tiles = dialog.TransformTiles();
        const CPatternTransformCollection* transforms = dialog.Transforms();
        QVERIFY(transforms);
        // A glider has no symmetry: four phases, each in eight orientations, each tile what the reference
        // stepper makes of it.
        QCOMPARE(tiles.Columns(), 8);
        QCOMPARE(tiles.ItemCount(), 32);
        std::set<std::pair<int, int>> shown;  // (phase, orientation)
        for (int i = 1; i <= tiles.ItemCount(); ++i) {
            const int phase = (i - 1) / 8, orientation = transforms->OrientationAt(i);
            QCOMPARE(Normalised(CellsOf(*transforms->UniverseAt(i))),
                     Normalised(Turned(ReferenceRun(Glider(), kConwayRuleCode, phase), orientation)));
            shown.insert({phase, orientation});
        }
        QCOMPARE(shown.size(), size_t(32));
    }

    // Copy and Edit Properties on one pattern, Delete on another: each changes only what it says.
    void copyEditAndDeleteTheSelectedPattern() {
        CPattern* glider = &FindNamedPattern("glider", generated)->Pattern();
        CPattern* block = &FindNamedPattern("block", other)->Pattern();
        QCOMPARE(RecognisedAlone(Glider()), glider);
        QCOMPARE(RecognisedAlone(CellsFromPicture("**\n**")), block);
        ui::CPatternsDialog& dialog = Open();
        QVERIFY(ItemOf(dialog, "block") > 0);
        CUiFixture::ClickButton(dialog, QStringLiteral("&Copy"));
        const QString copied = QGuiApplication::clipboard()->text();
        QCOMPARE(Normalised(ReadToolPattern(copied.toStdString())), CellsFromPicture("**\n**"));
        WhenModal<ui::CPatternPropertiesDialog>([](ui::CPatternPropertiesDialog* properties) {
            properties->RecognizableBox()->setChecked(false);
            properties->accept();
        });
        CUiFixture::ClickButton(dialog, QStringLiteral("&Edit Properties..."));
        QVERIFY(!block->IsRecognizable() && RecognisedAlone(CellsFromPicture("**\n**")) != block);

        Snapshot before = Everything();
        const size_t entries = generated->Entries().size();
        const int item = ItemOf(dialog, "glider");
        const auto asked = CUiFixture::AnswerNext(QMessageBox::Ok);
        CUiFixture::ClickButton(dialog, QStringLiteral("&Delete"));
        QVERIFY(asked->startsWith("Delete pattern glider(1) from library"));
        QVERIFY(!FindNamedPattern("glider", generated));
        QCOMPARE(generated->Entries().size(), entries - 1);
        QVERIFY(generated->IsModified());
        // A generated duplicate of the glider may take its place; the deleted pattern is never found.
        CPattern* now = RecognisedAlone(Glider());
        QVERIFY(!now || (now->Named() && now->Named()->Name() != "glider"));
        QVERIFY(RecognisedAlone(CellsFromPicture("***")));
        before.erase("glider(1)");
        QCOMPARE(Everything(), before);
        // The list moved on to the pattern after it.
        QCOMPARE(dialog.Tiles().ItemCount(), int(NamedPatterns().Count()));
        QCOMPARE(dialog.Tiles().Selected(), item);
    }

    void libraryDialogUnloadsItsLibrary() {
        ui::CPatternsDialog& patterns = Open();
        f->window->Action(ui::cmd::kShowPatterns)->trigger();
        ui::CPatternLibraryDialog* dialog = ui::OpenPatternLibraryDialog(f->window.get(), other->Number());
        QVERIFY(dialog);
        QCOMPARE(dialog->Tiles().ItemCount(), 2);
        dialog->Save();  // nothing to ask about at the unload
        QVERIFY(!other->IsModified());
        const auto asked = CUiFixture::AnswerNext(QMessageBox::Ok);
        QPointer<ui::CPatternLibraryDialog> alive(dialog);
        dialog->Unload();
        QVERIFY(asked->startsWith("Unload library \""));
        QTRY_VERIFY(alive.isNull());
        QVERIFY(!FindLibrary(2));
        QTRY_COMPARE(patterns.Tiles().ItemCount(), int(NamedPatterns().Count()));
        QVERIFY(FindNamedPattern("glider", generated));
    }

    void tileDroppedOnGameFloatsThereAndIsPutDownUndoably() {
        ui::CPatternsDialog& dialog = Open();
        const int item = ItemOf(dialog, "glider");
        std::unique_ptr<QMimeData> data(dialog.Tiles().DragData(item));
        QCOMPARE(ReadToolPattern(data->text().toStdString()), Normalised(Glider()));  // other programs
        DragAcross(*data, {-10, -6}, {7, 5}, true);
        QCOMPARE(f->Floating(), CentredOn(Glider(), {7, 5}));
        QCOMPARE(f->Game().Population(), 0u);
        QTest::mouseClick(f->View().viewport(), Qt::LeftButton, {}, f->At({7, 5}));
        QCOMPARE(f->GameCells(), CentredOn(Glider(), {7, 5}));
        f->window->RunCommandId(ui::cmd::kUndo);
        QCOMPARE(f->Game().Population(), 0u);

        // Text from another program floats the same way; a drag that leaves again gives back the object
        // that floated before it.
        QMimeData text;
        text.setText(QString::fromStdString(ToRle(RPentomino(), "B3/S23")));
        DragAcross(text, {0, 0}, {-3, 9}, true);
        QCOMPARE(f->Floating(), CentredOn(RPentomino(), {-3, 9}));
        DragAcross(*data, {2, 2}, {4, 4}, false);
        QCOMPARE(f->Floating(), CentredOn(RPentomino(), {-3, 9}));

        // A transform tile carries its own phase and orientation.
        const int last = dialog.TransformTiles().ItemCount();
        const Cells shown = CellsOf(*dialog.Transforms()->UniverseAt(last));
        QVERIFY(Normalised(shown) != Normalised(Glider()));
        data.reset(dialog.TransformTiles().DragData(last));
        DragAcross(*data, {0, 0}, {20, -4}, true);
        QCOMPARE(f->Floating(), CentredOn(shown, {20, -4}));

        // A file from a file manager opens as a new game.
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(
            QString::fromStdString(f->temp.Write("dropped.rle", ToRle(Glider(), "B3/S23"))))});
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
        CUiFixture::ClickButton(*shown(), QStringLiteral("&Help"));
        QVERIFY(ui::ExistingHelpWindow()->CurrentPage().startsWith("libraries-and-census.html"));

        f->window->RunCommandId(ui::cmd::kKeepPatternsOnTop);
        ResetAllParameters();
        QCOMPARE(params::KeepPatternsOnTop.GetInt(), 0);
    }
};

static RegisterUiTest<PatternWindowsTest> registered;

}  // namespace tessera::test

#include "pattern_windows_test.moc"
