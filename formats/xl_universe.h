#pragma once
// The pieces an XLife-family file is read into: named pattern blocks with their pending insertions,
// and the problems found on the way.
#include <cstdint>
#include <memory>
#include <string>

#include "engine/growable_universe.h"
#include "foundation/deque.h"
#include "foundation/name.h"
#include "text/lex_attribute.h"

namespace tessera {

// An "#I" line: another block of the file, or a library pattern, placed into a block.
class CXLInsertion : public CDequeElement<CXLInsertion> {
public:
    std::string libraryName;  // upper case; empty for a block of the same file
    std::string patternName;
    int32_t x = 0;
    int32_t y = 0;
    int transform = 0;  // orientation number 0..7
    int32_t delay = 0;
    int32_t extra = 0;
    int32_t lineNumber = 0;

    // A block of this file, placed as it stands (no delay, no extra).
    bool IsLocal() const { return libraryName.empty() && delay == 0 && extra == 0; }
    std::string DisplayName() const {
        return libraryName.empty() ? patternName : libraryName + ":" + patternName;
    }
};

// One problem of the file; lineNumber 0 when it belongs to no line.
class CXLErrorReport : public CDequeElement<CXLErrorReport> {
public:
    CXLErrorReport(int32_t lineNumber, std::string lineText, std::string message)
        : lineNumber(lineNumber), lineText(std::move(lineText)), message(std::move(message)) {}
    int32_t lineNumber;
    std::string lineText;
    std::string message;
};

// One named pattern block of the file.
class CXLUniverse {
public:
    explicit CXLUniverse(CName name)
        : name(std::move(name)), universe(std::make_unique<CGrowableUniverse>()) {}

    const CName& Key() const { return name; }
    bool HasPendingLocalInsertion() const;

    CName name;
    std::unique_ptr<CGrowableUniverse> universe;
    CTidyDeque<CXLInsertion> insertions;
    CAttributeValueList attributes;
    std::string description;  // lines joined by carriage return and line feed
    std::string originator;
    std::string refusedRule;  // the last rule text of the block that could not be used, if any
};

}  // namespace tessera
