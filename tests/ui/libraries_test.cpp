// The pattern libraries in the desktop: start-up loading in the background with its progress, the
// Patterns menu's library commands through their file dialogs, and the question at shut-down.
#include <QCheckBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <fstream>
#include <functional>

#include "patterns/library_commands.h"
#include "patterns/library_loader.h"
#include "patterns/named_pattern.h"
#include "patterns/pattern.h"
#include "patterns/pattern_library.h"
#include "ui/command_ids.h"
#include "ui/library_desk.h"
#include "ui/modal_answer.h"
#include "ui/ui_fixture.h"
#include "ui/ui_test_registry.h"

namespace tessera::test {

namespace cmd = ui::cmd;

namespace {
// A library file of plain pattern blocks: `count` blinkers in a row, each its own pattern.
std::string BlockLibrary(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "#B blinker" + std::to_string(i) + "\n***\n#E\n";
    return text;
}
}  // namespace

class LibrariesTest : public QObject {
    Q_OBJECT
    std::unique_ptr<CUiFixture> f;

    std::string Write(const std::string& name, const std::string& text) {
        const std::string path = (f->folder / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    static void ChooseFile(const std::string& file, bool readOnly = false) {
        WhenModal<QFileDialog>([file, readOnly](QFileDialog* dialog) {
            if (auto* box = dialog->findChild<QCheckBox*>(QStringLiteral("readOnly")))
                box->setChecked(readOnly);
            dialog->selectFile(QString::fromStdString(file));
            static_cast<QDialog*>(dialog)->accept();
        });
    }
    void Add(CPatternLibrary& library, const std::string& name) {
        auto pattern = CreatePattern(*MakeUniverse(Glider()), ERecognizable::ByDefaultRule);
        QVERIFY(NameNewPattern(pattern, name, &library));
    }

private slots:
    void init() { f = std::make_unique<CUiFixture>(); }
    void cleanup() { f.reset(); }

    void startUpLibrariesLoadInTheBackground() {
        constexpr int kPatterns = 40;
        params::SystemLibraryName.Set(Write("system.lfl", BlockLibrary(kPatterns)));
        const std::string preloaded = Write("kept.lfl", BlockLibrary(3));
        std::ofstream(f->iniPath, std::ios::app) << "[Preload]\nLibrary1=RO*" << preloaded << "\n";
        f->window->Libraries().LoadAtStartup();
        // The window is back before the patterns are made; they arrive slice by slice with progress.
        QVERIFY(LibraryLoadTask() != nullptr);
        CPatternLibrary* system = FindLibrary(kSystemLibraryNumber);
        QVERIFY(system && system->IsReadOnly());
        QVERIFY(system->Entries().size() < size_t(kPatterns));
        QTRY_VERIFY(f->window->statusBar()->currentMessage().startsWith("Loading patterns from"));
        QTRY_VERIFY(LibraryLoadTask() == nullptr);
        QCOMPARE(system->Entries().size(), size_t(kPatterns));
        CPatternLibrary* kept = FindLibrary(1);
        QVERIFY(kept && kept->IsReadOnly() && kept->IsPreload());
        QCOMPARE(kept->Entries().size(), size_t(3));
        QVERIFY(FindLibrary(kUserLibraryNumber));  // no file yet: empty, and no message about it
        QVERIFY(f->messages.empty());
        QCOMPARE(f->window->statusBar()->currentMessage(), QString());
    }

    void menuCommandsAndShutDown() {
        params::LoadSystemLibrary.SetInt(0);
        f->window->Libraries().LoadAtStartup();
        const std::string other = Write("other.lfl", BlockLibrary(2));
        ChooseFile(other, true);
        f->window->RunCommandId(cmd::kLoadLibrary);
        QTRY_VERIFY(LibraryLoadTask() == nullptr);
        CPatternLibrary* loaded = FindLibraryByFile(other);
        QVERIFY(loaded && loaded->IsReadOnly() && !loaded->IsPreload());
        QCOMPARE(loaded->Entries().size(), size_t(2));
        ChooseFile(other);
        f->window->RunCommandId(cmd::kLoadLibrary);
        QCOMPARE(f->messages.back(),
                 QStringLiteral("Pattern library %1 is already loaded").arg(other.c_str()));

        ChooseFile((f->folder / "fresh").string());
        f->window->RunCommandId(cmd::kNewLibrary);
        CPatternLibrary* fresh = FindLibraryByFile((f->folder / "fresh.lfl").string());
        QVERIFY(fresh && fresh->Number() == 2 && fresh->Entries().empty());

        // Save All writes every library with changes, and only those.
        Add(*fresh, "traveller");
        CPatternLibrary* user = FindLibrary(kUserLibraryNumber);
        Add(*user, "mine");
        f->window->RunCommandId(cmd::kSaveLibraries);
        QVERIFY(!fresh->IsModified() && !user->IsModified());
        ApplyLibraryFlags(*loaded, true, true);
        QVERIFY(ReadFile(fresh->FileName()).find("#B traveller") != std::string::npos);
        QVERIFY(ReadFile(user->FileName()).find("#B mine") != std::string::npos);
        QCOMPARE(ReadFile(other), BlockLibrary(2));

        // At shut-down a library with changes is saved when the user says Yes.
        Add(*user, "unsaved");
        const std::string file = user->FileName();
        QString asked;
        WhenModal<QMessageBox>([&asked](QMessageBox* box) {
            asked = box->text();
            box->button(QMessageBox::Yes)->click();
        });
        f->window->close();
        QCOMPARE(asked, QStringLiteral("Save changes to user?"));
        QVERIFY(ReadFile(file).find("#B unsaved") != std::string::npos);
        QVERIFY(f->IniText().find("RO*" + other) != std::string::npos);  // still preloaded
    }
};

static RegisterUiTest<LibrariesTest> registered;

}  // namespace tessera::test

#include "libraries_test.moc"
