#pragma once
// Reading a whole XLife-family input: the universes, their insertions resolved, the empty ones dropped.
#include <memory>
#include <string>
#include <string_view>

#include "formats/xl_collection.h"

namespace tessera {

class CLex;

// Reads the input; the data outside named blocks goes to a universe named title. fileName names the
// input in the error report. Lexer syntax errors and CInputLimitException pass to the caller.
[[nodiscard]] std::unique_ptr<CXLUniverseCollection> ReadXLife(CLex& lex, std::string_view title,
                                                               std::string fileName);

// One pattern read from an XLife-family input (a file, the clipboard).
struct CXLPattern {
    std::unique_ptr<CGrowableUniverse> universe;  // none when the input had none or the user chose none
    CName name;
    std::string description;
    std::string originator;
    std::string errorCaption;  // "File ... contains the following errors:"
    std::string errorReport;   // empty without problems
};

// ReadXLife, then the user's choice among several universes. The error report is shown through the
// dialogs and also returned.
CXLPattern ReadXLifePattern(CLex& lex, std::string_view title, std::string fileName, CFileDialogs& dialogs);

}  // namespace tessera
