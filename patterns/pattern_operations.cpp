#include "patterns/pattern_operations.h"

#include <charconv>
#include <memory>

#include "foundation/messages.h"
#include "patterns/named_pattern.h"
#include "patterns/pattern.h"
#include "patterns/pattern_library.h"

namespace tessera {
namespace {

CPatternOperationResult Failure(int messageId, std::string_view arg1 = {}, std::string_view arg2 = {}) {
    return {messageId, FormatMessage(messageId, arg1, arg2), nullptr};
}

// An empty field counts as 0 when emptyIsZero; anything but an optional sign and digits fails.
bool ReadField(std::string_view text, bool emptyIsZero, int32_t& value) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (text.empty()) {
        value = 0;
        return emptyIsZero;
    }
    if (text.front() == '+') text.remove_prefix(1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

CPatternLibrary* DefaultTargetLibrary(CPatternLibrary* lastUsed) {
    for (CPatternLibrary* l = Libraries().First(); l; l = l->Next())
        if (l == lastUsed && !l->IsReadOnly()) return l;
    for (const int32_t number : {kUserLibraryNumber, kSystemLibraryNumber}) {
        CPatternLibrary* library = FindLibrary(number);
        if (library && !library->IsReadOnly()) return library;
    }
    for (CPatternLibrary* l = Libraries().First(); l; l = l->Next())
        if (!l->IsReadOnly()) return l;
    return nullptr;
}

CPatternOperationResult CreateNamedPattern(CUniverse& source, std::string_view name,
                                           CPatternLibrary& library) {
    if (!IsValidName(name)) return Failure(msg::InvalidName);
    if (CNamedPattern* present = FindNamedPattern(name, &library))
        return Failure(msg::PatternNameTaken, present->FullName(), library.Description());
    auto pattern = CreatePattern(source, ERecognizable::ByDefaultRule);
    CPatternOperationResult result;
    result.entry = NameNewPattern(pattern, name, &library);
    library.SetModified();
    return result;
}

bool ArePropertiesEditable(CNamedPattern& entry) {
    const EPatternType type = entry.Pattern().ClassifiedType();
    return type == EPatternType::Unknown || type == EPatternType::Unstable || type == EPatternType::Precursor;
}

CPatternOperationResult ApplyPatternProperties(CNamedPattern& entry, EPatternType type,
                                               std::string_view period, std::string_view velocityX,
                                               std::string_view velocityY, bool recognizable) {
    int32_t cycle = 1, vx = 0, vy = 0;
    const bool periodless = type == EPatternType::Still || type == EPatternType::Unstable;
    if ((!periodless && !ReadField(period, false, cycle)) || !ReadField(velocityX, true, vx) ||
        !ReadField(velocityY, true, vy))
        return Failure(msg::PropertyFieldMistake);
    CPattern& pattern = entry.Pattern();
    pattern.SetDeclaredProperties(type, cycle, vx, vy);
    entry.saved = false;
    pattern.SetRecognizable(recognizable ? ERecognizable::Yes : ERecognizable::No);
    entry.userRecognizable = recognizable;
    CPatternOperationResult result;
    result.entry = &entry;
    return result;
}

void CancelPatternProperties(CNamedPattern& entry) {
    if (entry.Pattern().DeclaredType() == EPatternType::Unknown)
        entry.Pattern().SetDeclaredProperties(EPatternType::Unstable, 0, 0, 0);
}

CPatternOperationResult RenameFromDialog(CNamedPattern& entry, std::string_view name) {
    if (!IsValidName(name)) return Failure(msg::InvalidName);
    if (!RenamePattern(entry, name)) return Failure(msg::NameAlreadyUsed);
    CPatternOperationResult result;
    result.entry = &entry;
    return result;
}

}  // namespace tessera
