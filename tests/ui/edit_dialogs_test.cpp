// The dialogs of Goto, names and descriptions, broths, repeated insertions, new patterns and their
// properties, and growth rules: bad values refused with their message and nothing changed, good ones
// applied.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>
#include <fstream>

#include "config/parameters.h"
#include "games/broth.h"
#include "patterns/named_pattern.h"
#include "patterns/pattern_library.h"
#include "patterns/recognition.h"
#include "rules/rule_notation.h"
#include "rules/rule_registry.h"
#include "ui/broth_dialog.h"
#include "ui/command_ids.h"
#include "ui/dialogs.h"
#include "ui/file_error_report_dialog.h"
#include "ui/modal_answer.h"
#include "ui/pattern_dialogs.h"
#include "ui/repeat_insertion_dialog.h"
#include "ui/rules_dialog.h"
#include "ui/select_universe_dialog.h"
#include "ui/ui_fixture.h"
#include "ui/ui_test_registry.h"

namespace tessera::test {

class EditDialogsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<CUiFixture> f;

    static void Type(QLineEdit* field, const QString& text) {
        field->selectAll();
        QTest::keyClicks(field, text);
    }
    // Runs a command whose dialog the action drives; the action must have run.
    void Drive(uint32_t command, const std::function<void(QDialog*)>& action) {
        QVERIFY(f->RunAnswering(command, action));
    }

private slots:
    void init() { f = std::make_unique<CUiFixture>(); }
    void cleanup() { f.reset(); }

