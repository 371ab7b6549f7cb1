#include "games/game_collection.h"

#include "games/game.h"
#include "games/game_registry.h"

namespace tessera {

bool CGameCollection::Lists(const CGame& game) const {
    if (hideUnnamed_ && !game.IsNamed()) return false;
    if (low_ < high_ && (game.Serial() < low_ || game.Serial() >= high_)) return false;
    return true;
}

int CGameCollection::Count() const {
    int count = 0;
    CGameIter it(registry_.Dictionary());
    for (it.First(); CGame* game = it.Object(); it.Next()) count += Lists(*game) ? 1 : 0;
    return count;
}

CGame* CGameCollection::GameAt(int index) const {
    if (index < 1) return nullptr;
    CGameIter it(registry_.Dictionary());
    for (it.First(); CGame* game = it.Object(); it.Next()) {
        if (Lists(*game) && --index == 0) return game;
    }
    return nullptr;
}

CUniverse* CGameCollection::Universe(int index) const {
    CGame* game = GameAt(index);
    if (!game) return nullptr;
    switch (mode_) {
        case EStandIn::Current:
            return &game->Current();
        case EStandIn::Last:
            return &game->Last();
        case EStandIn::Start:
            break;
    }
    return &game->First();
}

std::string CGameCollection::Name(int index) const {
    CGame* game = GameAt(index);
    return game ? game->Name().Text() : std::string();
}

int CGameCollection::IndexOf(const CName& name) const {
    int index = 0;
    CGameIter it(registry_.Dictionary());
    for (it.First(); CGame* game = it.Object(); it.Next()) {
        if (!Lists(*game)) continue;
        ++index;
        if (game->Name() == name) return index;
    }
    return 0;
}

}  // namespace tessera
