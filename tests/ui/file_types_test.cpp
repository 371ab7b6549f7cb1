// The user's file-type association: installed into and removed from a private data folder, leaving
// everything else there as it was; the desktop's own tools accept what is written.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <map>

#include "ui/file_types.h"
#include "ui/ui_test_registry.h"

namespace tessera::test {
namespace {

void WriteFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The user's own files, which registering and unregistering must leave alone.
const std::map<QString, QByteArray> kUserFiles = {
    {"applications/notes.desktop",
     "[Desktop Entry]\nType=Application\nName=Notes\nExec=notes %f\nMimeType=text/x-notes-test;\n"},
    {"mime/packages/notes.xml",
     "<?xml version=\"1.0\"?>\n<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
     "<mime-type type=\"text/x-notes-test\"><comment>Notes</comment><glob pattern=\"*.notes\"/></mime-type>\n"
     "</mime-info>\n"},
    {"diary.txt", "Tuesday.\n"},
};

}  // namespace

class FileTypesTest : public QObject {
    Q_OBJECT
    QTemporaryDir folder_;
    QString Path(const char* name) const { return folder_.filePath(QLatin1String(name)); }

private slots:
    void init() {
        QVERIFY(folder_.isValid());
        qputenv("XDG_DATA_HOME", folder_.path().toUtf8());
    }
    void cleanup() { qunsetenv("XDG_DATA_HOME"); }

    void installWritesTheAssociationAndRemoveTakesOnlyIt() {
        for (const auto& [name, content] : kUserFiles) WriteFile(folder_.filePath(name), content);
        QString problem;
        QVERIFY2(ui::RegisterFileTypes(true, &problem), qPrintable(problem));
        QVERIFY2(ui::RegisterFileTypes(true, &problem), qPrintable(problem));  // again: no harm
        const QByteArray entry = ReadFile(Path("applications/tessera.desktop"));
        QVERIFY(entry.contains("Exec=" + QCoreApplication::applicationFilePath().toUtf8() + " %f\n"));
        QVERIFY(entry.contains("MimeType=application/x-tessera-xlife;"));
        QVERIFY(ReadFile(Path("mime/packages/tessera.xml")).contains("*.rle"));
        QVERIFY(ReadFile(Path("icons/hicolor/scalable/apps/tessera.svg")).contains("<svg"));
        const bool mimeTool = !QStandardPaths::findExecutable("update-mime-database").isEmpty();
        if (mimeTool) QVERIFY(QFile::exists(Path("mime/application/x-tessera-rle.xml")));
        if (const QString validate = QStandardPaths::findExecutable("desktop-file-validate");
            !validate.isEmpty()) {
            QProcess check;
            check.setProcessChannelMode(QProcess::MergedChannels);
            check.start(validate, {Path("applications/tessera.desktop")});
            QVERIFY(check.waitForFinished());
            QCOMPARE(QString::fromUtf8(check.readAll()), QString());
            QCOMPARE(check.exitCode(), 0);
        }

        QVERIFY2(ui::RegisterFileTypes(false, &problem), qPrintable(problem));
        for (const char* gone : {"applications/tessera.desktop", "mime/packages/tessera.xml",
                                 "icons/hicolor/scalable/apps/tessera.svg"})
            QVERIFY2(!QFile::exists(Path(gone)), gone);
        if (mimeTool) {
            QVERIFY(!QFile::exists(Path("mime/application/x-tessera-rle.xml")));
            QVERIFY(QFile::exists(Path("mime/text/x-notes-test.xml")));
        }
        for (const auto& [name, content] : kUserFiles) QCOMPARE(ReadFile(folder_.filePath(name)), content);

        // A desktop entry of the same name that the user wrote is not this program's to remove.
        const QByteArray own = "[Desktop Entry]\nType=Application\nName=My Tessera\nExec=/opt/tessera %f\n";
        WriteFile(Path("applications/tessera.desktop"), own);
        QVERIFY(ui::RegisterFileTypes(false, &problem));
        QCOMPARE(ReadFile(Path("applications/tessera.desktop")), own);
    }

    void aDataFolderThatCannotBeWrittenIsReported() {
        WriteFile(Path("not-a-folder"), "x");
        qputenv("XDG_DATA_HOME", Path("not-a-folder").toUtf8());
        QString problem;
        QVERIFY(!ui::RegisterFileTypes(true, &problem));
        QVERIFY2(problem.contains("not-a-folder"), qPrintable(problem));
        QCOMPARE(ReadFile(Path("not-a-folder")), QByteArray("x"));
    }
};

static RegisterUiTest<FileTypesTest> registered;

}  // namespace tessera::test

#include "file_types_test.moc"
