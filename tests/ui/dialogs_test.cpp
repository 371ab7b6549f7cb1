// The dialogs: bad values refused with their message and nothing changed, good ones applied; the help
// window opened from the menus and the dialogs' Help buttons, its search and its links; the pattern
// libraries loaded at start-up, their commands and the question at shut-down; the census dialog.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTreeWidget>
#include <fstream>

#include "games/broth.h"
#include "patterns/census.h"
#include "patterns/library_commands.h"
#include "patterns/library_loader.h"
#include "rules/rule_notation.h"
#include "rules/rule_registry.h"
#include "ui/broth_dialog.h"
#include "ui/census_dialog.h"
#include "ui/dialogs.h"
#include "ui/file_error_report_dialog.h"
#include "ui/library_desk.h"
#include "ui/options_sheet.h"
#include "ui/pattern_details.h"
#include "ui/pattern_dialogs.h"
#include "ui/repeat_insertion_dialog.h"
#include "ui/rules_dialog.h"
#include "ui/select_universe_dialog.h"
#include "ui/ui_fixture.h"

namespace tessera::test {

using ui::CCreatePatternDialog;
namespace cmd = ui::cmd;

namespace {
// A library file of plain pattern blocks: `count` blinkers in a row, each its own pattern.
std::string BlockLibrary(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "#B blinker" + std::to_string(i) + "\n***\n#E\n";
    return text;
}
}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<CUiFixture> f;

    static void Type(QLineEdit* field, const QString& text) { CUiFixture::Type(field, text); }
    static ui::CHelpWindow& Help() { return *ui::ExistingHelpWindow(); }
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

    void brothRefusesBadDensitiesAndFillsItsRectangle() {
        const uint32_t seed = 0x5EED;
        TheRandomGenerator().SetState(seed);
        CGame* before = &f->Game();
        f->Drive<ui::CBrothDialog>(cmd::kBroth, [&](ui::CBrothDialog& broth) {
            for (const char* bad : {"101", "-1"}) {
                Type(broth.DensityField(), QString::fromUtf8(bad));
                broth.accept();
                QVERIFY(broth.isVisible());
                QCOMPARE(f->messages.back(),
                         QStringLiteral("Density must be a percentage in the range 0 - 100."));
                QCOMPARE(params::BrothDensity.GetUInt(), 30u);
            }
            Type(broth.DensityField(), QStringLiteral("50"));
            Type(broth.WidthField(), QStringLiteral("5"));
            Type(broth.HeightField(), QStringLiteral("4"));
            broth.accept();
        });
        QVERIFY(&f->Game() != before);
        QCOMPARE(params::BrothDensity.GetUInt(), 50u);
        // The same generator state and density give the same cells over the same rectangle.
        CRandomGenerator reference = TheRandomGenerator();
        reference.SetState(seed);
        auto expected = MakeUniverse({});
        FillBroth(*expected, 50, BrothRectangle(5, 4), reference, nullptr);
        QCOMPARE(f->GameCells(), CellsOf(*expected));
    }

    void repeatInsertionMakesRowsOfCopies() {
        // Fields: count, step x, step y for the row, then the same for the rows; no rows: refused.
        const auto repeat = [&](const std::vector<const char*>& fields, int rows) {
            f->View().SetFloatingObject(MakeUniverse(Glider()), {});
            f->Drive<ui::CRepeatInsertionDialog>(cmd::kRepeatInsert, [&](ui::CRepeatInsertionDialog& dialog) {
                for (size_t i = 0; i < fields.size(); ++i) Type(dialog.Field(int(i)), fields[i]);
                dialog.accept();
                QCOMPARE(dialog.isVisible(), rows == 0);
            });
            Cells expected = rows == 0 ? Glider() : Cells{};
            for (int j = 0; j < rows; ++j)
                for (int i = 0; i < 3; ++i) expected.merge(Shifted(Glider(), 10 * i - j, 20 * j));
            QCOMPARE(CellsOf(*f->View().FloatingObject()), expected);
        };
        repeat({"0"}, 0);
        QVERIFY(f->messages.back().startsWith(QStringLiteral("The first count must be")));
        repeat({"3", "10", "0", "2", "-1", "20"}, 2);
        // The next opening starts from these values; a second count of 0 leaves the row alone.
        repeat({}, 2);
        repeat({"3", "10", "0", "0"}, 1);
    }

