// The pattern libraries in the desktop: start-up loading in the background with its progress, the
// Patterns menu's library commands through their file dialogs, and the question at shut-down. The census
// dialog over a world of three blocks, a glider and an R-pentomino: the table, its sorting, the details
// with the apgcode, export, the total census, and the unclassifiable cells selected.
#include <QCheckBox>
#include <QFile>
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

    std::string Write(const std::string& name, const std::string& text) {
        const std::string path = (f->folder / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    static void ChooseFile(const std::string& file, bool readOnly = false) {
        WhenModal<QFileDialog>([file, readOnly](QFileDialog* dialog) {
            if (auto* box = dialog->findChild<QCheckBox*>(QStringLiteral("readOnly")))
                box->setChecked(readOnly);
            dialog->selectFile(QString::fromStdString(file));
            static_cast<QDialog*>(dialog)->accept();
        });
    }
    static void Add(CPatternLibrary& library, const std::string& name) {
        QVERIFY(CUiFixture::AddPattern(&library, name, Glider()));
    }

    static QStringList Column(const QTreeWidget& table, int column) {
        QStringList texts;
        for (int i = 0; i < table.topLevelItemCount(); ++i) texts << table.topLevelItem(i)->text(column);
        return texts;
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
        params::SystemLibraryName.Set(Write("system.lfl", BlockLibrary(kPatterns)));
        const std::string preloaded = Write("kept.lfl", BlockLibrary(3));
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
        const std::string other = Write("other.lfl", BlockLibrary(2));
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
        Add(*fresh, "traveller");
        CPatternLibrary* user = FindLibrary(kUserLibraryNumber);
        Add(*user, "mine");
        f->window->RunCommandId(cmd::kSaveLibraries);
        QVERIFY(!fresh->IsModified() && !user->IsModified());
        ApplyLibraryFlags(*loaded, true, true);
        QVERIFY(ReadFile(fresh->FileName()).find("#B traveller") != std::string::npos);
        QVERIFY(ReadFile(user->FileName()).find("#B mine") != std::string::npos);
        QCOMPARE(ReadFile(other), BlockLibrary(2));

        // At shut-down a library with changes is saved when the user says Yes.
        Add(*user, "unsaved");
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
            const QStringList once = Column(table, 0);
            ClickHeader(table, 0);
            QCOMPARE(Column(table, 0), QStringList({once[1], once[0]}));
            if (Column(table, 0)[0] != "glider") ClickHeader(table, 0);
            table.setCurrentItem(table.topLevelItem(0));
            QCOMPARE(census.Details()->ApgCodeLabel()->text(), QStringLiteral("xq4_153"));

            const QString file = QString::fromStdString((f->folder / "census.txt").string());
            QVERIFY(census.ExportTo(file));
            QFile written(file);
            QVERIFY(written.open(QIODevice::ReadOnly));
            QCOMPARE(QString::fromUtf8(written.readAll()), QStringLiteral("glider,1,5\nblock,3,4\n"));
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
