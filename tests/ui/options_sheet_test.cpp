// The options sheet: every control of every page loads its parameter and stores what the user set; Cancel
// stores nothing; pages never shown store nothing; Defaults restores; previews follow the controls.
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <map>
#include <random>

#include "config/option_descriptors.h"
#include "config/parameters.h"
#include "rules/rule_notation.h"
#include "rules/rule_registry.h"
#include "rules/rules.h"
#include "ui/command_ids.h"
#include "ui/log_slider.h"
#include "ui/modal_answer.h"
#include "ui/options_sheet.h"
#include "ui/rules_dialog.h"
#include "ui/ui_fixture.h"
#include "ui/ui_test_registry.h"

namespace tessera::test {

using ui::COptionsSheet;

class OptionsSheetTest : public QObject {
    Q_OBJECT
    std::unique_ptr<CUiFixture> f;

    static std::map<const CParam*, std::string> Snapshot() {
        std::map<const CParam*, std::string> texts;
        for (CParam* param : AllParameters()) texts[param] = param->GetText();
        return texts;
    }
    // Opens the sheet from the menu and runs the action on it.
    void WithSheet(const std::function<void(COptionsSheet&)>& action) {
        QVERIFY(f->RunAnswering(ui::cmd::kOptions,
                                [&](QDialog* dialog) { action(dynamic_cast<COptionsSheet&>(*dialog)); }));
    }
    static QWidget* Control(COptionsSheet& sheet, const COptionDescriptor& option) {
        sheet.Tabs()->setCurrentIndex(int(option.page));
        return sheet.PageAt(option.page)->ControlOf(*option.param);
    }
    // Changes a control as a person would; the text the parameter should then hold.
    static std::string Change(COptionsSheet& sheet, const COptionDescriptor& option, std::mt19937& rng) {
        QWidget* control = Control(sheet, option);
        const auto pick = [&] {
            int64_t value = OptionValue(option);
            while (value == OptionValue(option))
                value =
                    std::uniform_int_distribution<int64_t>(OptionMinimum(option), OptionMaximum(option))(rng);
            return value;
        };
        switch (option.kind) {
            case EOptionKind::Bool: {
                auto* box = qobject_cast<QCheckBox*>(control);
                QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
                return std::to_string(box->isChecked() ? 1 : 0);
            }
            case EOptionKind::String: {
                auto* edit = qobject_cast<QLineEdit*>(control);
                edit->selectAll();
                const std::string text = "name" + std::to_string(rng() % 1000);
                QTest::keyClicks(edit, QString::fromStdString(text));
                return text;
            }
            case EOptionKind::Spin: {
                auto* spin = qobject_cast<QSpinBox*>(control);
                const int64_t value = pick();
                spin->selectAll();
                QTest::keyClicks(spin, QString::number(value));
                return std::to_string(value);
            }
            case EOptionKind::Radio: {
                const int64_t value = OptionValue(option) == 0 ? 1 : 0;
                control->findChildren<QRadioButton*>()[int(value)]->click();
                return std::to_string(value);
            }
            case EOptionKind::LogSlider: {
                auto* slider = control->findChild<ui::CLogSlider*>();
                const bool toTop = OptionValue(option) != OptionMaximum(option);
                QTest::keyClick(slider, toTop ? Qt::Key_End : Qt::Key_Home);
                return std::to_string(toTop ? OptionMaximum(option) : OptionMinimum(option));
            }
            case EOptionKind::Color: {
                const int r = int(rng() % 256), g = int(rng() % 256), b = int(rng() % 256);
                WhenModal<QDialog>([&](QDialog* colours) {
                    qobject_cast<QColorDialog*>(colours)->setCurrentColor(QColor(r, g, b));
                    colours->accept();
                });
                control->findChild<QPushButton*>()->click();
                return std::to_string(r) + " " + std::to_string(g) + " " + std::to_string(b);
            }
        }
        return {};
    }

private slots:
    void init() {
        f = std::make_unique<CUiFixture>();
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(f->folder.string()));  // where associations go
    }
    void cleanup() {
        qunsetenv("XDG_DATA_HOME");
        f.reset();
    }