    void createPatternNamesRenamesAndTakesTheClipboardsChoice() {
        CPatternLibrary* user = f->UserLibrary();
        f->Place(CellsFromPicture("**\n**", 3, 3));
        f->Place(Shifted(Glider(), 30, 0));
        f->View().SetSelectionRect({3, 5, 3, 5});
        QVERIFY(f->AddPattern(user, "Rock", Glider(), ERecognizable::No));
        f->Drive<CCreatePatternDialog>(cmd::kCreatePattern, [&](CCreatePatternDialog& create) {
            QCOMPARE(create.ChosenLibrary(), user);
            Type(create.NameField(), QStringLiteral("Stone"));
            WhenModal<ui::CPatternPropertiesDialog>([&](ui::CPatternPropertiesDialog* properties) {
                QCOMPARE(properties->windowTitle(), QStringLiteral("Pattern \"Stone\""));
                QCOMPARE(properties->ApgCodeLabel()->text(), QStringLiteral("xs4_33"));
                QVERIFY(!properties->Rename(QStringLiteral("Rock")));
                QCOMPARE(f->messages.back(), QStringLiteral("Name Already Being Used"));
                QVERIFY(properties->Rename(QStringLiteral("Boulder")));
                QCOMPARE(properties->windowTitle(), QStringLiteral("Pattern \"Boulder\""));
                properties->accept();
            });
            create.accept();
        });
        CNamedPattern* boulder = FindNamedPattern("Boulder", user);
        QVERIFY(boulder && !FindNamedPattern("Stone", user));
        QCOMPARE(boulder->Pattern().Base().Population(), 4u);
        QCOMPARE(boulder->Pattern().GetType(), EPatternType::Still);
        f->Drive<CCreatePatternDialog>(cmd::kCreatePattern, [&](CCreatePatternDialog& create) {
            Type(create.NameField(), QStringLiteral("Rock"));
            create.accept();
        });
        QCOMPARE(f->messages.back(),
                 QStringLiteral("There is already a pattern called \"Rock(U)\" in the %1.")
                     .arg(QString::fromStdString(user->Description())));

        // In an empty game the pattern comes from the clipboard, whose choice (not the first offered) is
        // asked for once.
        f->window->RunCommandId(cmd::kNewGame);
        QGuiApplication::clipboard()->setText("#N block\n#P 0 0\n**\n**\n#N blinker\n#P 0 0\n***\n");
        int choices = 0;
        f->Drive<CCreatePatternDialog>(cmd::kCreatePattern, [&](CCreatePatternDialog& create) {
            QVERIFY(!create.IsSourceOffered(CCreatePatternDialog::kWholeUniverse));
            QCOMPARE(create.Source(), CCreatePatternDialog::kClipboard);
            WhenModal<ui::CSelectUniverseDialog>([&](ui::CSelectUniverseDialog* choice) {
                ++choices;
                choice->List()->setCurrentItem(choice->List()->findItems("block", Qt::MatchExactly).value(0));
                choice->accept();
            });
            create.NameField()->setText(QStringLiteral("-bad"));
            create.accept();  // refused: the name is asked for again, the choice is kept
            QVERIFY(f->messages.back().startsWith(QStringLiteral("That is not a valid name.")));
            create.NameField()->setText(QStringLiteral("Box"));
            WhenModal<QDialog>([](QDialog* properties) { properties->accept(); });
            create.accept();
        });
        QCOMPARE(choices, 1);
        CNamedPattern* box = FindNamedPattern("Box", user);
        QVERIFY(box && box->Pattern().Base().Population() == 4);
    }

    void propertiesRefuseMistakesAndStoreDeclarations() {
        CNamedPattern* entry = f->AddPattern(f->UserLibrary(), "R", RPentomino(), ERecognizable::No);
        ui::CPatternPropertiesDialog dialog(*entry);
        QVERIFY(dialog.PeriodField()->isEnabled());  // unstable: the user may declare what it is
        dialog.TypeField()->setCurrentIndex(dialog.TypeField()->findText(QStringLiteral("Oscillator")));
        Type(dialog.PeriodField(), QStringLiteral("six"));
        dialog.accept();
        QCOMPARE(f->messages.back(), QStringLiteral("There is a mistake in one of the property fields."));
        QCOMPARE(entry->Pattern().DeclaredType(), EPatternType::Unstable);
        Type(dialog.PeriodField(), QStringLiteral("6"));
        dialog.accept();
        QCOMPARE(entry->Pattern().DeclaredType(), EPatternType::Oscillator);
        QCOMPARE(entry->Pattern().Period(), 6);
    }

