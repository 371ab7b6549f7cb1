#include "patterns/named_pattern.h"

#include "patterns/pattern_library.h"

namespace tessera {
namespace {

uint32_t gLibraryChanges = 0;

bool IsLetterOrDigit(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

}  // namespace

CPatternName::CPatternName(std::string name, CPatternLibrary* library)
    : name(std::move(name)), library(library), libraryNumber(library ? library->Number() : 0) {}

int CompareKeys(const CPatternName& a, const CPatternName& b) {
    if (const int byName = CompareNames(a.name, b.name); byName != 0) return byName;
    return a.libraryNumber < b.libraryNumber ? -1 : (a.libraryNumber > b.libraryNumber ? 1 : 0);
}

char LibraryLetter(int32_t libraryNumber) {
    switch (libraryNumber) {
        case kSystemLibraryNumber:
            return 'S';
        case kUserLibraryNumber:
            return 'U';
        case kAllLibrariesNumber:
            return 'A';
        default:
            return static_cast<char>('0' + libraryNumber % 10);
    }
}

std::string FullPatternName(std::string_view name, int32_t libraryNumber) {
    return std::string(name) + "(" + LibraryLetter(libraryNumber) + ")";
}

CNamedPattern::CNamedPattern(CPatternName k, std::unique_ptr<CPattern> pattern)
    : CDictScalarNode(std::move(k)), pattern_(std::move(pattern)) {
    pattern_->SetNamed(this, FullName());
}

CNamedPattern::~CNamedPattern() {
    if (IsInTree()) NamedPatterns().Remove(this);
    if (key.library) key.library->SetModified();
    ++gLibraryChanges;
}

CNamedPatternDict& NamedPatterns() {
    static CNamedPatternDict dictionary;
    return dictionary;
}

uint32_t LibraryChangeCount() { return gLibraryChanges; }

bool IsValidName(std::string_view name) {
    if (name.empty() || !IsLetterOrDigit(name[0])) return false;
    for (const char c : name)
        if (!IsLetterOrDigit(c) && c != ' ' && c != '-' && c != '_' && c != '#') return false;
    return true;
}

CNamedPattern* FindNamedPattern(std::string_view name, CPatternLibrary* library) {
    return NamedPatterns().Find(CPatternName(std::string(name), library));
}

std::string MakeUniquePatternName(std::string_view base, CPatternLibrary* library, int32_t firstSuffix) {
    for (int32_t k = firstSuffix;; ++k) {
        std::string candidate(base);
        if (k > 0) candidate += "-" + std::to_string(k);
        if (!FindNamedPattern(candidate, library)) return candidate;
    }
}

std::string NewPatternName(CPattern& pattern, CPatternLibrary* library) {
    return MakeUniquePatternName("New" + std::to_string(pattern.Base().Population()), library, 1);
}

CNamedPattern* NameNewPattern(std::unique_ptr<CPattern>& pattern, std::string_view name,
                              CPatternLibrary* library) {
    if (FindNamedPattern(name, library)) return nullptr;
    const bool recognizable = pattern->IsRecognizable();
    auto* entry = NewDictNode<CNamedPattern>(CPatternName(std::string(name), library), std::move(pattern));
    entry->userRecognizable = recognizable;
    NamedPatterns().Insert(entry);
    return entry;
}

bool RenamePattern(CNamedPattern& entry, std::string_view newName) {
    CNamedPattern* present = FindNamedPattern(newName, entry.Library());
    if (present && present != &entry) return false;
    NamedPatterns().Remove(&entry);
    entry.key.name = std::string(newName);
    NamedPatterns().Insert(&entry);
    entry.Pattern().SetNamed(&entry, entry.FullName());
    entry.saved = false;
    return true;
}

}  // namespace tessera
