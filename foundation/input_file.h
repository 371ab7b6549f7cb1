#pragma once
// Opening a file for reading with a reason when it cannot be: a missing file, a folder, a dangling or
// looping link, a file without read permission each give a message that names the file and says what
// the system found ("No such file or directory").
#include <filesystem>
#include <fstream>

namespace tessera {

// Opens the stream on the file; throws CFileException (msg::FileNotOpened) when it cannot be read.
void OpenInputFile(std::ifstream& stream, const std::filesystem::path& file,
                   std::ios::openmode mode = std::ios::in);
// Throws as OpenInputFile does when the file cannot be read, for a reader that opens the file itself.
void CheckInputFile(const std::filesystem::path& file);

}  // namespace tessera
