#pragma once
// The universe collections the pattern tile windows show: the entries of the libraries that pass a
// filter, the phases of one pattern, and one pattern in all its phases and orientations.
#include <cstdint>
#include <vector>

#include "formats/file_dialogs.h"
#include "patterns/pattern_types.h"
#include "rules/rule_code.h"

namespace tessera {

class CNamedPattern;
class CPattern;

struct CPatternFilter {
    int32_t library = -3;                   // a library number; -3 every library
    EPatternType type = EPatternType::Any;  // any; unstable also takes unclassified patterns
    uint32_t population = 0;                // 0 any
    bool anyRule = true;
    RuleCode rule = 0;
};

class CPatternLibraryCollection : public CUniverseCollection {
public:
    explicit CPatternLibraryCollection(const CPatternFilter& filter = {}) { SetFilter(filter); }
    // Takes the filter and lists the entries again.
    void SetFilter(const CPatternFilter& filter);
    CNamedPattern* EntryAt(int index) const;

    int UniverseCount() const override { return static_cast<int>(entries_.size()); }
    CUniverse* UniverseAt(int index) const override;
    // The name, or the full name where another listed entry has the same name.
    std::string NameAt(int index) const override;
    int IndexOf(const CName& name) const override;

private:
    CPatternFilter filter_;
    std::vector<CNamedPattern*> entries_;
};

// Item i is generation i - 1 of one orientation, for i from 1 to the period.
class CPatternCollection : public CUniverseCollection {
public:
    CPatternCollection(CPattern& pattern, int orientation) : pattern_(pattern), orientation_(orientation) {}
    int UniverseCount() const override;
    CUniverse* UniverseAt(int index) const override;
    std::string NameAt(int index) const override;
    int IndexOf(const CName& name) const override;

private:
    CPattern& pattern_;
    int orientation_;
};

// "Show Transforms": a column per orientation of the symmetry, a row per phase, items numbered in row
// order.
class CPatternTransformCollection : public CUniverseCollection {
public:
    explicit CPatternTransformCollection(CPattern& pattern) : pattern_(pattern) {}
    int Columns() const;
    int Rows() const;
    // The orientation and phase item `index` shows.
    int OrientationAt(int index) const;
    int32_t PhaseAt(int index) const;

    int UniverseCount() const override { return Columns() * Rows(); }
    CUniverse* UniverseAt(int index) const override;
    std::string NameAt(int index) const override;
    int IndexOf(const CName& name) const override;

private:
    CPattern& pattern_;
};

}  // namespace tessera
