#include "ui/message_sink.h"

#include <QApplication>
#include <new>

#include "foundation/errors.h"
#include "foundation/messages.h"
#include "text/syntax_exception.h"

namespace tessera::ui {
namespace {

CMessageSink& Sink() {
    static CMessageSink sink;
    return sink;
}

}  // namespace

void SetMessageSink(CMessageSink sink) { Sink() = std::move(sink); }

void ShowMessage(QWidget* parent, QMessageBox::Icon icon, const QString& text) {
    if (Sink()) {
        Sink()(icon, text);
        return;
    }
    QMessageBox box(icon, QStringLiteral("Tessera"), text, QMessageBox::Ok, parent);
    box.exec();
}

bool RunGuarded(QWidget* parent, const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (const CMemoryException&) {
        QApplication::restoreOverrideCursor();
        ShowMessage(parent, QMessageBox::Warning, QString::fromUtf8(MessageText(msg::OutOfMemory)));
    } catch (const std::bad_alloc&) {
        QApplication::restoreOverrideCursor();
        ShowMessage(parent, QMessageBox::Warning, QString::fromUtf8(MessageText(msg::OutOfMemory)));
    } catch (const CErrorException& e) {
        QApplication::restoreOverrideCursor();
        ShowMessage(parent, QMessageBox::Warning, QString::fromUtf8(e.what()));
    } catch (const CSyntaxException& e) {
        QApplication::restoreOverrideCursor();
        ShowMessage(
            parent, QMessageBox::Warning,
            QString::fromStdString(FormatMessage(msg::SyntaxErrorAtLine, std::to_string(e.LineNumber()))));
    } catch (const std::exception&) {
        QApplication::restoreOverrideCursor();
        ShowMessage(parent, QMessageBox::Critical, QString::fromUtf8(MessageText(msg::UnexpectedError)));
    }
    return false;
}

}  // namespace tessera::ui
