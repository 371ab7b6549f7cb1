#pragma once
// What loading a file asks of the front end: choosing one of several patterns of a file, and showing
// the problems found in it. The desktop dialogs, the batch tool and the tests implement this.
#include <string>
#include <string_view>

#include "foundation/name.h"

namespace tessera {

class CUniverse;

// The universes a "Select Universe" dialog lists, by 1-based index.
class CUniverseCollection {
public:
    virtual ~CUniverseCollection() = default;
    virtual int UniverseCount() const = 0;
    virtual CUniverse* UniverseAt(int index) const = 0;
    virtual std::string NameAt(int index) const = 0;
    // 0 when no universe has that name.
    virtual int IndexOf(const CName& name) const = 0;
};

class CFileDialogs {
public:
    virtual ~CFileDialogs() = default;
    // "Select Universe": the 1-based index of the user's choice, 0 when the user cancels.
    virtual int SelectUniverse(const CUniverseCollection& universes) = 0;
    // "File Error report": the caption line and the report, one line per problem.
    virtual void ShowErrorReport(std::string_view caption, std::string_view report) = 0;
    // The name is already used by another game: true with the other name the user gave, false when
    // the user cancels.
    virtual bool AskForOtherName(CName& name) = 0;
    // The chosen pattern's file named a rule that could not be used (already in the error report);
    // the pattern keeps the rule it had. Front ends that cannot ask a person may treat it as a failure.
    virtual void NoteUnusedRule(std::string_view /*ruleText*/) {}
};

}  // namespace tessera
