#include "text/lex_attribute.h"

namespace tessera {

bool NamesMatch(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

bool DispatchAttribute(const CLexAttributeSetList& sets, const CAttributeValue& value) {
    for (CLexAttributeSetBase* set = sets.First(); set; set = set->Next()) {
        if (set->Assign(value.name, value.value)) return true;
    }
    return false;
}

bool ApplyAttributes(const CLexAttributeSetList& sets, const CDeque<CAttributeValue>& values,
                     CAttributeErrorReporter& reporter) {
    bool allTaken = true;
    for (CAttributeValue* value = values.First(); value; value = value->Next()) {
        if (!DispatchAttribute(sets, *value)) {
            reporter.Report(*value);
            allTaken = false;
        }
    }
    return allTaken;
}

}  // namespace tessera