    void everyControlLoadsAndStoresItsParameter() {
        std::mt19937 rng(20);
        std::map<const CParam*, std::string> expected;
        RuleCode chosenRule = 0;
        WithSheet([&](COptionsSheet& sheet) {
            for (const COptionDescriptor& option : OptionDescriptors())
                expected[option.param] = Change(sheet, option, rng);
            QComboBox* rules = sheet.PageAt(EOptionPage::General)->RuleCombo();
            WhenModal<QDialog>([](QDialog* dialog) {  // "New...": a rule defined in the rules dialog
                dynamic_cast<ui::CRulesDialog&>(*dialog).BirthBox(8)->click();
                dialog->accept();
            });
            CUiFixture::ClickButton(*sheet.PageAt(EOptionPage::General), QStringLiteral("&New..."));
            chosenRule = RuleCode(rules->currentData().toULongLong());
            QCOMPARE(chosenRule, ParseRuleText("23/38"));
            sheet.Tabs()->setCurrentIndex(int(EOptionPage::File));
            sheet.accept();
        });
        for (const auto& [param, text] : expected) QCOMPARE(const_cast<CParam*>(param)->GetText(), text);
        QCOMPARE(DefaultRuleCode(), chosenRule);
        QCOMPARE(std::filesystem::exists(f->folder / "applications" / "tessera.desktop"),
                 params::RegisterFiles.GetInt() != 0);
        f->window->RunCommandId(ui::cmd::kNewGame);  // the next new game takes the rule
        QCOMPARE(f->Game().Current().GetRuleCode(), chosenRule);
        ResetRuleRegistry();
        // Saved: the file holds the new values.
        ResetAllParameters();
        for (const auto& [param, text] : expected) QCOMPARE(const_cast<CParam*>(param)->GetText(), text);
        // Reopened at the page closed with OK.
        WithSheet(
            [&](COptionsSheet& sheet) { QCOMPARE(sheet.Tabs()->currentIndex(), int(EOptionPage::File)); });
    }

    void cancelAndUnshownPagesStoreNothing() {
        params::GridPitch.SetInt(7);
        params::DefaultOriginator.Set("Kept");
        const auto before = Snapshot();
        std::mt19937 rng(7);
        WithSheet([&](COptionsSheet& sheet) {
            for (const COptionDescriptor& option : OptionDescriptors()) Change(sheet, option, rng);
            sheet.reject();
        });
        QVERIFY(Snapshot() == before);
        // OK with only the first page shown changes what was typed there and nothing else: the page
        // stores what it loaded, and the other pages store nothing.
        WithSheet([&](COptionsSheet& sheet) {
            auto* originator = qobject_cast<QLineEdit*>(
                sheet.PageAt(EOptionPage::General)->ControlOf(params::DefaultOriginator));
            originator->selectAll();
            QTest::keyClicks(originator, QStringLiteral("Changed"));
            sheet.accept();
        });
        QCOMPARE(params::DefaultOriginator.GetText(), std::string("Changed"));
        params::DefaultOriginator.Set("Kept");
        QVERIFY(Snapshot() == before);
    }

    void previewFollowsTheCellSizeAndColours() {
        WithSheet([&](COptionsSheet& sheet) {
            sheet.Tabs()->setCurrentIndex(int(EOptionPage::View));
            ui::COptionsPage* page = sheet.PageAt(EOptionPage::View);
            const QImage before = page->Preview()->grab().toImage();
            auto* pitch = qobject_cast<QSpinBox*>(page->ControlOf(params::GridPitch));
            pitch->selectAll();
            QTest::keyClicks(pitch, QStringLiteral("6"));
            QCOMPARE(page->Preview()->Pitch(), 6);
            const QImage smaller = page->Preview()->grab().toImage();
            QVERIFY(smaller != before);
            page->ControlOf(params::BackgroundColor)->findChildren<QRadioButton*>()[0]->click();  // black
            QCOMPARE(page->Preview()->Colours().background, qRgb(0, 0, 0));
            QVERIFY(page->Preview()->grab().toImage() != smaller);
        });
    }

    void defaultsRestoreEvenWhenCancelled() {
        params::GridPitch.SetInt(7);
        params::UserLibraryName.Set("mine.lfl");
        params::DefaultRule.Set("34/34");
        WithSheet([&](COptionsSheet& sheet) {
            WhenModal<QDialog>([](QDialog* ask) {
                QCOMPARE(qobject_cast<QMessageBox*>(ask)->text(),
                         QStringLiteral("Restore all options to default settings?"));
                qobject_cast<QMessageBox*>(ask)->button(QMessageBox::Yes)->click();
            });
            sheet.RestoreDefaults();
            QCOMPARE(RuleCode(sheet.PageAt(EOptionPage::General)->RuleCombo()->currentData().toULongLong()),
                     ParseRuleText("23/3"));
            sheet.reject();
        });
        QCOMPARE(params::GridPitch.GetInt(), 10);
        QCOMPARE(params::UserLibraryName.GetText(), std::string("userlib.lfl"));
        QCOMPARE(params::DefaultRule.GetText(), std::string("23/3"));
    }
};

static RegisterUiTest<OptionsSheetTest> registered;

}  // namespace tessera::test

#include "options_sheet_test.moc"
