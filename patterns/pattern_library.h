#pragma once
// CPatternLibrary: one library file of named patterns, and the process-wide list of loaded libraries
// ordered by number: the system library (-2), the user library (-1) and up to nine others (1..9). The
// patterns themselves are the entries of the named-pattern dictionary that name the library.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "foundation/deque.h"
#include "text/lex_attribute.h"
#include "text/time_value.h"

namespace tessera {

class CNamedPattern;
class CXLUniverseCollection;

inline constexpr int32_t kMaxOtherLibraries = 9;

class CPatternLibrary : public CDequeElement<CPatternLibrary> {
public:
    CPatternLibrary(std::string fileName, int32_t number);
    ~CPatternLibrary() override;

    const std::string& FileName() const { return fileName_; }
    void SetFileName(std::string fileName) { fileName_ = std::move(fileName); }
    int32_t Number() const { return number_; }
    bool IsReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool IsPreload() const { return preload_; }
    void SetPreload(bool preload) { preload_ = preload; }
    // The flag, or any entry that differs from the file.
    bool IsModified() const;
    void SetModified(bool modified = true) { modified_ = modified; }
    // The entries of this library, in dictionary order.
    std::vector<CNamedPattern*> Entries() const;
    // "system", "user" or "library " and the file name.
    std::string Description() const;
    // "System: ", "User: " or the digit and ": ", then the file name.
    std::string DialogTitle() const;

    // The XLife-form file read and waiting to be turned into patterns.
    CXLUniverseCollection* Imported() const { return imported_.get(); }
    void SetImported(std::unique_ptr<CXLUniverseCollection> imported);
    [[nodiscard]] std::unique_ptr<CXLUniverseCollection> TakeImported();

    CTime created;
    CTime updated;
    int64_t loaded = 0;

    // "LibraryCreated" and "LibraryUpdated".
    static std::span<const CLexAttribute<CPatternLibrary>* const> AttributeTable();

private:
    std::string fileName_;
    int32_t number_;
    bool readOnly_ = false;
    bool modified_ = false;
    bool preload_ = false;
    std::unique_ptr<CXLUniverseCollection> imported_;
};

// The loaded libraries, ascending by number.
CDeque<CPatternLibrary>& Libraries();
CPatternLibrary* FindLibrary(int32_t number);
// The library whose completed file name is this one (exact comparison), or none.
CPatternLibrary* FindLibraryByFile(const std::string& fileName);
// The library an XLife insertion names: by the file's name without folder and extension, ignoring case.
CPatternLibrary* FindLibraryByTitle(std::string_view title);
// A new empty library under the lowest free number 1..9; none when all are taken.
CPatternLibrary* NewLibrary(std::string fileName);
// A new empty library under a given number (the system and user libraries); none when it is taken.
CPatternLibrary* MakeLibrary(std::string fileName, int32_t number);
// Destroys every entry of the library, then the library (no questions).
void DestroyLibrary(CPatternLibrary* library);

}  // namespace tessera
