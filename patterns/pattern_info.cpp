#include "patterns/pattern_info.h"

#include <array>
#include <string>

#include "patterns/pattern.h"
#include "text/attribute_values.h"

namespace tessera {
namespace {

// The type as its word; a number is accepted too, and an unreadable text leaves the type unknown.
class CTypeAttribute : public CLexAttribute<CPatternInfo> {
public:
    using CLexAttribute::CLexAttribute;
    bool Parse(CPatternInfo& info, const std::string& value) const override {
        const size_t begin = value.find_first_not_of(' ');
        const size_t end = value.find_last_not_of(' ');
        EPatternType type = EPatternType::Unknown;
        if (begin != std::string::npos && ParsePatternType(value.substr(begin, end - begin + 1), type))
            info.type = type;
        return true;
    }
    void Write(std::ostream& out, const CPatternInfo& info) const override {
        out << PatternTypeWord(info.type);
    }
};

// 1 for a pattern the user made recognisable, 0 for one the user made unrecognisable.
class CRecognizableAttribute : public CLexAttribute<CPatternInfo> {
public:
    using CLexAttribute::CLexAttribute;
    bool Parse(CPatternInfo& info, const std::string& value) const override {
        std::istringstream in(value);
        int flag = -1;
        in >> flag;
        if (flag == 0 || flag == 1) info.recognizable = flag == 1 ? 2 : 0;
        return true;
    }
    void Write(std::ostream& out, const CPatternInfo& info) const override {
        out << (info.recognizable == 2 ? 1 : 0);
    }
};

const CTypeAttribute kType("PatternType", &CPatternInfo::WritesType);
const CLexAttributeAssign<CPatternInfo, int32_t> kPeriod("PatternPeriod", &CPatternInfo::period,
                                                         &CPatternInfo::WritesPeriod);
const CLexAttributeAssign<CPatternInfo, int32_t> kCycleStart("PatternCycleStart", &CPatternInfo::cycleStart,
                                                             &CPatternInfo::WritesCycleStart);
const CLexAttributeAssign<CPatternInfo, int32_t> kFold("PatternFold", &CPatternInfo::foldPeriod,
                                                       &CPatternInfo::WritesFold);
const CLexAttributeAssign<CPatternInfo, uint32_t> kFoldTransform("PatternFoldTransform",
                                                                 &CPatternInfo::foldTransform,
                                                                 &CPatternInfo::WritesFold);
const CLexAttributeAssign<CPatternInfo, CLSize> kVelocity("PatternVelocity", &CPatternInfo::velocity,
                                                          &CPatternInfo::WritesVelocity);
const CRecognizableAttribute kRecognizable("PatternRecognizable", &CPatternInfo::WritesRecognizable);

const std::array<const CLexAttribute<CPatternInfo>*, 7> kTable{
    &kType, &kPeriod, &kCycleStart, &kFold, &kFoldTransform, &kVelocity, &kRecognizable};

}  // namespace

bool CPatternInfo::WritesPeriod() const {
    return type == EPatternType::Oscillator || type == EPatternType::Ship || type == EPatternType::Puffer ||
           type == EPatternType::Gun;
}

// Written where the default rule would decide otherwise: a pattern the user made recognisable, or one
// the user made unrecognisable although the rule would index it.
bool CPatternInfo::WritesRecognizable() const {
    if (!pattern) return recognizable == 2;
    return (recognizable == 2) != pattern->DefaultRuleHolds();
}

std::span<const CLexAttribute<CPatternInfo>* const> CPatternInfo::AttributeTable() { return kTable; }

}  // namespace tessera
