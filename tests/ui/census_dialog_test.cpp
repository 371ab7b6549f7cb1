// The census dialog over a world of three blocks, a glider and an R-pentomino: the table, its sorting,
// the details with the apgcode, export, the total census, and the unclassifiable cells selected.
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "patterns/census.h"
#include "patterns/named_pattern.h"
#include "patterns/pattern_library.h"
#include "patterns/recognition.h"
#include "ui/census_dialog.h"
#include "ui/command_ids.h"
#include "ui/modal_answer.h"
#include "ui/pattern_details.h"
#include "ui/ui_fixture.h"
#include "ui/ui_test_registry.h"

namespace tessera::test {

class CensusDialogTest : public QObject {
    Q_OBJECT
    std::unique_ptr<CUiFixture> f;
    CPatternLibrary* user_ = nullptr;
    const Cells block_ = CellsFromPicture("**\n**");

    void Name(const char* name, const Cells& cells) {
        std::unique_ptr<CPattern> pattern = CPattern::Create(*MakeUniverse(cells), ERecognizable::Yes);
        QVERIFY(NameNewPattern(pattern, name, user_));
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

private slots:
    void init() {
        f = std::make_unique<CUiFixture>();
        InstallRecognition();
        user_ = MakeLibrary("user.lfl", kUserLibraryNumber);
        Name("block", block_);
        Name("glider", Glider());
        for (const auto& [dx, dy] : {std::pair{0, 0}, {10, 0}, {0, 10}}) f->Place(Shifted(block_, dx, dy));
        f->Place(Shifted(Glider(), 20, 20));
        f->Place(Shifted(RPentomino(), 60, 0));
    }
    void cleanup() {
        DestroyLibrary(user_);  // before the window, which closes the libraries left open
        f.reset();
        ResetRecognition();
        TheCensus().Reset();
    }

    void censusTableSortsExportsAndSelectsTheUnclassifiable() {
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
        QCOMPARE(FindNamedPattern("block", user_)->censusCount, 0u);
    }

    void withoutItsLibraryTheCensusAsksForOne() {
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
        DestroyLibrary(other);
        DestroyLibrary(readOnly);
    }
};

static RegisterUiTest<CensusDialogTest> registered;

}  // namespace tessera::test

#include "census_dialog_test.moc"
