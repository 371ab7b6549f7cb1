// The options sheet: every control loads and stores its parameter, Cancel and unshown pages store nothing,
// Defaults, previews, colours in the window; the file-type association it installs and removes.
#include <QCheckBox>
#include <QColorDialog>
#include <QProcess>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTabWidget>
#include <fstream>
#include <map>
#include <random>
#include <set>

#include "config/option_descriptors.h"
#include "rules/rule_notation.h"
#include "rules/rule_registry.h"
#include "rules/rules.h"
#include "ui/file_types.h"
#include "ui/log_slider.h"
#include "ui/options_sheet.h"
#include "ui/rules_dialog.h"
#include "ui/ui_fixture.h"

namespace tessera::test {
namespace {

namespace fs = std::filesystem;
using ui::COptionsSheet;

// The user's own files, which registering and unregistering must leave alone.
const std::map<std::string, std::string> kUserFiles = {
    {"applications/notes.desktop",
     "[Desktop Entry]\nType=Application\nName=Notes\nExec=notes %f\nMimeType=text/x-notes-test;\n"},
    {"mime/packages/notes.xml",
     "<?xml version=\"1.0\"?>\n<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
     "<mime-type type=\"text/x-notes-test\"><comment>Notes</comment><glob pattern=\"*.notes\"/></mime-type>\n"
     "</mime-info>\n"},
};
const char* const kOurFiles[] = {"applications/tessera.desktop", "mime/packages/tessera.xml",
                                 "icons/hicolor/scalable/apps/tessera.svg"};

}  // namespace

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
        f->Drive<COptionsSheet>(ui::cmd::kOptions, action);
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
                const std::string text = "name" + std::to_string(rng() % 1000);
                CUiFixture::Type(qobject_cast<QLineEdit*>(control), QString::fromStdString(text));
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
            WhenModal<QDialog>([](QDialog* dialog) {  // "New...": a rule defined in the rules dialog
                dynamic_cast<ui::CRulesDialog&>(*dialog).BirthBox(8)->click();
                dialog->accept();
            });
            CUiFixture::ClickButton(*sheet.PageAt(EOptionPage::General), QStringLiteral("&New..."));
            QComboBox* rules = sheet.PageAt(EOptionPage::General)->RuleCombo();
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
            QWidget* originator = sheet.PageAt(EOptionPage::General)->ControlOf(params::DefaultOriginator);
            CUiFixture::Type(qobject_cast<QLineEdit*>(originator), QStringLiteral("Changed"));
            sheet.accept();
        });
        QCOMPARE(params::DefaultOriginator.GetText(), std::string("Changed"));
        params::DefaultOriginator.Set("Kept");
        QVERIFY(Snapshot() == before);
    }

    void previewsFollowTheirControls() {
        const std::set<const CParam*> previewed = {&params::MinGrowSpeed, &params::GridPitch,
                                                   &params::BackgroundColor, &params::AutoScrollMinRate};
        std::mt19937 rng(3);
        WithSheet([&](COptionsSheet& sheet) {
            for (const COptionDescriptor& option : OptionDescriptors()) {
                if (!previewed.count(option.param)) continue;
                sheet.Tabs()->setCurrentIndex(int(option.page));
                ui::COptionsPreview* preview = sheet.PageAt(option.page)->Preview();
                const QImage before = preview->grab().toImage();
                QTest::qWait(100);  // nothing moves until a control changes
                QCOMPARE(preview->grab().toImage(), before);
                Change(sheet, option, rng);
                QTRY_VERIFY(preview->grab().toImage() != before);
            }
        });
    }

    void viewColoursShowInTheWindowUntilCancel() {
        f->Place({{2, 2}});
        const QRgb dead = f->PixelOfCell({5, 4});
        const QColor green(10, 200, 30);
        WithSheet([&](COptionsSheet& sheet) {
            sheet.Tabs()->setCurrentIndex(int(EOptionPage::View));
            ui::COptionsPage& page = *sheet.PageAt(EOptionPage::View);
            WhenModal<QColorDialog>([&](QColorDialog* colours) {
                colours->setCurrentColor(green);
                colours->accept();
            });
            page.ControlOf(params::AliveColor)->findChild<QPushButton*>()->click();
            sheet.Apply();
            page.ControlOf(params::BackgroundColor)->findChildren<QRadioButton*>()[0]->click();  // black
            QCOMPARE(f->PixelOfCell({5, 4}), 0u);
        });
        // Cancel took back the background; the colour that Apply stored stays.
        QCOMPARE(f->PixelOfCell({5, 4}), dead);
        QCOMPARE(f->PixelOfCell({2, 2}), green.rgb() & 0xFFFFFF);
    }

    void defaultsRestoreEvenWhenCancelled() {
        params::GridPitch.SetInt(7);
        params::UserLibraryName.Set("mine.lfl");
        params::DefaultRule.Set("34/34");
        WithSheet([&](COptionsSheet& sheet) {
            const auto asked = CUiFixture::AnswerNext(QMessageBox::Yes);
            sheet.RestoreDefaults();
            QCOMPARE(*asked, QStringLiteral("Restore all options to default settings?"));
            QCOMPARE(RuleCode(sheet.PageAt(EOptionPage::General)->RuleCombo()->currentData().toULongLong()),
                     ParseRuleText("23/3"));
            sheet.reject();
        });
        QCOMPARE(params::GridPitch.GetInt(), 10);
        QCOMPARE(params::UserLibraryName.GetText(), std::string("userlib.lfl"));
        QCOMPARE(params::DefaultRule.GetText(), std::string("23/3"));
    }

    void fileTypesAreInstalledAndOnlyTheyRemoved() {
        const auto path = [&](const std::string& name) { return (f->folder / name).string(); };
        const auto write = [&](const std::string& name, const std::string& text) {
            fs::create_directories(fs::path(path(name)).parent_path());
            std::ofstream(path(name)) << text;
        };
        for (const auto& [name, content] : kUserFiles) write(name, content);
        QString problem;
        QVERIFY2(ui::RegisterFileTypes(true, &problem), qPrintable(problem));
        const std::string entry = ReadFile(path(kOurFiles[0]));
        QVERIFY(entry.find("Exec=" + QCoreApplication::applicationFilePath().toStdString() + " %f\n") !=
                std::string::npos);
        QVERIFY(ReadFile(path(kOurFiles[1])).find("*.rle") != std::string::npos);
        const bool mimeTool = !QStandardPaths::findExecutable("update-mime-database").isEmpty();
        if (mimeTool) QVERIFY(fs::exists(path("mime/application/x-tessera-rle.xml")));
        if (const QString validate = QStandardPaths::findExecutable("desktop-file-validate");
            !validate.isEmpty()) {
            QProcess check;
            check.setProcessChannelMode(QProcess::MergedChannels);
            check.start(validate, {QString::fromStdString(path(kOurFiles[0]))});
            QVERIFY(check.waitForFinished());
            QCOMPARE(QString::fromUtf8(check.readAll()), QString());
            QCOMPARE(check.exitCode(), 0);
        }

        QVERIFY2(ui::RegisterFileTypes(false, &problem), qPrintable(problem));
        for (const char* gone : kOurFiles) QVERIFY2(!fs::exists(path(gone)), gone);
        if (mimeTool) {
            QVERIFY(!fs::exists(path("mime/application/x-tessera-rle.xml")));
            QVERIFY(fs::exists(path("mime/text/x-notes-test.xml")));
        }
        for (const auto& [name, content] : kUserFiles) QCOMPARE(ReadFile(path(name)), content);

        // A desktop entry of the same name that the user wrote is not this program's to remove.
        const std::string own = "[Desktop Entry]\nType=Application\nName=My Tessera\nExec=/opt/tessera %f\n";
        write(kOurFiles[0], own);
        QVERIFY(ui::RegisterFileTypes(false, &problem));
        QCOMPARE(ReadFile(path(kOurFiles[0])), own);

        // A data folder that cannot be written is reported.
        write("not-a-folder", "x");
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(path("not-a-folder")));
        QVERIFY(!ui::RegisterFileTypes(true, &problem));
        QVERIFY2(problem.contains("not-a-folder"), qPrintable(problem));
        QCOMPARE(ReadFile(path("not-a-folder")), std::string("x"));
    }
};

static RegisterUiTest<OptionsSheetTest> registered;

}  // namespace tessera::test

#include "options_sheet_test.moc"
