#pragma once
// Driving modal dialogs from a test: the action runs on the next modal dialog once its event loop is
// running, as a person would act on it.
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>

namespace tessera::test {

inline void OnNextModal(std::function<void(QDialog&)> action) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        action(*dialog);
    });
    poll->start();
}

}  // namespace tessera::test
