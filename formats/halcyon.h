#pragma once
// Halcyon bitmap files (".hcf"): a binary picture of a pattern, converted into RLE text that the
// XLife-family reader then loads like any RLE file.
#include <filesystem>
#include <ostream>
#include <string_view>

namespace tessera {

// Writes the RLE text of the file's pattern to text. Answers 0, or the number of the message to show
// (nothing is written then): 1013 the file cannot be read, 1106 rows too long, 1107 length does not
// match the header.
int ImportHalcyon(const std::filesystem::path& fileName, std::ostream& text);

// The same for the bytes of a whole file.
int ImportHalcyonBytes(std::string_view bytes, std::ostream& text);

// True for a file name whose extension is ".hcf" in any case.
bool IsHalcyonFileName(const std::filesystem::path& fileName);

}  // namespace tessera
