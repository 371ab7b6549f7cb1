#pragma once
// CGameCollection: the games as a list of universes for the universe-selection dialog, in name order,
// one universe standing for each game.
#include <cstdint>
#include <string>

#include "foundation/name.h"

namespace tessera {

class CGame;
class CGameRegistry;
class CUniverse;

class CGameCollection {
public:
    // Which generation stands for a game.
    enum class EStandIn { Start, Current, Last };

    CGameCollection(const CGameRegistry& registry, EStandIn mode, bool hideUnnamed)
        : registry_(registry), mode_(mode), hideUnnamed_(hideUnnamed) {}

    // Only games with low ≤ serial < high are listed when low < high.
    void SetRange(uint32_t low, uint32_t high) {
        low_ = low;
        high_ = high;
    }

    int Count() const;
    // Items are numbered from 1; none (or empty) for a number out of range.
    CUniverse* Universe(int index) const;
    std::string Name(int index) const;
    // The number of the game with this name, 0 when it is not listed.
    int IndexOf(const CName& name) const;

private:
    bool Lists(const CGame& game) const;
    CGame* GameAt(int index) const;

    const CGameRegistry& registry_;
    EStandIn mode_;
    bool hideUnnamed_;
    uint32_t low_ = 0;
    uint32_t high_ = 0;
};

}  // namespace tessera
