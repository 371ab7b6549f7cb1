#include "cli/input_files.h"

#include <filesystem>
#include <iostream>

#include "foundation/input_file.h"
#include "foundation/safe_file.h"
#include "patterns/library_commands.h"

namespace tessera::cli {
namespace fs = std::filesystem;
namespace {

constexpr const char* kStandardInputTitle = "stdin";

}  // namespace

COpenResult OpenPatternFile(const std::string& file, CGameRegistry& games, CFileDialogs& dialogs) {
    if (file == kStandardStreamName) return OpenGameStream(std::cin, kStandardInputTitle, games, dialogs);
    return OpenGameFile(fs::path(file), games, dialogs);
}

std::optional<std::string> LibraryFileProblem(const std::string& name) {
    const std::string file = CompleteLibraryName(name);
    std::error_code error;
    const fs::file_type type = fs::status(file, error).type();
    if (!error && type != fs::file_type::regular && type != fs::file_type::directory)
        return "The file " + file + " is not a regular file";
    try {
        CheckInputFile(file);
    } catch (const CFileException& problem) {
        return problem.what();
    }
    return std::nullopt;
}

}  // namespace tessera::cli
