#pragma once
// The program's own game files: "GAME" ... "ENDGAME" with the population records, the description and
// one block per written generation, each holding its universe as row records ("y,x:n d:n;").
#include <ostream>

#include "foundation/name.h"

namespace tessera {

class CLex;
class CGame;
class CGameRegistry;
class CGrowableUniverse;
class CFileDialogs;
class CUniverse;

// Reads one universe section (optional "MAXROWPOP" and "RULE", row records, "ENDPATTERN") into
// universe. Malformed input throws CSyntaxException; impossible rows CInputLimitException.
void ReadUniverse(CGrowableUniverse& universe, CLex& lex);

// Reads a game from the token after "GAME" to "ENDGAME". The game is made only once everything was
// read, so a malformed file leaves no game behind. None when the user cancels the naming of the game.
CGame* ReadGame(CGameRegistry& games, CLex& lex, CFileDialogs& dialogs);

void WriteUniverse(CUniverse& universe, std::ostream& out);
void WriteGame(CGame& game, std::ostream& out);

// Gives the game the name, asking the user for another one while it is taken; false when the user
// cancels (the game keeps its former name).
bool NameGame(CGame& game, CName name, CFileDialogs& dialogs);

}  // namespace tessera
