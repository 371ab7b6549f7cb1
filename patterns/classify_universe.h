#pragma once
// Classifying a whole universe object by object: the engine of the census and of a game's test for
// whether anything interesting is left.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "foundation/deque.h"
#include "patterns/pattern_ref.h"

namespace tessera {

class CNamedPattern;
class CGrowableUniverse;
class CUniverse;

// One recognised object: its pattern, offset, transform and phase.
class CObj : public CDequeElement<CObj>, public CPatternRef {
public:
    explicit CObj(const CPatternRef& ref) : CPatternRef(ref) {}
};

struct CCensusResult {
    CCensusResult();
    ~CCensusResult();

    CTidyDeque<CObj> objects;                           // recognised placements in the order found
    std::map<CNamedPattern*, uint32_t> found;           // how many objects of each named pattern
    uint32_t objectCount = 0;                           // recognised placements
    uint32_t newCount = 0;                              // patterns this census created
    uint32_t otherCount = 0;                            // recognised placements not listed in objects
    std::unique_ptr<CGrowableUniverse> unclassifiable;  // cells of objects nothing matched
};

enum EClassifyFlag : unsigned {
    kClassifyCountNamed = 1,  // count each object against its named pattern
    kClassifyListAll = 2,     // list every recognised placement
    kClassifyListShips = 4,   // list only ships; count the others
    kClassifyAddNew = 8,      // unrecognised objects that the default rule accepts become new patterns
};
inline constexpr unsigned kCensusFlags = kClassifyCountNamed | kClassifyListAll | kClassifyAddNew;

// Percent done, called as the work goes on and with 100 at the end.
using CClassifyProgress = std::function<void(int percent)>;

// Splits universe into objects and names each from the recognition index; new patterns go to the
// library with the given number (none: not made).
void ClassifyUniverse(CCensusResult& record, CUniverse& universe, int32_t libraryNumber, unsigned flags,
                      const CClassifyProgress& progress = {});

}  // namespace tessera
