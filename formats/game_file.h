#pragma once
// Loading and saving games as files: the format is recognised by itself (Halcyon by the extension,
// "GAME" at the start for the game format, anything else the XLife family), and saving writes the XLife
// form or the game format as "WriteXLifeFormat" says.
#include <filesystem>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

namespace tessera {

class CLex;
class CGame;
class CGameRegistry;
class CFileDialogs;
class CXLUniverse;
class CXLUniverseCollection;

// A new game from the lexer: the game format when the current token is "GAME", else the XLife reader
// (title names its top-level universe, fileName the error report). None when the input holds no
// pattern or the user cancelled a choice. CSyntaxException and CInputLimitException pass through; no
// game is left behind then.
CGame* ReadGameFile(CLex& lex, std::string_view title, std::string fileName, CGameRegistry& games,
                    CFileDialogs& dialogs);

// A new game from the chosen universe of an XLife-family file: its cells and rule, description,
// originator and attribute values (values no attribute takes go to the collection's error report),
// named after the universe. None when the user cancels the naming.
CGame* MakeGame(CGameRegistry& games, CXLUniverse& chosen, CXLUniverseCollection& collection,
                CFileDialogs& dialogs);

// The XLife form of the game's current generation, with its originator and description.
void WriteXLifeGame(CGame& game, std::ostream& out);
// The form "WriteXLifeFormat" asks for: XLife when it is 1, else the game format.
void SaveGame(CGame& game, std::ostream& out);
// Replaces the file safely (foundation/safe_file.h) and records the file name in the game. A failure
// throws CFileException and leaves the old file as it was.
void SaveGameToFile(CGame& game, const std::filesystem::path& fileName);

struct COpenResult {
    CGame* game = nullptr;         // none when nothing was loaded
    int messageId = 0;             // the message to show when loading failed (0 for none)
    std::string message;           // its text
    bool showDescription = false;  // "ShowDescriptions" is on and the game has a description
};

// The "Load file" command's work. The loaded game is named after the file's title when the file gave
// it no name. Problems of XLife-family files are shown through the dialogs' error report.
COpenResult OpenGameFile(const std::filesystem::path& fileName, CGameRegistry& games, CFileDialogs& dialogs);

// The same for text read from a stream (standard input): the game is named title when the text gives
// it no name, and no file name is recorded.
COpenResult OpenGameStream(std::istream& in, std::string_view title, CGameRegistry& games,
                           CFileDialogs& dialogs);

}  // namespace tessera
