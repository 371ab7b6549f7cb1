#pragma once
// What the "Create Pattern" and pattern-properties dialogs do on their buttons, for the desktop to call.
#include <string>
#include <string_view>

#include "patterns/pattern_types.h"

namespace tessera {

class CNamedPattern;
class CPatternLibrary;
class CUniverse;

struct CPatternOperationResult {
    int messageId = 0;    // 0 on success
    std::string message;  // the message text, when there is one
    CNamedPattern* entry = nullptr;
};

// The library the "Create Pattern" dialog preselects: the one used last while it is writable, else
// the user library, the system library or the first library that is not read-only.
CPatternLibrary* DefaultTargetLibrary(CPatternLibrary* lastUsed);
// OK of "Create Pattern": 1008 for an invalid name, 1047 for a name taken in the library, else the new
// entry, its pattern made with the default recognisable rule.
[[nodiscard]] CPatternOperationResult CreateNamedPattern(CUniverse& source, std::string_view name,
                                                         CPatternLibrary& library);

// The type, period and velocity fields can be edited while the classified type is unknown, unstable
// or precursor.
bool ArePropertiesEditable(CNamedPattern& entry);
// OK of the properties dialog: 1044 when a field is not a number; else the declared properties, the
// recognisable box (checked: yes) and a cleared saved flag.
CPatternOperationResult ApplyPatternProperties(CNamedPattern& entry, EPatternType type,
                                               std::string_view period, std::string_view velocityX,
                                               std::string_view velocityY, bool recognizable);
// Cancel of the properties dialog: a pattern still unclassified becomes unstable.
void CancelPatternProperties(CNamedPattern& entry);
// Rename: 1008 for an invalid name, 1036 when the name is taken in the entry's library.
CPatternOperationResult RenameFromDialog(CNamedPattern& entry, std::string_view name);

}  // namespace tessera
