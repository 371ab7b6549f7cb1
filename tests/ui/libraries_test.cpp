// The pattern libraries in the desktop: loading at start-up, the library commands and the question at
// shut-down; the census dialog: its table, sorting, details, export, total census, unclassifiable cells.
#include <QCheckBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QStatusBar>
#include <QTreeWidget>
#include <fstream>

#include "patterns/census.h"
#include "patterns/library_commands.h"
#include "patterns/library_loader.h"
#include "ui/census_dialog.h"
#include "ui/library_desk.h"
#include "ui/pattern_details.h"
#include "ui/ui_fixture.h"

namespace tessera::test {

namespace cmd = ui::cmd;

namespace {
// A library file of plain pattern blocks: `count` blinkers in a row, each its own pattern.
std::string BlockLibrary(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "#B blinker" + std::to_string(i) + "\n***\n#E\n";
    return text;
}
}  // namespace

class LibrariesTest : public QObject {
    Q_OBJECT
    std::unique_ptr<CUiFixture> f;

    static void ChooseFile(const std::string& file, bool readOnly = false) {
        WhenModal<QFileDialog>([file, readOnly](QFileDialog* dialog) {
            if (auto* box = dialog->findChild<QCheckBox*>(QStringLiteral("readOnly")))
                box->setChecked(readOnly);
            dialog->selectFile(QString::fromStdString(file));
            static_cast<QDialog*>(dialog)->accept();
        });
    }

    static void ClickHeader(QTreeWidget& table, int column) {
        QHeaderView* header = table.header();
        const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }
    // The census's world, with the block and the glider named in the user library.
    void CensusWorld() {
        const Cells block = CellsFromPicture("**\n**");
        QVERIFY(f->AddPattern(f->UserLibrary(), "block", block, ERecognizable::Yes));
        QVERIFY(f->AddPattern(f->user, "glider", Glider(), ERecognizable::Yes));
        for (const auto& [dx, dy] : {std::pair{0, 0}, {10, 0}, {0, 10}}) f->Place(Shifted(block, dx, dy));
        f->Place(Shifted(Glider(), 20, 20));
        f->Place(Shifted(RPentomino(), 60, 0));
    }

private slots:
    void init() { f = std::make_unique<CUiFixture>(); }
    void cleanup() {
        f.reset();
        TheCensus().Reset();
    }

    void startUpLibrariesLoadInTheBackground() {
        constexpr int kPatterns = 40;
        params::SystemLibraryName.Set(f->temp.Write("system.lfl", BlockLibrary(kPatterns)));
        const std::string preloaded = f->temp.Write("kept.lfl", BlockLibrary(3));
        std::ofstream(f->iniPath, std::ios::app) << "[Preload]\nLibrary1=RO*" << preloaded << "\n";
        f->window->Libraries().LoadAtStartup();
        // The window is back before the patterns are made; they arrive slice by slice with progress.
        QVERIFY(LibraryLoadTask() != nullptr);
        CPatternLibrary* system = FindLibrary(kSystemLibraryNumber);
        QVERIFY(system && system->IsReadOnly());
        QVERIFY(system->Entries().size() < size_t(kPatterns));
        QTRY_VERIFY(f->window->statusBar()->currentMessage().startsWith("Loading patterns from"));
        QTRY_VERIFY(LibraryLoadTask() == nullptr);
        QCOMPARE(system->Entries().size(), size_t(kPatterns));
        CPatternLibrary* kept = FindLibrary(1);
        QVERIFY(kept && kept->IsReadOnly() && kept->IsPreload());
        QCOMPARE(kept->Entries().size(), size_t(3));
        QVERIFY(FindLibrary(kUserLibraryNumber));  // no file yet: empty, and no message about it
        QVERIFY(f->messages.empty());
        QCOMPARE(f->window->statusBar()->currentMessage(), QString());
    }

    void menuCommandsAndShutDown() {
        params::LoadSystemLibrary.SetInt(0);
        f->window->Libraries().LoadAtStartup();
        const std::string other = f->temp.Write("other.lfl", BlockLibrary(2));
        ChooseFile(other, true);
        f->window->RunCommandId(cmd::kLoadLibrary);
        QTRY_VERIFY(LibraryLoadTask() == nullptr);
        CPatternLibrary* loaded = FindLibraryByFile(other);
        QVERIFY(loaded && loaded->IsReadOnly() && !loaded->IsPreload());
        QCOMPARE(loaded->Entries().size(), size_t(2));
        ChooseFile(other);
        f->window->RunCommandId(cmd::kLoadLibrary);
        QCOMPARE(f->messages.back(),
                 QStringLiteral("Pattern library %1 is already loaded").arg(other.c_str()));

        ChooseFile((f->folder / "fresh").string());
        f->window->RunCommandId(cmd::kNewLibrary);
        CPatternLibrary* fresh = FindLibraryByFile((f->folder / "fresh.lfl").string());
        QVERIFY(fresh && fresh->Number() == 2 && fresh->Entries().empty());

        // Save All writes every library with changes, and only those.
        QVERIFY(f->AddPattern(fresh, "traveller", Glider()));
        CPatternLibrary* user = FindLibrary(kUserLibraryNumber);
        QVERIFY(f->AddPattern(user, "mine", Glider()));
        f->window->RunCommandId(cmd::kSaveLibraries);
        QVERIFY(!fresh->IsModified() && !user->IsModified());
        ApplyLibraryFlags(*loaded, true, true);
        QVERIFY(ReadFile(fresh->FileName()).find("#B traveller") != std::string::npos);
        QVERIFY(ReadFile(user->FileName()).find("#B mine") != std::string::npos);
        QCOMPARE(ReadFile(other), BlockLibrary(2));

        // At shut-down a library with changes is saved when the user says Yes.
        QVERIFY(f->AddPattern(user, "unsaved", Glider()));
        const std::string file = user->FileName();
        const auto asked = CUiFixture::AnswerNext(QMessageBox::Yes);
        f->window->close();
        QCOMPARE(*asked, QStringLiteral("Save changes to user?"));
        QVERIFY(ReadFile(file).find("#B unsaved") != std::string::npos);
        QVERIFY(f->IniText().find("RO*" + other) != std::string::npos);  // still preloaded
    }

