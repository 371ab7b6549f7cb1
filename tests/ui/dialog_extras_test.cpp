// Help buttons open sections that exist; Create Pattern takes the clipboard's chosen pattern, asking once;
// the View page's colours show in the game window until Cancel; "Remove Region from Selection" lets the
// next drag take a rectangle out of the selection.
#include <QClipboard>
#include <QColorDialog>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextBrowser>

#include "patterns/named_pattern.h"
#include "patterns/pattern_library.h"
#include "patterns/recognition.h"
#include "ui/command_ids.h"
#include "ui/help_window.h"
#include "ui/log_slider.h"
#include "ui/modal_answer.h"
#include "ui/options_sheet.h"
#include "ui/pattern_dialogs.h"
#include "ui/repeat_insertion_dialog.h"
#include "ui/select_universe_dialog.h"
#include "ui/ui_fixture.h"
#include "ui/ui_test_registry.h"

namespace tessera::test {

using ui::CCreatePatternDialog;

class DialogExtrasTest : public QObject {
    Q_OBJECT
    std::unique_ptr<CUiFixture> f;

    // Runs the command; its modal dialog of type T gets the action, then is cancelled.
    template <class T>
    void Drive(uint32_t command, const std::function<void(T&)>& action) {
        WhenModal<QDialog>([&](QDialog* dialog) {
            QVERIFY(dynamic_cast<T*>(dialog));
            action(dynamic_cast<T&>(*dialog));
            if (dialog->isVisible()) dialog->reject();
        });
        f->window->RunCommandId(command);
    }
    QPoint At(CLPoint cell) { return f->View().WidgetPointOfCell(cell); }

private slots:
    void init() { f = std::make_unique<CUiFixture>(); }
    void cleanup() {
        delete ui::ExistingHelpWindow();
        f.reset();
    }

    void helpOpensTheSectionOfEachDialog() {
        // The contents list and the window's title follow the page shown.
        const auto check = [](QDialog&& dialog, const QString& page, const QString& section,
                              const QString& title) {
            dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Help)->click();
            QCOMPARE(ui::ExistingHelpWindow()->CurrentPage(), page);
            QListWidgetItem* listed = ui::ExistingHelpWindow()->ContentsList()->currentItem();
            QVERIFY(listed && listed->text() == title &&
                    ui::ExistingHelpWindow()->windowTitle().endsWith(title));
            QCOMPARE(ui::ExistingHelpWindow()->Browser()->source().fragment(), section);
            QFile file(ui::HelpFolder() + QLatin1Char('/') + page);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY(file.readAll().contains(("id=\"" + section + '"').toUtf8()));
        };
        check(ui::CRepeatInsertionDialog({}), "drawing-and-growing.html", "repeat", "Drawing and growing");
        check(CCreatePatternDialog(f->View(), nullptr, nullptr), "libraries-and-census.html", "create",
              "Pattern libraries and the census");
        int page = int(EOptionPage::View);  // where the sheet opens
        check(ui::COptionsSheet(page), "options.html", "view", "Options");
    }

    void createPatternTakesTheClipboardsChosenPatternAskingOnce() {
        InstallRecognition();
        CPatternLibrary* user = MakeLibrary("user.lfl", kUserLibraryNumber);
        QGuiApplication::clipboard()->setText("#N block\n#P 0 0\n**\n**\n#N blinker\n#P 0 0\n***\n");
        int choices = 0;
        Drive<CCreatePatternDialog>(ui::cmd::kCreatePattern, [&](CCreatePatternDialog& create) {
            QVERIFY(!create.IsSourceOffered(CCreatePatternDialog::kWholeUniverse));
            QCOMPARE(create.Source(), CCreatePatternDialog::kClipboard);
            WhenModal<ui::CSelectUniverseDialog>([&](ui::CSelectUniverseDialog* choice) {
                ++choices;
                choice->List()->setCurrentItem(
                    choice->List()->findItems("blinker", Qt::MatchExactly).value(0));
                choice->accept();
            });
            create.NameField()->setText(QStringLiteral("-bad"));
            create.accept();  // refused: the name is asked for again, the choice is kept
            create.NameField()->setText(QStringLiteral("Pole"));
            WhenModal<QDialog>([](QDialog* properties) { properties->accept(); });
            create.accept();
        });
        QCOMPARE(choices, 1);
        CNamedPattern* pole = FindNamedPattern("Pole", user);
        QVERIFY(pole && pole->Pattern().Base().Population() == 3);
        DestroyLibrary(user);
        ResetRecognition();
    }

    void viewColoursShowInTheWindowUntilCancel() {
        f->Place({{2, 2}});
        const QRgb dead = f->PixelOfCell({5, 4});
        const QColor green(10, 200, 30);
        Drive<ui::COptionsSheet>(ui::cmd::kOptions, [&](ui::COptionsSheet& sheet) {
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

    void speedAndScrollMoveThePagePreviews() {
        Drive<ui::COptionsSheet>(ui::cmd::kOptions, [&](ui::COptionsSheet& sheet) {
            for (auto [page, param] :
                 {std::pair<EOptionPage, CParam*>{EOptionPage::General, &params::MinGrowSpeed},
                  {EOptionPage::View, &params::AutoScrollMinRate}}) {
                sheet.Tabs()->setCurrentIndex(int(page));
                ui::COptionsPreview* preview = sheet.PageAt(page)->Preview();
                const QImage still = preview->grab().toImage();
                QTest::qWait(100);
                QCOMPARE(preview->grab().toImage(), still);
                QTest::keyClick(sheet.PageAt(page)->ControlOf(*param)->template findChild<ui::CLogSlider*>(),
                                Qt::Key_End);
                QTRY_VERIFY(preview->grab().toImage() != still);
            }
        });
    }

    void removeRegionTakesTheNextDragOutOfTheSelection() {
        params::RightClickPopup.SetInt(1);
        f->View().Geometry().SetScale(8, CLPoint{10, 10});
        f->Place({{2, 2}, {3, 3}, {10, 3}, {11, 3}});
        f->View().SelectAll();
        QTimer::singleShot(50, [] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            for (QAction* action : menu ? menu->actions() : QList<QAction*>{})
                if (action->text() == QStringLiteral("Remove Region from Selection")) action->trigger();
            if (menu) menu->close();
        });
        QContextMenuEvent menu(QContextMenuEvent::Mouse, At({11, 3}),
                               f->View().viewport()->mapToGlobal(At({11, 3})));
        QApplication::sendEvent(f->View().viewport(), &menu);
        QTest::mousePress(f->View().viewport(), Qt::LeftButton, {}, At({9, 0}));
        QTest::mouseMove(f->View().viewport(), At({14, 6}));
        QTest::mouseRelease(f->View().viewport(), Qt::LeftButton, {}, At({14, 6}));
        QCOMPARE(f->View().SelectionRect(), (CLRect{2, 4, 2, 4}));
    }
};

static RegisterUiTest<DialogExtrasTest> registered;

}  // namespace tessera::test

#include "dialog_extras_test.moc"
