#pragma once
// The application's games: who owns them, the dictionary that finds them by name, serial numbers, and
// the operations over all games (pruning, deleting, trimming for memory).
#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "foundation/dict.h"
#include "foundation/memory_recovery.h"
#include "foundation/name.h"
#include "games/game.h"

namespace tessera {

class CUniverse;
class CShipRecognition;

// The games by name, in name order; unnamed games are in it under their "#" names. It refers to the
// games; their registry owns them, and each game leaves the dictionary when it is destroyed.
using CGameDictionary = CDictKeyed<CGame, CName>;
using CGameIter = CDictKeyedIter<CGame, CName>;

class CGameRegistry {
public:
    CGameRegistry() = default;
    CGameRegistry(const CGameRegistry&) = delete;
    CGameRegistry& operator=(const CGameRegistry&) = delete;
    ~CGameRegistry();

    // A new game whose start (generation 0) is an empty universe or a copy of the given one.
    CGame& NewGame();
    CGame& NewGame(CUniverse& start);
    // A new game whose stored generations are the given ones (at least one, in increasing generation
    // numbers from 0); the last one is current. Used by the file readers.
    CGame& NewGame(CGenerationList generations);
    // A new game holding copies of the source's start, of its modified generations below g, and of its
    // generation g, which becomes current. The name is the source's, made unique.
    CGame& CopyGame(CGame& source, int32_t generation);

    void DestroyGame(CGame& game);
    void DeleteAllGames();
    // Destroys every game and starts the serial and display counters again from 0 (for tests).
    void Reset();

    size_t Count() const { return bySerial_.size(); }
    CGame* FindGameByName(const CName& name) const;
    CGame* FindGameBySerial(uint32_t serial) const;
    CGame* NextGame(const CGame& game) const;
    CGame* PreviousGame(const CGame& game) const;
    CGame* LastCreatedGame() const;
    // Every game in serial order.
    template <class F>
    void ForEachGame(F&& visit) const {
        for (const auto& entry : bySerial_) visit(*entry.second);
    }

    // Destroys unnamed, unkept, undisplayed games older than the last KeepGames created.
    void PruneUnnamedGames(const CGame* except);
    // "Delete this game": the game the main window shows instead (the next game, else the previous,
    // else a new empty game). The caller switches to it, then destroys the current game.
    CGame& GameToShowAfterDeleting(CGame& current);
    // "Delete all except named and kept games".
    void DeleteUnnamedUnkeptGames(const CGame& current);
    // "Delete all games except this one".
    void DeleteAllOtherGames(const CGame& current);

    // Replaces name by name-1, name-2, ... name-999, the first that no game has; false when the name is
    // empty or every suffix is taken.
    [[nodiscard]] bool MakeUniqueName(CName& name) const;

    // Trims every game of a class, in name order, with the factor; after each game the outcome goes to
    // afterEachGame, which answers true to stop (the allocation now succeeds).
    void TrimGamesOfClass(EGameTrimClass gameClass, int64_t factor,
                          const std::function<bool(ETrimOutcome)>& afterEachGame);
    // Trims kept generations of all games, least precious first and a little more each round, until
    // enough() passes; false when every game has given back all it can.
    bool TrimAllGamesForMemory(const std::function<bool()>& enough);

    // The recognition automatic stop asks about ships (installed by the application; none: no ship is
    // ever recognised). Not owned.
    CShipRecognition* ShipRecognition() const { return shipRecognition_; }
    void SetShipRecognition(CShipRecognition* recognition) { shipRecognition_ = recognition; }

    uint32_t NextSerial() const { return nextSerial_; }
    uint32_t DisplayCounter() const { return displayCounter_; }
    const CGameDictionary& Dictionary() const { return dictionary_; }

private:
    friend class CGame;
    CGame& Adopt(CGenerationList generations);
    void DestroyGamesWhere(const std::function<bool(const CGame&)>& doomed);
    uint32_t TakeSerial() { return nextSerial_++; }
    uint32_t TakeDisplayStamp() { return displayCounter_++; }
    CGameDictionary& MutableDictionary() { return dictionary_; }

    // Declared before the games so that it outlives them: each game leaves it when destroyed.
    CGameDictionary dictionary_;
    std::map<uint32_t, std::unique_ptr<CGame>> bySerial_;
    uint32_t nextSerial_ = 0;
    uint32_t displayCounter_ = 0;
    CShipRecognition* shipRecognition_ = nullptr;
};

// The application's games; first use also installs them as the memory manager's recovery.
CGameRegistry& TheGames();

// Makes a registry's games the memory manager's recovery for as long as it lives, so that a full heap
// trims kept generations before an allocation fails. The recovery installed before comes back after.
class CGameMemoryRecovery : public CMemoryRecoverer {
public:
    explicit CGameMemoryRecovery(CGameRegistry& registry);
    ~CGameMemoryRecovery() override;
    CGameMemoryRecovery(const CGameMemoryRecovery&) = delete;
    CGameMemoryRecovery& operator=(const CGameMemoryRecovery&) = delete;

    void TrimGamesOfClass(EGameTrimClass gameClass, uint32_t factor,
                          const std::function<bool(ETrimOutcome)>& afterEachGame) override;

private:
    CGameRegistry& registry_;
    CMemoryRecoverer* previous_;
};

}  // namespace tessera