    void censusTableSortsExportsAndSelectsTheUnclassifiable() {
        CensusWorld();
        QVERIFY(f->RunAnswering(ui::cmd::kCensus, [&](QDialog* dialog) {
            auto& census = dynamic_cast<ui::CCensusDialog&>(*dialog);
            QCOMPARE(census.windowTitle(), QStringLiteral("Census of %1 at generation 0")
                                               .arg(QString::fromStdString(f->Game().Title(false))));
            QCOMPARE(census.Summary()->text(),
                     QStringLiteral("Game contains 4 objects including 0 new,\nand 5 unclassifiable bits"));
            QTreeWidget& table = *census.Table();
            QCOMPARE(census.TableText(), QStringLiteral("block,3,4\nglider,1,5\n"));
            // A header click sorts by its column (the order itself is the census's), the next reverses it.
            ClickHeader(table, 0);
            const QString once = census.TableText();
            ClickHeader(table, 0);
            const QStringList orders = {"block,3,4\nglider,1,5\n", "glider,1,5\nblock,3,4\n"};
            QVERIFY(orders.contains(once) && orders.contains(census.TableText()) &&
                    census.TableText() != once);
            if (census.TableText() != orders[1]) ClickHeader(table, 0);
            table.setCurrentItem(table.topLevelItem(0));
            QCOMPARE(census.Details()->ApgCodeLabel()->text(), QStringLiteral("xq4_153"));

            const std::string file = f->temp.PathOf("census.txt");
            QVERIFY(census.ExportTo(QString::fromStdString(file)));
            QCOMPARE(ReadFile(file), std::string("glider,1,5\nblock,3,4\n"));
            const QString unwritable =
                QString::fromStdString((f->folder / "missing" / "census.txt").string());
            QVERIFY(!census.ExportTo(unwritable));
            QCOMPARE(
                f->messages.back(),
                QStringLiteral("Error writing census to \"%1\": No such file or directory").arg(unwritable));
            census.Button("Unclassifiable")->click();
        }));
        QVERIFY(f->View().HasSelection());
        QCOMPARE(CellsOf(*f->View().SelectedCells()), Shifted(RPentomino(), 60, 0));
    }

    void totalCensusAddsUpAndZeroes() {
        CensusWorld();
        QVERIFY(f->RunAnswering(ui::cmd::kCensus));
        f->window->RunCommandId(ui::cmd::kNext);  // the blocks stay, the glider moves on
        QVERIFY(f->RunAnswering(ui::cmd::kCensus));
        QVERIFY(f->RunAnswering(ui::cmd::kTotalCensus, [&](QDialog* dialog) {
            auto& census = dynamic_cast<ui::CCensusDialog&>(*dialog);
            QCOMPARE(census.windowTitle(), QStringLiteral("Total Census"));
            QVERIFY(!census.Button("Unclassifiable"));
            QCOMPARE(census.TableText(), QStringLiteral("block,6,4\nglider,2,5\n"));
            census.Button("Zero Counts")->click();
            QCOMPARE(census.TableText(), QString());
        }));
        QCOMPARE(FindNamedPattern("block", f->user)->censusCount, 0u);
    }

    void withoutItsLibraryTheCensusAsksForOne() {
        CensusWorld();
        CPatternLibrary* readOnly = MakeLibrary("fixed.lfl", 2);
        readOnly->SetReadOnly(true);
        CPatternLibrary* other = MakeLibrary("other.lfl", 3);
        TheCensus().SetLibraryNumber(7);  // no such library
        QVERIFY(f->RunAnswering(ui::cmd::kCensus));
        QCOMPARE(TheCensus().Last(), nullptr);  // cancelled: nothing ran
        QVERIFY(f->RunAnswering(ui::cmd::kCensus, [&](QDialog* dialog) {
            auto& choice = dynamic_cast<ui::CCensusLibraryDialog&>(*dialog);
            const auto listed = [&](CPatternLibrary* library) {
                return choice.List()->findItems(QString::fromStdString(library->Description()),
                                                Qt::MatchExactly);
            };
            QCOMPARE(choice.List()->count(), 2);  // the read-only library is not offered
            QVERIFY(listed(readOnly).isEmpty());
            choice.List()->setCurrentItem(listed(other).value(0));
            WhenModal<QDialog>([](QDialog* census) { census->reject(); });
            choice.accept();
        }));
        QCOMPARE(TheCensus().LibraryNumber(), 3);
        QVERIFY(TheCensus().Last());
    }
};

static RegisterUiTest<LibrariesTest> registered;

}  // namespace tessera::test

#include "libraries_test.moc"
