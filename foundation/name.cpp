#include "foundation/name.h"

namespace tessera {
namespace {

unsigned char Fold(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}

}  // namespace

int CompareNames(std::string_view a, std::string_view b) {
    size_t i = 0, j = 0;
    while (i < a.size()) {
        if (j < b.size()) {
            unsigned char ca = Fold(a[i]);
            unsigned char cb = Fold(b[j]);
            if (ca == cb) {
                ++i;
                ++j;
                continue;
            }
            if (ca == ' ') {
                ++i;
                continue;
            }
            if (cb == ' ') {
                ++j;
                continue;
            }
            return ca < cb ? -1 : 1;
        }
        // b is used up: a blank in a is skipped, anything else makes a the greater name.
        if (a[i] == ' ') {
            ++i;
            continue;
        }
        return 1;
    }
    // a is used up: equal when nothing but blanks is left of b. (Skipping b's trailing blanks keeps
    // the comparison symmetric, which the ordered dictionaries rely on.)
    while (j < b.size() && b[j] == ' ') ++j;
    return j < b.size() ? -1 : 0;
}

}  // namespace tessera
