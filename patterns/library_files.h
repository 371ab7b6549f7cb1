#pragma once
// The two forms of a library file. The native form: "LIBRARY", its times and one block per pattern
// ("PATTERN", properties, the cells as a game-format pattern body), "ENDLIBRARY". The XLife form: an
// XLife file of "#B" blocks whose properties ride on attribute lines.
#include <filesystem>
#include <ostream>

namespace tessera {

class CLex;
class CPatternLibrary;

void WriteNativeLibrary(CPatternLibrary& library, std::ostream& out);
void WriteXLifeLibrary(CPatternLibrary& library, std::ostream& out);

// Reads the native form from the "LIBRARY" token on, synchronously. A syntax error ends the reading
// with message 1050: the library becomes read-only and keeps the patterns read before the error.
void ReadNativeLibrary(CPatternLibrary& library, CLex& lex);

// Opens and reads the library's file: the native form at once, the XLife form parsed now and turned
// into patterns by the background load task. False when the file cannot be opened.
bool ReadLibraryFile(CPatternLibrary& library);

}  // namespace tessera
