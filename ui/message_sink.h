#pragma once
// Where the desktop's messages to the user go: message boxes, or a sink the tests install. Every
// command runs under RunGuarded, which turns an escaping exception into the program's message.
#include <QMessageBox>
#include <QString>
#include <functional>

namespace tessera::ui {

using CMessageSink = std::function<void(QMessageBox::Icon, const QString&)>;

// Replaces where messages go; an empty sink restores message boxes.
void SetMessageSink(CMessageSink sink);
void ShowMessage(QWidget* parent, QMessageBox::Icon icon, const QString& text);

// Runs a command; an exception that escapes it becomes its message (out of memory, the message of a
// CErrorException, a syntax error with its line, anything else as an unexpected error). False when the
// command failed.
bool RunGuarded(QWidget* parent, const std::function<void()>& command);

}  // namespace tessera::ui
