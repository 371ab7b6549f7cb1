#pragma once
// The process-wide dictionary of named patterns: each entry is a pattern under a name within one
// library, ordered by name (case and blanks ignored) and then by library number; and the rules for names.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "foundation/dict.h"
#include "patterns/pattern.h"

namespace tessera {

class CPatternLibrary;

// Library numbers: the system library, the user library, further libraries 1..9, and "all of them".
inline constexpr int32_t kSystemLibraryNumber = -2;
inline constexpr int32_t kUserLibraryNumber = -1;
inline constexpr int32_t kAllLibrariesNumber = -3;

struct CPatternName {
    std::string name;
    CPatternLibrary* library = nullptr;
    int32_t libraryNumber = 0;

    CPatternName() = default;
    CPatternName(std::string name, CPatternLibrary* library);
};

int CompareKeys(const CPatternName& a, const CPatternName& b);

// The character standing for a library in full names: S, U, A or the digit of its number.
char LibraryLetter(int32_t libraryNumber);
// The name followed by "(", the library's letter and ")".
std::string FullPatternName(std::string_view name, int32_t libraryNumber);

class CNamedPattern : public CDictScalarNode<CNamedPattern, CPatternName> {
public:
    CNamedPattern(CPatternName key, std::unique_ptr<CPattern> pattern);
    // Leaves the dictionary, marks its library modified, counts a library change and destroys the
    // pattern.
    ~CNamedPattern() override;

    CPattern& Pattern() const { return *pattern_; }
    const std::string& Name() const { return key.name; }
    CPatternLibrary* Library() const { return key.library; }
    std::string FullName() const { return FullPatternName(key.name, key.libraryNumber); }

    uint32_t censusCount = 0;
    bool saved = false;             // as in its library file
    bool userRecognizable = false;  // the user's recognisable choice

private:
    std::unique_ptr<CPattern> pattern_;
};

// Entries leave the dictionary as they are destroyed, so the dictionary destroys them one at a time.
class CNamedPatternDict : public CDictScalar<CNamedPattern, CPatternName> {
public:
    ~CNamedPatternDict() override {
        while (CNamedPattern* entry = First()) delete entry;
    }
};

// Every named pattern of the process.
CNamedPatternDict& NamedPatterns();
// Bumped whenever a named pattern is destroyed.
uint32_t LibraryChangeCount();

// Not empty, a letter or digit first, then letters, digits, blanks, '-', '_' and '#'.
bool IsValidName(std::string_view name);
CNamedPattern* FindNamedPattern(std::string_view name, CPatternLibrary* library);
// base, or base-k for k > 0, with k counting up while the name is taken in the library.
std::string MakeUniquePatternName(std::string_view base, CPatternLibrary* library, int32_t firstSuffix);
// "New" and the base population, numbered from 1: the name of a pattern made without one.
std::string NewPatternName(CPattern& pattern, CPatternLibrary* library);
// Names the pattern in the library (taking ownership); none, leaving the pattern to the caller, when
// the name is taken there.
CNamedPattern* NameNewPattern(std::unique_ptr<CPattern>& pattern, std::string_view name,
                              CPatternLibrary* library);
// False when the new name is taken in the entry's library.
bool RenamePattern(CNamedPattern& entry, std::string_view newName);

}  // namespace tessera
