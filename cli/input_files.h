#pragma once
// The files a batch command reads: a pattern FILE, which "-" names standard input (the same name as an
// output file stands for standard output), and library files, checked before they are loaded so that
// one that cannot be read is named with the system's reason.
#include <optional>
#include <string>

#include "formats/game_file.h"

namespace tessera::cli {

inline constexpr const char* kStandardStreamName = "-";

// Opens the file as the Open command does; "-" reads standard input, naming the pattern "stdin" when
// the text gives it no name. A file that cannot be read is a message of the result, with its reason.
COpenResult OpenPatternFile(const std::string& file, CGameRegistry& games, CFileDialogs& dialogs);

// Why the library file of that name (".lfl" added when it has no extension) cannot be read, naming
// it; none when it can. A pipe or a device is refused too: loading would open it a second time.
std::optional<std::string> LibraryFileProblem(const std::string& name);

}  // namespace tessera::cli
