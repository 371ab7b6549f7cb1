// The desktop tests: every QtTest class registered below runs in one program, on the offscreen platform.
#include <QApplication>
#include <QTest>
#include <cstdlib>

#include "ui/ui_fixture.h"

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    int failures = 0;
    for (const auto& make : tessera::test::UiTests()) failures += QTest::qExec(make().get(), argc, argv);
    return failures == 0 ? 0 : 1;
}
