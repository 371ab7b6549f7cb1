// Automatic stop from the desktop: the menu command turns it on and off for the game being grown, and a
// repeat is reported with its generation numbers filled in.
#include <QTest>

#include "ui/command_ids.h"
#include "ui/ui_fixture.h"
#include "ui/ui_test_registry.h"

namespace tessera::test {

namespace cmd = ui::cmd;

class AutostopCommandTest : public QObject {
    Q_OBJECT
    std::unique_ptr<CUiFixture> f;

private slots:
    void init() { f = std::make_unique<CUiFixture>(); }
    void cleanup() { f.reset(); }

    void turnedOnMidwayTheRepeatIsReportedWithItsGenerations() {
        f->Place(CellsFromPicture("***"));
        for (int i = 0; i < 3; ++i) f->window->RunCommandId(cmd::kNext);
        f->window->RunCommandId(cmd::kAutostop);
        QCOMPARE(params::AutoStopGrow.GetInt(), 1);
        for (int i = 0; i < 10 && f->messages.empty(); ++i) {
            f->window->RunCommandId(cmd::kNext);
            CUiFixture::Pump(1);
        }
        QCOMPARE(f->messages.size(), size_t(1));
        QCOMPARE(f->messages.front(), QStringLiteral("Generation 5 is the same as generation 3."));
        QCOMPARE(f->Game().Generation(), 7);
        f->window->RunCommandId(cmd::kAutostop);
        QCOMPARE(params::AutoStopGrow.GetInt(), 0);
    }
};

static RegisterUiTest<AutostopCommandTest> registered;

}  // namespace tessera::test

#include "autostop_command_test.moc"
