// The user's file-type association: installed into and removed from a private data folder, leaving
// everything else there as it was; the desktop's own tools accept what is written.
#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <filesystem>
#include <map>

#include "support/temp_folder.h"
#include "ui/file_types.h"
#include "ui/ui_test_registry.h"

namespace tessera::test {
namespace {

namespace fs = std::filesystem;

// The user's own files, which registering and unregistering must leave alone.
const std::map<std::string, std::string> kUserFiles = {
    {"applications/notes.desktop",
     "[Desktop Entry]\nType=Application\nName=Notes\nExec=notes %f\nMimeType=text/x-notes-test;\n"},
    {"mime/packages/notes.xml",
     "<?xml version=\"1.0\"?>\n<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
     "<mime-type type=\"text/x-notes-test\"><comment>Notes</comment><glob pattern=\"*.notes\"/></mime-type>\n"
     "</mime-info>\n"},
    {"diary.txt", "Tuesday.\n"},
};
const char* const kOurFiles[] = {"applications/tessera.desktop", "mime/packages/tessera.xml",
                                 "icons/hicolor/scalable/apps/tessera.svg"};

}  // namespace

class FileTypesTest : public QObject {
    Q_OBJECT
    std::unique_ptr<CTempFolder> folder_;
    std::string Path(const std::string& name) const { return folder_->PathOf(name); }
    void Write(const std::string& name, const std::string& text) const {
        fs::create_directories(fs::path(Path(name)).parent_path());
        folder_->Write(name, text);
    }

private slots:
    void init() {
        folder_ = std::make_unique<CTempFolder>();
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(folder_->Path().string()));
    }
    void cleanup() {
        qunsetenv("XDG_DATA_HOME");
        folder_.reset();
    }

    void installWritesTheAssociationAndRemoveTakesOnlyIt() {
        for (const auto& [name, content] : kUserFiles) Write(name, content);
        QString problem;
        QVERIFY2(ui::RegisterFileTypes(true, &problem), qPrintable(problem));
        const std::string entry = ReadFile(Path(kOurFiles[0]));
        QVERIFY(entry.find("Exec=" + QCoreApplication::applicationFilePath().toStdString() + " %f\n") !=
                std::string::npos);
        QVERIFY(ReadFile(Path(kOurFiles[1])).find("*.rle") != std::string::npos);
        const bool mimeTool = !QStandardPaths::findExecutable("update-mime-database").isEmpty();
        if (mimeTool) QVERIFY(fs::exists(Path("mime/application/x-tessera-rle.xml")));
        if (const QString validate = QStandardPaths::findExecutable("desktop-file-validate");
            !validate.isEmpty()) {
            QProcess check;
            check.setProcessChannelMode(QProcess::MergedChannels);
            check.start(validate, {QString::fromStdString(Path(kOurFiles[0]))});
            QVERIFY(check.waitForFinished());
            QCOMPARE(QString::fromUtf8(check.readAll()), QString());
            QCOMPARE(check.exitCode(), 0);
        }

        QVERIFY2(ui::RegisterFileTypes(false, &problem), qPrintable(problem));
        for (const char* gone : kOurFiles) QVERIFY2(!fs::exists(Path(gone)), gone);
        if (mimeTool) {
            QVERIFY(!fs::exists(Path("mime/application/x-tessera-rle.xml")));
            QVERIFY(fs::exists(Path("mime/text/x-notes-test.xml")));
        }
        for (const auto& [name, content] : kUserFiles) QCOMPARE(ReadFile(Path(name)), content);

        // A desktop entry of the same name that the user wrote is not this program's to remove.
        const std::string own = "[Desktop Entry]\nType=Application\nName=My Tessera\nExec=/opt/tessera %f\n";
        Write(kOurFiles[0], own);
        QVERIFY(ui::RegisterFileTypes(false, &problem));
        QCOMPARE(ReadFile(Path(kOurFiles[0])), own);
    }

    void aDataFolderThatCannotBeWrittenIsReported() {
        Write("not-a-folder", "x");
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(Path("not-a-folder")));
        QString problem;
        QVERIFY(!ui::RegisterFileTypes(true, &problem));
        QVERIFY2(problem.contains("not-a-folder"), qPrintable(problem));
        QCOMPARE(ReadFile(Path("not-a-folder")), std::string("x"));
    }
};

static RegisterUiTest<FileTypesTest> registered;

}  // namespace tessera::test

#include "file_types_test.moc"