    void severalPatternsAndErrorsWhenAFileIsRead() {
        const std::string file = f->temp.Write("several.lif", "#B one\n*\n#E\n#B two\n**\n#E\n#Q what\n");
        QStringList seen;
        std::function<void(QDialog*)> answer = [&](QDialog* dialog) {
            if (auto* report = qobject_cast<ui::CFileErrorReportDialog*>(dialog)) {
                seen << QStringLiteral("report");
                QVERIFY(!report->Report()->toPlainText().isEmpty());
                WhenModal<QDialog>(answer);
                report->accept();
            } else if (auto* choice = qobject_cast<ui::CSelectUniverseDialog*>(dialog)) {
                seen << QStringLiteral("choice");
                const auto found = choice->List()->findItems(QStringLiteral("two"), Qt::MatchExactly);
                QCOMPARE(found.size(), 1);
                choice->List()->setCurrentItem(found.front());
                WhenModal<QDialog>(answer);
                choice->accept();
            }
        };
        WhenModal<QDialog>(answer);
        QVERIFY(f->window->OpenFile(QString::fromStdString(file)));
        QVERIFY(seen.contains(QStringLiteral("choice")) && seen.contains(QStringLiteral("report")));
        QCOMPARE(f->GameCells().size(), size_t(2));
    }

    void rulesDialogEditsTheGamesRule() {
        const RuleCode conway = ParseRuleText("23/3");
        QCOMPARE(f->Game().Current().GetRuleCode(), conway);
        f->Drive<ui::CRulesDialog>(cmd::kRuleShow, [&](ui::CRulesDialog& rules) {
            QVERIFY(rules.SurvivalBox(2)->isChecked() && rules.BirthBox(3)->isChecked());
            QVERIFY(rules.TakeText(QStringLiteral("high life")));  // a name first
            QCOMPARE(rules.Code(), ParseRuleText("23/36"));
            QVERIFY(rules.BirthBox(6)->isChecked());
            rules.BirthBox(6)->click();
            rules.BirthBox(8)->click();
            QCOMPARE(rules.Code(), ParseRuleText("23/38"));
            rules.NeighbourBox(1)->click();                    // a corner no longer counts
            QCOMPARE(rules.Neighbourhoods()->checkedId(), 3);  // Other
            rules.Neighbourhoods()->button(0)->click();        // back to all eight
            QCOMPARE(rules.Code(), ParseRuleText("23/38"));
            QVERIFY(rules.NameRule(QStringLiteral("Eights")));
            const int named = rules.RuleCombo()->findText(QStringLiteral("Eights"));
            QVERIFY(named >= 0);
            QCOMPARE(RuleCode(rules.RuleCombo()->itemData(named).toULongLong()), ParseRuleText("23/38"));
            rules.accept();
        });
        QCOMPARE(f->Game().Current().GetRuleCode(), ParseRuleText("23/38"));
        ResetRuleRegistry();
    }

    void gotoGenerationChecksAndRemembers() {
        ui::CGotoMemory memory;
        ui::CGotoDialog dialog(memory, f->Game());
        dialog.GenerationField()->setText("0");
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(f->messages.back(), QStringLiteral("Generation must be a number greater than zero."));
        dialog.GenerationField()->setText("250");
        dialog.SetEvery(true);
        dialog.IntervalField()->setText("0");
        dialog.accept();
        QCOMPARE(f->messages.back(), QStringLiteral("Display interval must be a number greater than zero."));
        QCOMPARE(memory.target, 0);
        dialog.SetEvery(false);  // the interval field is ignored now
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(memory.target, 250);
        QCOMPARE(memory.interval, 0);
        ui::CGotoDialog again(memory, f->Game());
        QCOMPARE(again.GenerationField()->text(), QStringLiteral("250"));
        ui::CGotoDialog forOther(memory, f->games.NewGame());
        QCOMPARE(forOther.GenerationField()->text(), QString());
    }

