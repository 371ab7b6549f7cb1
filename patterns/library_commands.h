#pragma once
// The operations on whole libraries that the desktop's commands and the library dialog call: load,
// save (with a ".bak" copy of the old file), save as, save all, close, unload, delete a pattern, and the
// libraries loaded at start-up.
#include <cstdint>
#include <string>

namespace tessera {

class CNamedPattern;
class CPatternLibrary;

// The name with ".lfl" added when it has no extension, as a full path.
std::string CompleteLibraryName(const std::string& fileName);
// Where the system library is looked for: an absolute "SystemLibraryName" as it stands; a relative one
// next to the program, in ../share/tessera beside the program's folder, then in the source tree's data
// folder. The first that exists, else the name next to the program.
std::string SystemLibraryPath();
// A relative "UserLibraryName" lives in the configuration folder.
std::string UserLibraryPath();

// 0 when the library was made and read (library set), else the message shown: 1058 when a library of
// that file is loaded, 2056 when every number is taken.
int LoadLibrary(const std::string& fileName, bool readOnly, bool preload,
                CPatternLibrary** library = nullptr);
// 2056 when every number is taken (the message is shown), else 0 with a new empty library.
int CreateNewLibrary(const std::string& fileName, CPatternLibrary** library = nullptr);
bool SaveLibrary(CPatternLibrary& library);
bool SaveLibraryAs(CPatternLibrary& library);
void SaveAllLibraries();
// Asks to save a modified library that is not read-only, then destroys its entries and the library.
// A library still being loaded is cancelled instead; its loading task closes it.
bool CloseLibrary(CPatternLibrary& library);
// Asks first; false when the user cancels.
bool UnloadLibrary(CPatternLibrary& library);
// Asks first when "ConfirmPatternDelete" is 1; false when the user cancels.
bool DeletePattern(CNamedPattern& entry);
// The system library, the user library and the preload list, as the parameters say.
void LoadStartupLibraries();
// Closes every library without questions (at exit and between tests).
void CloseAllLibraries();
// The library dialog's Apply: sets both flags and rewrites the preload list.
void ApplyLibraryFlags(CPatternLibrary& library, bool readOnly, bool preload);

}  // namespace tessera
