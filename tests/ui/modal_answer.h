#pragma once
// Answering the modal dialogs and message boxes that a command opens, as a person would, once they are
// up: the action runs on the dialog from inside its event loop.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace tessera::test {

inline constexpr int kModalPollMs = 10;
inline constexpr int kModalPollTries = 300;

template <class T>
void PollModal(std::function<void(T*)> act, int triesLeft) {
    QWidget* modal = QApplication::activeModalWidget();
    if (T* dialog = qobject_cast<T*>(modal)) {
        act(dialog);
    } else if (triesLeft > 0) {
        QTimer::singleShot(kModalPollMs, [act, triesLeft] { PollModal<T>(act, triesLeft - 1); });
    } else if (modal) {
        modal->close();  // not the dialog expected: the test fails on what follows instead of hanging
    }
}

// Runs act on the next modal widget of type T (within about 3 s).
template <class T>
void WhenModal(std::function<void(T*)> act) {
    QTimer::singleShot(0, [act] { PollModal<T>(act, kModalPollTries); });
}

}  // namespace tessera::test