    void brothRefusesBadDensitiesAndFillsItsRectangle() {
        const uint32_t seed = 0x5EED;
        TheRandomGenerator().SetState(seed);
        CGame* before = &f->Game();
        Drive(ui::cmd::kBroth, [&](QDialog* dialog) {
            auto& broth = dynamic_cast<ui::CBrothDialog&>(*dialog);
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
        QCOMPARE(params::BrothSizeX.GetUInt(), 5u);
        // The same generator state and density give the same cells over the same rectangle.
        CRandomGenerator reference = TheRandomGenerator();
        reference.SetState(seed);
        auto expected = MakeUniverse({});
        FillBroth(*expected, 50, BrothRectangle(5, 4), reference, nullptr);
        QCOMPARE(f->GameCells(), CellsOf(*expected));
    }

    void repeatInsertionMakesRowsOfCopies() {
        f->View().SetFloatingObject(MakeUniverse(Glider()), {});
        Drive(ui::cmd::kRepeatInsert, [&](QDialog* dialog) {
            auto& repeat = dynamic_cast<ui::CRepeatInsertionDialog&>(*dialog);
            Type(repeat.Field(0), QStringLiteral("0"));
            repeat.accept();
            QVERIFY(repeat.isVisible());
            QVERIFY(f->messages.back().startsWith(QStringLiteral("The first count must be")));
            Type(repeat.Field(0), QStringLiteral("3"));
            Type(repeat.Field(1), QStringLiteral("10"));
            Type(repeat.Field(2), QStringLiteral("0"));
            Type(repeat.Field(3), QStringLiteral("2"));
            Type(repeat.Field(4), QStringLiteral("-1"));
            Type(repeat.Field(5), QStringLiteral("20"));
            repeat.accept();
        });
        Cells expected;
        for (int j = 0; j < 2; ++j)
            for (int i = 0; i < 3; ++i) expected.merge(Shifted(Glider(), 10 * i - j, 20 * j));
        QCOMPARE(CellsOf(*f->View().FloatingObject()), expected);
        // The next opening starts from these values; a second count of 0 leaves the row alone.
        f->View().SetFloatingObject(MakeUniverse(Glider()), {});
        Drive(ui::cmd::kRepeatInsert, [&](QDialog* dialog) {
            auto& repeat = dynamic_cast<ui::CRepeatInsertionDialog&>(*dialog);
            QCOMPARE(repeat.Field(1)->text(), QStringLiteral("10"));
            Type(repeat.Field(3), QStringLiteral("0"));
            repeat.accept();
        });
        Cells row;
        for (int i = 0; i < 3; ++i) row.merge(Shifted(Glider(), 10 * i, 0));
        QCOMPARE(CellsOf(*f->View().FloatingObject()), row);
    }

    void createPatternNamesAndRenames() {
        InstallRecognition();
        CPatternLibrary* user = MakeLibrary("user.lfl", kUserLibraryNumber);
        f->Place(CellsFromPicture("**\n**", 3, 3));
        f->Place(Shifted(Glider(), 30, 0));
        f->View().SetSelectionRect({3, 5, 3, 5});
        std::unique_ptr<CPattern> rock = CPattern::Create(*MakeUniverse(Glider()), ERecognizable::No);
        QVERIFY(NameNewPattern(rock, "Rock", user));
        const auto create = [&](const QString& name, const QString& refusal) {
            Drive(ui::cmd::kCreatePattern, [&](QDialog* dialog) {
                auto& created = dynamic_cast<ui::CCreatePatternDialog&>(*dialog);
                QCOMPARE(created.ChosenLibrary(), user);
                Type(created.NameField(), QStringLiteral("-bad"));
                created.accept();
                QVERIFY(f->messages.back().startsWith(QStringLiteral("That is not a valid name.")));
                Type(created.NameField(), name);
                if (!refusal.isEmpty()) {
                    created.accept();
                    QCOMPARE(f->messages.back(), refusal);
                    return;
                }
                WhenModal<QDialog>([&](QDialog* next) {
                    auto& properties = dynamic_cast<ui::CPatternPropertiesDialog&>(*next);
                    QCOMPARE(properties.windowTitle(), QStringLiteral("Pattern \"Stone\""));
                    QCOMPARE(properties.ApgCodeLabel()->text(), QStringLiteral("xs4_33"));
                    QVERIFY(!properties.Rename(QStringLiteral("Rock")));
                    QCOMPARE(f->messages.back(), QStringLiteral("Name Already Being Used"));
                    QVERIFY(properties.Rename(QStringLiteral("Boulder")));
                    QCOMPARE(properties.windowTitle(), QStringLiteral("Pattern \"Boulder\""));
                    properties.accept();
                });
                created.accept();
            });
        };
        create(QStringLiteral("Stone"), {});
        CNamedPattern* boulder = FindNamedPattern("Boulder", user);
        QVERIFY(boulder);
        QCOMPARE(FindNamedPattern("Stone", user), nullptr);
        QCOMPARE(boulder->Pattern().Base().Population(), 4u);
        QCOMPARE(boulder->Pattern().GetType(), EPatternType::Still);
        create(QStringLiteral("Rock"),
               QStringLiteral("There is already a pattern called \"Rock(U)\" in the %1.")
                   .arg(QString::fromStdString(user->Description())));
        DestroyLibrary(user);
        ResetRecognition();
    }

    void propertiesRefuseMistakesAndStoreDeclarations() {
        InstallRecognition();
        CPatternLibrary* user = MakeLibrary("user.lfl", kUserLibraryNumber);
        std::unique_ptr<CPattern> made = CPattern::Create(*MakeUniverse(RPentomino()), ERecognizable::No);
        CNamedPattern* entry = NameNewPattern(made, "R", user);
        {
            ui::CPatternPropertiesDialog dialog(*entry);
            QVERIFY(dialog.PeriodField()->isEnabled());  // unstable: the user may declare what it is
            dialog.TypeField()->setCurrentIndex(dialog.TypeField()->findText(QStringLiteral("Oscillator")));
            Type(dialog.PeriodField(), QStringLiteral("six"));
            dialog.accept();
            QCOMPARE(f->messages.back(), QStringLiteral("There is a mistake in one of the property fields."));
            QCOMPARE(entry->Pattern().DeclaredType(), EPatternType::Unstable);
            Type(dialog.PeriodField(), QStringLiteral("6"));
            dialog.accept();
        }
        QCOMPARE(entry->Pattern().DeclaredType(), EPatternType::Oscillator);
        QCOMPARE(entry->Pattern().Period(), 6);
        DestroyLibrary(user);
        ResetRecognition();
    }

    void severalPatternsAndErrorsWhenAFileIsRead() {
        const std::filesystem::path file = f->folder / "several.lif";
        std::ofstream(file) << "#B one\n*\n#E\n#B two\n**\n#E\n#Q what\n";
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
        QVERIFY(f->window->OpenFile(QString::fromStdString(file.string())));
        QVERIFY(seen.contains(QStringLiteral("choice")));
        QVERIFY(seen.contains(QStringLiteral("report")));
        QCOMPARE(f->GameCells().size(), size_t(2));
    }

    void rulesDialogEditsTheGamesRule() {
        const RuleCode conway = ParseRuleText("23/3");
        QCOMPARE(f->Game().Current().GetRuleCode(), conway);
        Drive(ui::cmd::kRuleShow, [&](QDialog* dialog) {
            auto& rules = dynamic_cast<ui::CRulesDialog&>(*dialog);
            QVERIFY(rules.SurvivalBox(2)->isChecked() && rules.BirthBox(3)->isChecked());
            QVERIFY(rules.TakeText(QStringLiteral("high life")));  // a name first
            QCOMPARE(rules.Code(), ParseRuleText("23/36"));
            QVERIFY(rules.BirthBox(6)->isChecked());
            rules.BirthBox(6)->click();
            rules.BirthBox(8)->click();
            QCOMPARE(rules.Code(), ParseRuleText("23/38"));
            rules.NeighbourBox(1)->click();  // a corner no longer counts
            QVERIFY(!rules.NeighbourBox(1)->isChecked());
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
        {
            ui::CGotoDialog dialog(memory, f->Game());
            dialog.GenerationField()->setText("0");
            dialog.accept();
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
            QCOMPARE(f->messages.back(), QStringLiteral("Generation must be a number greater than zero."));
            dialog.GenerationField()->setText("250");
            dialog.SetEvery(true);
            dialog.IntervalField()->setText("0");
            dialog.accept();
            QCOMPARE(f->messages.back(),
                     QStringLiteral("Display interval must be a number greater than zero."));
            QCOMPARE(memory.target, 0);
            dialog.SetEvery(false);  // the interval field is ignored now
            dialog.accept();
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(memory.target, 250);
            QCOMPARE(memory.interval, 0);
        }
        ui::CGotoDialog again(memory, f->Game());
        QCOMPARE(again.GenerationField()->text(), QStringLiteral("250"));
        CGame& other = f->games.NewGame();
        ui::CGotoDialog forOther(memory, other);
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
};

static RegisterUiTest<EditDialogsTest> registered;

}  // namespace tessera::test

#include "edit_dialogs_test.moc"