    void namesAndDescriptions() {
        for (const char* bad : {"", "-dash first", "semi;colon"}) {
            ui::CNameDialog dialog(QString::fromUtf8(bad));
            dialog.accept();
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
            QVERIFY(f->messages.back().startsWith("That is not a valid name.\n(Names must begin"));
        }
        ui::CNameDialog good(QStringLiteral("Glider gun #2"));
        good.accept();
        QCOMPARE(good.result(), int(QDialog::Accepted));
        QVERIFY(f->Game().SetName(CName(good.Name())));
        ui::CDescriptionDialog description(f->Game());
        QCOMPARE(description.windowTitle(),
                 QStringLiteral("Description: ") + QString::fromStdString(f->Game().Title(true)));
        description.OriginatorField()->setText("R. Person");
        description.DescriptionField()->setPlainText("Two lines\nof text");
        description.accept();
        QCOMPARE(f->Game().Originator(), std::string("R. Person"));
        QCOMPARE(f->Game().Description(), std::string("Two lines\nof text"));
    }

    void searchFindsPagesHoldingEveryWordAndMenusAndLinksOpenPages() {
        ui::OpenHelp({});
        Help().Search(QStringLiteral("Originator"));  // a word of one page only
        QCOMPARE(Help().Results(), QStringList{"file-formats.html"});
        Help().Search(QStringLiteral("Autostop halc"));  // both words, the second as the start of one
        QStringList both = Help().Results();
        both.sort();
        QCOMPARE(both, QStringList({"batch-tool.html", "getting-started.html"}));
        // Choosing a result opens its page.
        Help().Search(QStringLiteral("originator"));
        QListWidget* results = Help().ResultsList();
        QTest::mouseClick(results->viewport(), Qt::LeftButton, {},
                          results->visualItemRect(results->item(0)).center());
        QCOMPARE(Help().CurrentPage(), QStringLiteral("file-formats.html"));
        // The menus open their pages, and links are followed.
        f->window->RunCommandId(cmd::kHelpIndex);
        QCOMPARE(Help().CurrentPage(), QStringLiteral("index.html"));
        QTextBrowser* browser = Help().Browser();
        const QTextCursor link = browser->document()->find(QStringLiteral("Rules and neighbourhoods"));
        QVERIFY(!link.isNull());
        QTextCursor inside(link);
        inside.setPosition(link.selectionStart() + 2);
        QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, browser->cursorRect(inside).center());
        QCOMPARE(Help().CurrentPage(), QStringLiteral("rules.html"));
        browser->backward();
        QCOMPARE(Help().CurrentPage(), QStringLiteral("index.html"));
        f->window->RunCommandId(cmd::kGettingStarted);
        QCOMPARE(Help().CurrentPage(), QStringLiteral("getting-started.html"));
        QVERIFY(browser->toPlainText().contains("When Tessera starts"));
    }

    void dialogHelpButtonsOpenTheirSection() {
        // The contents list and the window's title follow the page shown.
        const auto check = [](QDialog&& dialog, const QString& page, const QString& section,
                              const QString& title) {
            dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Help)->click();
            QCOMPARE(Help().CurrentPage(), page);
            QListWidgetItem* listed = Help().ContentsList()->currentItem();
            QVERIFY(listed && listed->text() == title && Help().windowTitle().endsWith(title));
            QCOMPARE(Help().Browser()->source().fragment(), section);
            QFile file(ui::HelpFolder() + QLatin1Char('/') + page);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY(file.readAll().contains(("id=\"" + section + '"').toUtf8()));
        };
        ui::CGotoMemory memory;
        check(ui::CGotoDialog(memory, f->Game()), "games-and-generations.html", "going-back",
              "Games and generations");
        check(ui::CRepeatInsertionDialog({}), "drawing-and-growing.html", "repeat", "Drawing and growing");
        check(ui::CCreatePatternDialog(f->View(), nullptr, nullptr), "libraries-and-census.html", "create",
              "Pattern libraries and the census");
        int page = int(EOptionPage::View);  // where the sheet opens
        check(ui::COptionsSheet(page), "options.html", "view", "Options");
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
        QVERIFY(f->RunAnswering(cmd::kCensus, [&](QDialog* dialog) {
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
        QVERIFY(f->RunAnswering(cmd::kCensus));
        f->window->RunCommandId(cmd::kNext);  // the blocks stay, the glider moves on
        QVERIFY(f->RunAnswering(cmd::kCensus));
        QVERIFY(f->RunAnswering(cmd::kTotalCensus, [&](QDialog* dialog) {
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
        QVERIFY(f->RunAnswering(cmd::kCensus));
        QCOMPARE(TheCensus().Last(), nullptr);  // cancelled: nothing ran
        QVERIFY(f->RunAnswering(cmd::kCensus, [&](QDialog* dialog) {
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

static RegisterUiTest<DialogsTest> registered;

}  // namespace tessera::test

#include "dialogs_test.moc"
