// The dialogs' checks: bad values refused with their message and nothing stored; good values stored.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "ui/dialogs.h"
#include "ui/ui_fixture.h"
#include "ui/ui_test_registry.h"

namespace tessera::test {

class DialogsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<CUiFixture> f;

private slots:
    void init() { f = std::make_unique<CUiFixture>(); }
    void cleanup() { f.reset(); }

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

static RegisterUiTest<DialogsTest> registered;

}  // namespace tessera::test

#include "dialogs_test.moc"
