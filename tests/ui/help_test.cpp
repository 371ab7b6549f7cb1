// The help window: opened from the menus and the dialogs' Help buttons, its search, and its links.
#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>

#include "ui/command_ids.h"
#include "ui/dialogs.h"
#include "ui/help_window.h"
#include "ui/ui_fixture.h"
#include "ui/ui_test_registry.h"

namespace tessera::test {

class HelpTest : public QObject {
    Q_OBJECT
    std::unique_ptr<CUiFixture> f;

    static ui::CHelpWindow& Help() { return *ui::ExistingHelpWindow(); }

private slots:
    void init() { f = std::make_unique<CUiFixture>(); }
    void cleanup() {
        delete ui::ExistingHelpWindow();
        f.reset();
    }

    void menusOpenTheContentsAndGettingStarted() {
        f->window->RunCommandId(ui::cmd::kHelpIndex);
        QVERIFY(ui::ExistingHelpWindow());
        QCOMPARE(Help().CurrentPage(), QStringLiteral("index.html"));
        f->window->RunCommandId(ui::cmd::kGettingStarted);
        QCOMPARE(Help().CurrentPage(), QStringLiteral("getting-started.html"));
        QVERIFY(Help().Browser()->toPlainText().contains("When Tessera starts"));
    }

    void searchFindsPagesHoldingEveryWord() {
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
    }

    void followingALinkAndGoingBack() {
        ui::OpenHelp({});
        QTextBrowser* browser = Help().Browser();
        const QTextCursor link = browser->document()->find(QStringLiteral("Rules and neighbourhoods"));
        QVERIFY(!link.isNull());
        QTextCursor inside(link);
        inside.setPosition(link.selectionStart() + 2);
        const QPoint at = browser->cursorRect(inside).center();
        QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(Help().CurrentPage(), QStringLiteral("rules.html"));
        browser->backward();
        QCOMPARE(Help().CurrentPage(), QStringLiteral("index.html"));
    }

    void dialogHelpButtonsOpenTheirPage() {
        ui::CGotoMemory memory;
        ui::CGotoDialog dialog(memory, f->Game());
        QPushButton* help = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Help);
        QVERIFY(help && help->isEnabled());
        help->click();
        QCOMPARE(Help().CurrentPage(), QStringLiteral("games-and-generations.html"));
        QCOMPARE(Help().Browser()->source().fragment(), QStringLiteral("going-back"));
    }
};

static RegisterUiTest<HelpTest> registered;

}  // namespace tessera::test

#include "help_test.moc"
