#pragma once
// Text of extent values in attribute lines: width, one space, height.
#include <istream>
#include <ostream>

#include "foundation/geometry.h"

namespace tessera {

inline std::ostream& operator<<(std::ostream& out, const CLSize& size) {
    return out << size.cx << ' ' << size.cy;
}
inline std::istream& operator>>(std::istream& in, CLSize& size) { return in >> size.cx >> size.cy; }

}  // namespace tessera
