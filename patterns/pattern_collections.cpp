#include "patterns/pattern_collections.h"

#include <string>

#include "patterns/named_pattern.h"
#include "patterns/pattern.h"

namespace tessera {
namespace {

bool Passes(const CPatternFilter& filter, CNamedPattern& entry) {
    CPattern& pattern = entry.Pattern();
    if (filter.library != kAllLibrariesNumber && entry.key.libraryNumber != filter.library) return false;
    const EPatternType type = pattern.DeclaredType();
    if (filter.type != EPatternType::Any && type != filter.type &&
        !(filter.type == EPatternType::Unstable && type == EPatternType::Unknown))
        return false;
    if (filter.population != 0 && pattern.Base().Population() != filter.population) return false;
    return filter.anyRule || pattern.Base().GetRuleCode() == filter.rule;
}

int NumberIn(const CName& name, int count) {
    const std::string& text = name.Text();
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    const int value = std::stoi(text);
    return value >= 1 && value <= count ? value : 0;
}

}  // namespace

void CPatternLibraryCollection::SetFilter(const CPatternFilter& filter) {
    filter_ = filter;
    entries_.clear();
    const CNamedPatternDict& patterns = NamedPatterns();
    for (CNamedPattern* e = patterns.First(); e; e = CNamedPatternDict::Next(e))
        if (Passes(filter_, *e)) entries_.push_back(e);
}

CNamedPattern* CPatternLibraryCollection::EntryAt(int index) const {
    if (index < 1 || index > UniverseCount()) return nullptr;
    return entries_[static_cast<size_t>(index - 1)];
}

CUniverse* CPatternLibraryCollection::UniverseAt(int index) const {
    CNamedPattern* entry = EntryAt(index);
    return entry ? &entry->Pattern().Base() : nullptr;
}

std::string CPatternLibraryCollection::NameAt(int index) const {
    CNamedPattern* entry = EntryAt(index);
    if (!entry) return {};
    // Entries of one name are neighbours in dictionary order.
    const auto sameName = [&](int other) {
        CNamedPattern* e = EntryAt(other);
        return e && CompareNames(e->Name(), entry->Name()) == 0;
    };
    return sameName(index - 1) || sameName(index + 1) ? entry->FullName() : entry->Name();
}

int CPatternLibraryCollection::IndexOf(const CName& name) const {
    for (int i = 1; i <= UniverseCount(); ++i)
        if (CName(entries_[static_cast<size_t>(i - 1)]->Name()) == name) return i;
    return 0;
}

int CPatternCollection::UniverseCount() const { return pattern_.Period() > 0 ? pattern_.Period() : 1; }

CUniverse* CPatternCollection::UniverseAt(int index) const {
    if (index < 1 || index > UniverseCount()) return nullptr;
    return &pattern_.GetPatternGeneration(orientation_, index - 1);
}

std::string CPatternCollection::NameAt(int index) const { return std::to_string(index); }

int CPatternCollection::IndexOf(const CName& name) const { return NumberIn(name, UniverseCount()); }

int CPatternTransformCollection::Columns() const { return OrientationCountOf(pattern_.Symmetry()); }

int CPatternTransformCollection::Rows() const { return pattern_.PhaseCount(); }

int CPatternTransformCollection::OrientationAt(int index) const {
    const int column = (index - 1) % Columns();
    return column == 0 ? 0 : DistinctOrientations(pattern_.Symmetry())[static_cast<size_t>(column - 1)];
}

int32_t CPatternTransformCollection::PhaseAt(int index) const { return (index - 1) / Columns(); }

CUniverse* CPatternTransformCollection::UniverseAt(int index) const {
    if (index < 1 || index > UniverseCount()) return nullptr;
    return &pattern_.GetPatternGeneration(OrientationAt(index), PhaseAt(index));
}

std::string CPatternTransformCollection::NameAt(int index) const { return std::to_string(index); }

int CPatternTransformCollection::IndexOf(const CName& name) const { return NumberIn(name, UniverseCount()); }

}  // namespace tessera
