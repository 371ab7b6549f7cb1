#include "patterns/pattern_library.h"

#include <array>
#include <ctime>
#include <filesystem>

#include "formats/xl_collection.h"
#include "foundation/messages.h"
#include "foundation/name.h"
#include "patterns/library_insertions.h"
#include "patterns/named_pattern.h"
#include "patterns/recognition.h"

namespace tessera {
namespace {

const CLexAttributeAssign<CPatternLibrary, CTime> kCreated("LibraryCreated", &CPatternLibrary::created);
const CLexAttributeAssign<CPatternLibrary, CTime> kUpdated("LibraryUpdated", &CPatternLibrary::updated);
const std::array<const CLexAttribute<CPatternLibrary>*, 2> kTable{&kCreated, &kUpdated};

}  // namespace

CPatternLibrary::CPatternLibrary(std::string fileName, int32_t number)
    : created(CTime::Now()),
      updated(CTime::FromSeconds(0)),
      loaded(std::time(nullptr)),
      fileName_(std::move(fileName)),
      number_(number) {
    InstallLibraryInsertions();
    CPatternLibrary* after = nullptr;
    for (CPatternLibrary* l = Libraries().First(); l && l->number_ < number; l = l->Next()) after = l;
    if (after)
        CDeque<CPatternLibrary>::InsertAfter(this, after);
    else
        Libraries().PushFront(this);
}

CPatternLibrary::~CPatternLibrary() = default;

std::span<const CLexAttribute<CPatternLibrary>* const> CPatternLibrary::AttributeTable() { return kTable; }

bool CPatternLibrary::IsModified() const {
    if (modified_) return true;
    for (const CNamedPattern* entry : Entries())
        if (!entry->saved) return true;
    return false;
}

std::vector<CNamedPattern*> CPatternLibrary::Entries() const {
    std::vector<CNamedPattern*> entries;
    const CNamedPatternDict& patterns = NamedPatterns();
    for (CNamedPattern* e = patterns.First(); e; e = CNamedPatternDict::Next(e))
        if (e->Library() == this) entries.push_back(e);
    return entries;
}

std::string CPatternLibrary::Description() const {
    if (number_ == kSystemLibraryNumber) return std::string(MessageText(msg::LibrarySystem));
    if (number_ == kUserLibraryNumber) return std::string(MessageText(msg::LibraryUser));
    return std::string(MessageText(msg::LibraryWord)) + " " + fileName_;
}

std::string CPatternLibrary::DialogTitle() const {
    if (number_ == kSystemLibraryNumber) return "System: " + fileName_;
    if (number_ == kUserLibraryNumber) return "User: " + fileName_;
    return std::string(1, LibraryLetter(number_)) + ": " + fileName_;
}

void CPatternLibrary::SetImported(std::unique_ptr<CXLUniverseCollection> imported) {
    imported_ = std::move(imported);
}

std::unique_ptr<CXLUniverseCollection> CPatternLibrary::TakeImported() { return std::move(imported_); }

CDeque<CPatternLibrary>& Libraries() {
    static CDeque<CPatternLibrary> libraries;
    return libraries;
}

CPatternLibrary* FindLibrary(int32_t number) {
    for (CPatternLibrary* l = Libraries().First(); l; l = l->Next())
        if (l->Number() == number) return l;
    return nullptr;
}

CPatternLibrary* FindLibraryByFile(const std::string& fileName) {
    for (CPatternLibrary* l = Libraries().First(); l; l = l->Next())
        if (l->FileName() == fileName) return l;
    return nullptr;
}

CPatternLibrary* FindLibraryByTitle(std::string_view title) {
    for (CPatternLibrary* l = Libraries().First(); l; l = l->Next()) {
        const std::string stem = std::filesystem::path(l->FileName()).stem().string();
        if (!stem.empty() && stem.size() == title.size() && NamesMatch(stem, title)) return l;
    }
    return nullptr;
}

CPatternLibrary* NewLibrary(std::string fileName) {
    for (int32_t number = 1; number <= kMaxOtherLibraries; ++number)
        if (!FindLibrary(number)) return new CPatternLibrary(std::move(fileName), number);
    return nullptr;
}

CPatternLibrary* MakeLibrary(std::string fileName, int32_t number) {
    if (FindLibrary(number)) return nullptr;
    return new CPatternLibrary(std::move(fileName), number);
}

void DestroyLibrary(CPatternLibrary* library) {
    if (!library) return;
    const CLibraryActivity unloading;
    for (CNamedPattern* entry : library->Entries()) delete entry;
    delete library;
}

}  // namespace tessera
