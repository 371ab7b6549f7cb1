#include "games/game_registry.h"

#include "config/parameters.h"
#include "engine/growable_universe.h"

namespace tessera {
namespace {

// Which games give back generations first when memory runs short.
EGameTrimClass ClassOf(const CGame& game) {
    if (game.Window()) return EGameTrimClass::Displayed;
    if (game.IsNamed() || game.IsKept()) return EGameTrimClass::NamedOrKept;
    return EGameTrimClass::UnnamedUndisplayed;
}

// An allocation test for the recovery loop, given as a plain function.
class CEvalFunction : public CEvaluator {
public:
    explicit CEvalFunction(const std::function<bool()>& test) : test_(test) {}
    bool Attempt() override { return test_(); }

private:
    const std::function<bool()>& test_;
};

}  // namespace

CGameRegistry::~CGameRegistry() { DeleteAllGames(); }

CGame& CGameRegistry::Adopt(CGenerationList generations) {
    std::unique_ptr<CGame> game(new CGame(*this, std::move(generations)));
    CGame& adopted = *game;
    bySerial_.emplace(adopted.Serial(), std::move(game));
    return adopted;
}

CGame& CGameRegistry::NewGame() {
    CGenerationList start;
    start.PushBack(Owned(std::make_unique<CGrowableUniverse>()));
    return Adopt(std::move(start));
}

CGame& CGameRegistry::NewGame(CUniverse& source) {
    CGenerationList start;
    start.PushBack(Owned(std::make_unique<CGrowableUniverse>(0, &source)));
    return Adopt(std::move(start));
}

CGame& CGameRegistry::NewGame(CGenerationList generations) {
    CGame& game = Adopt(std::move(generations));
    game.RestoreCurrent(game.Last());
    return game;
}

CGame& CGameRegistry::CopyGame(CGame& source, int32_t generation) {
    CGenerationList copies;
    copies.PushBack(Owned(source.First().Clone()));
    if (generation >= 1) {
        // Modified generations cannot be regrown, so they travel with the copy. They are never trimmed,
        // so the walk survives memory recovery during the copies.
        for (CUniverse* u = source.First().Next(); u && u->Generation() < generation; u = u->Next()) {
            if (u->IsModified()) copies.PushBack(Owned(u->Clone()));
        }
        if (CUniverse* target = source.GetGeneration(generation)) {
            CUniverseUse use(*target);  // cloning may trim the source
            if (target != &source.First()) copies.PushBack(Owned(target->Clone()));
        }
    }
    CGame& copy = Adopt(std::move(copies));
    copy.current_ = copy.generations_.Last();
    copy.ring_.Restart(copy.current_->Generation());
    copy.SetOriginator(source.Originator());
    copy.SetUniqueName(source.Name());
    return copy;
}

void CGameRegistry::DestroyGame(CGame& game) { bySerial_.erase(game.Serial()); }

void CGameRegistry::DeleteAllGames() {
    // Games may refer to each other only through this registry, so any order will do.
    while (!bySerial_.empty()) bySerial_.erase(bySerial_.begin());
}

void CGameRegistry::Reset() {
    DeleteAllGames();
    nextSerial_ = 0;
    displayCounter_ = 0;
}

CGame* CGameRegistry::FindGameByName(const CName& name) const { return dictionary_.Find(name); }

CGame* CGameRegistry::FindGameBySerial(uint32_t serial) const {
    auto it = bySerial_.find(serial);
    return it == bySerial_.end() ? nullptr : it->second.get();
}

CGame* CGameRegistry::NextGame(const CGame& game) const {
    auto it = bySerial_.upper_bound(game.Serial());
    return it == bySerial_.end() ? nullptr : it->second.get();
}

CGame* CGameRegistry::PreviousGame(const CGame& game) const {
    auto it = bySerial_.lower_bound(game.Serial());
    return it == bySerial_.begin() ? nullptr : std::prev(it)->second.get();
}

CGame* CGameRegistry::LastCreatedGame() const {
    return bySerial_.empty() ? nullptr : bySerial_.rbegin()->second.get();
}

void CGameRegistry::PruneUnnamedGames(const CGame* except) {
    const int64_t keep = params::KeepGames.GetInt();
    if (keep == 0) return;
    DestroyGamesWhere([&](const CGame& game) {
        return !game.IsNamed() && !game.IsKept() && !game.Window() && &game != except &&
               int64_t(game.Serial()) + keep < int64_t(nextSerial_);
    });
}

CGame& CGameRegistry::GameToShowAfterDeleting(CGame& current) {
    if (CGame* next = NextGame(current)) return *next;
    if (CGame* previous = PreviousGame(current)) return *previous;
    return NewGame();
}

void CGameRegistry::DeleteUnnamedUnkeptGames(const CGame& current) {
    DestroyGamesWhere(
        [&](const CGame& game) { return &game != &current && !game.IsNamed() && !game.IsKept(); });
}

void CGameRegistry::DeleteAllOtherGames(const CGame& current) {
    DestroyGamesWhere([&](const CGame& game) { return &game != &current; });
}

void CGameRegistry::DestroyGamesWhere(const std::function<bool(const CGame&)>& doomed) {
    std::erase_if(bySerial_, [&](const auto& entry) { return doomed(*entry.second); });
}

bool CGameRegistry::MakeUniqueName(CName& name) const {
    if (name.IsEmpty()) return false;
    for (int suffix = 1; suffix <= 999; ++suffix) {
        CName candidate(name.Text() + "-" + std::to_string(suffix));
        if (!FindGameByName(candidate)) {
            name = candidate;
            return true;
        }
    }
    return false;
}

void CGameRegistry::TrimGamesOfClass(EGameTrimClass gameClass, int64_t factor,
                                     const std::function<bool(ETrimOutcome)>& afterEachGame) {
    CGameIter it(dictionary_);
    for (it.First(); CGame* game = it.Object(); it.Next()) {
        if (ClassOf(*game) != gameClass) continue;
        if (afterEachGame(game->TrimGenerations(factor))) return;
    }
}

bool CGameRegistry::TrimAllGamesForMemory(const std::function<bool()>& enough) {
    CGameMemoryRecovery recovery(*this);
    CEvalFunction attempt(enough);
    return RecoverMemory(attempt);
}

CGameRegistry& TheGames() {
    // Never destroyed: at exit the application deletes the games while the pools still exist. Its
    // games are the memory manager's recovery from the moment there are any.
    static CGameRegistry* games = [] {
        auto* registry = new CGameRegistry;
        new CGameMemoryRecovery(*registry);
        return registry;
    }();
    return *games;
}

CGameMemoryRecovery::CGameMemoryRecovery(CGameRegistry& registry)
    : registry_(registry), previous_(SetMemoryRecoverer(this)) {}

CGameMemoryRecovery::~CGameMemoryRecovery() { SetMemoryRecoverer(previous_); }

void CGameMemoryRecovery::TrimGamesOfClass(EGameTrimClass gameClass, uint32_t factor,
                                           const std::function<bool(ETrimOutcome)>& afterEachGame) {
    registry_.TrimGamesOfClass(gameClass, factor, afterEachGame);
}

}  // namespace tessera
