#include "patterns/library_commands.h"

#include <filesystem>
#include <sstream>

#include "config/ini_file.h"
#include "config/parameters.h"
#include "formats/xl_collection.h"
#include "foundation/messages.h"
#include "foundation/safe_file.h"
#include "patterns/library_files.h"
#include "patterns/library_front_end.h"
#include "patterns/library_loader.h"
#include "patterns/named_pattern.h"
#include "patterns/pattern_library.h"
#include "patterns/preload_list.h"

#ifndef TESSERA_SOURCE_DATA_DIR
#define TESSERA_SOURCE_DATA_DIR ""
#endif

namespace tessera {
namespace fs = std::filesystem;
namespace {

int Refuse(int messageId, std::string_view argument = {}) {
    LibraryFrontEnd().ShowMessage(FormatMessage(messageId, argument));
    return messageId;
}

bool Exists(const fs::path& file) {
    std::error_code error;
    return fs::is_regular_file(file, error);
}

fs::path ProgramFolder() {
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::current_path(error) : program.parent_path();
}

// Loads library number `number` (system or user) from the file; false when it could not be read.
bool LoadNumberedLibrary(const std::string& file, int32_t number, bool readOnly) {
    CPatternLibrary* library = MakeLibrary(file, number);
    if (!library) return false;
    library->SetReadOnly(readOnly);
    return ReadLibraryFile(*library);
}

}  // namespace

std::string CompleteLibraryName(const std::string& fileName) {
    fs::path path(fileName);
    if (path.extension().empty()) path += ".lfl";
    std::error_code error;
    const fs::path full = fs::absolute(path, error);
    return (error ? path : full).lexically_normal().string();
}

std::string SystemLibraryPath() {
    const fs::path name(params::SystemLibraryName.GetText());
    if (name.empty() || name.is_absolute()) return name.string();
    const fs::path folder = ProgramFolder();
    for (const fs::path& candidate : {folder / name, folder.parent_path() / "share" / "tessera" / name,
                                      fs::path(TESSERA_SOURCE_DATA_DIR) / name}) {
        if (!candidate.parent_path().empty() && Exists(candidate))
            return candidate.lexically_normal().string();
    }
    return (folder / name).string();
}

std::string UserLibraryPath() {
    const fs::path name(params::UserLibraryName.GetText());
    if (name.empty() || name.is_absolute()) return name.string();
    return (ConfigFilePath().parent_path() / name).string();
}

int LoadLibrary(const std::string& fileName, bool readOnly, bool preload, CPatternLibrary** out) {
    const std::string file = CompleteLibraryName(fileName);
    if (FindLibraryByFile(file)) return Refuse(msg::LibraryAlreadyLoaded, file);
    CPatternLibrary* library = NewLibrary(file);
    if (!library) return Refuse(msg::TooManyLibraries);
    library->SetReadOnly(readOnly);
    library->SetPreload(preload);
    ReadLibraryFile(*library);  // a file that cannot be read leaves the library, empty
    if (out) *out = library;
    LibraryFrontEnd().LibrariesChanged();
    return 0;
}

int CreateNewLibrary(const std::string& fileName, CPatternLibrary** out) {
    CPatternLibrary* library = NewLibrary(CompleteLibraryName(fileName));
    if (!library) return Refuse(msg::TooManyLibraries);
    if (out) *out = library;
    LibraryFrontEnd().LibrariesChanged();
    return 0;
}

bool SaveLibrary(CPatternLibrary& library) {
    if (library.FileName().empty()) return true;
    std::ostringstream text;
    if (params::PatternXLifeFormat.GetInt() == 1)
        WriteXLifeLibrary(library, text);
    else
        WriteNativeLibrary(library, text);
    const fs::path file(library.FileName());
    fs::path backup = file;
    backup.replace_extension(".bak");
    std::error_code error;
    if (Exists(file)) {
        fs::remove(backup, error);
        // The backup is the old file itself under a second name, which the replacement below leaves
        // alone; only where the folder cannot hold a second name is it copied.
        const fs::path old = fs::canonical(file, error);
        if (!error) fs::create_hard_link(old, backup, error);
        if (error) fs::copy_file(file, backup, error);
    }
    try {
        WriteFileSafely(file, [&](std::ostream& out) { out << text.str(); });
    } catch (const CFileException& failure) {
        LibraryFrontEnd().ShowMessage(
            WithSystemReason(FormatMessage(msg::CannotSaveLibrary, library.FileName(), library.Description()),
                             failure.SystemError()));
        return false;
    }
    library.SetModified(false);
    for (CNamedPattern* entry : library.Entries()) entry->saved = true;
    return true;
}

bool SaveLibraryAs(CPatternLibrary& library) {
    const std::optional<std::string> chosen =
        LibraryFrontEnd().AskSaveFileName(MessageText(msg::LibraryFileFilter), "lfl", library.FileName());
    if (!chosen) return false;
    library.SetFileName(CompleteLibraryName(*chosen));
    const bool saved = SaveLibrary(library);
    if (library.IsPreload()) WritePreloadList();
    return saved;
}

void SaveAllLibraries() {
    for (CPatternLibrary* library = Libraries().First(); library; library = library->Next())
        if (library->IsModified()) SaveLibrary(*library);
}

bool CloseLibrary(CPatternLibrary& library) {
    CBgLoadPatternLibrary* task = LibraryLoadTask();
    if (task && &task->Library() == &library) {
        CancelLibraryLoading();
        return true;
    }
    if (!library.IsReadOnly() && library.IsModified() &&
        LibraryFrontEnd().AskYesNo(FormatMessage(msg::SaveLibraryPrompt, library.Description())))
        SaveLibrary(library);
    const bool preload = library.IsPreload();
    DestroyLibrary(&library);
    if (preload) WritePreloadList();
    LibraryFrontEnd().LibrariesChanged();
    return true;
}

bool UnloadLibrary(CPatternLibrary& library) {
    if (!LibraryFrontEnd().AskOkCancel(FormatMessage(msg::UnloadLibraryPrompt, library.FileName())))
        return false;
    // A library still being loaded is closed by its cancelled task.
    CBgLoadPatternLibrary* task = LibraryLoadTask();
    if (!task || &task->Library() != &library) {
        // The question about unsaved changes comes before the entries go: asked afterwards it would
        // offer to save the emptied library over its file.
        if (!library.IsReadOnly() && library.IsModified() &&
            LibraryFrontEnd().AskYesNo(FormatMessage(msg::SaveLibraryPrompt, library.Description())))
            SaveLibrary(library);
        for (CNamedPattern* entry : library.Entries()) {
            LibraryFrontEnd().ShowProgress(FormatMessage(msg::UnloadingPattern, entry->Name()));
            delete entry;
        }
        library.SetModified(false);
    }
    return CloseLibrary(library);
}

bool DeletePattern(CNamedPattern& entry) {
    if (params::ConfirmPatternDelete.GetInt() == 1) {
        const std::string description = entry.Library() ? entry.Library()->Description() : std::string();
        if (!LibraryFrontEnd().AskOkCancel(
                FormatMessage(msg::DeletePatternPrompt, entry.FullName(), description)))
            return false;
    }
    delete &entry;
    return true;
}

void LoadStartupLibraries() {
    if (CPatternLibrary* system = FindLibrary(kSystemLibraryNumber)) CloseLibrary(*system);
    if (FindLibrary(kSystemLibraryNumber)) return;  // still loading: the close waits for its task
    if (params::LoadSystemLibrary.GetInt() == 1) {
        const std::string file = SystemLibraryPath();
        if (!LoadNumberedLibrary(file, kSystemLibraryNumber, true)) {
            LibraryFrontEnd().ShowMessage(FormatMessage(msg::SystemLibraryNotLoaded, file));
            DestroyLibrary(FindLibrary(kSystemLibraryNumber));
        }
    }
    if (params::LoadUserLibrary.GetInt() == 1 && !FindLibrary(kUserLibraryNumber)) {
        const std::string file = UserLibraryPath();
        // The user library stays, empty, when its file is missing: the first save creates it.
        if (!LoadNumberedLibrary(file, kUserLibraryNumber, false) && params::SilentLoadUser.GetInt() == 0)
            LibraryFrontEnd().ShowMessage(FormatMessage(msg::UserLibraryNotLoaded, file));
    }
    ReadPreloadList();
    LibraryFrontEnd().LibrariesChanged();
}

void CloseAllLibraries() {
    // The files still waiting are dropped first: cancelling the running task would otherwise hand the
    // next waiting library a task of its own, left behind once that library is destroyed.
    for (CPatternLibrary* library = Libraries().First(); library; library = library->Next())
        library->TakeImported().reset();
    CancelLibraryLoading();
    while (CPatternLibrary* library = Libraries().First()) DestroyLibrary(library);
}

void ApplyLibraryFlags(CPatternLibrary& library, bool readOnly, bool preload) {
    library.SetReadOnly(readOnly);
    library.SetPreload(preload);
    WritePreloadList();
}

}  // namespace tessera
