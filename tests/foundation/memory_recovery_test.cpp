#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/errors.h"
#include "foundation/far_pool.h"
#include "foundation/global_memory.h"
#include "foundation/memory_recovery.h"
#include "foundation/near_pool.h"

namespace tessera::test {

namespace {

// A stand-in for the games: each game has a class and a number of generations it can give back; a
// trim with factor f gives back min(f, left) of them, answering "more with a larger factor" while the
// factor is below `needsFactor`. Every call is logged. (The games' tests run recovery against real
// games on a full heap.)
struct FakeGame {
    EGameTrimClass gameClass;
    int generations;
    uint32_t needsFactor = 1;
};

class FakeRecoverer : public CMemoryRecoverer {
public:
    explicit FakeRecoverer(std::vector<FakeGame> games) : games(std::move(games)) {
        previous_ = SetMemoryRecoverer(this);
    }
    ~FakeRecoverer() override { SetMemoryRecoverer(previous_); }

    void TrimGamesOfClass(EGameTrimClass gameClass, uint32_t factor,
                          const std::function<bool(ETrimOutcome)>& afterEachGame) override {
        log.push_back(std::to_string(static_cast<int>(gameClass)) + "x" + std::to_string(factor));
        for (FakeGame& game : games) {
            if (game.gameClass != gameClass) continue;
            ETrimOutcome outcome = ETrimOutcome::NothingMore;
            if (game.generations > 0 && factor < game.needsFactor) {
                outcome = ETrimOutcome::MoreWithLargerFactor;
            } else if (game.generations > 0) {
                outcome = ETrimOutcome::Freed;
                game.generations -= std::min<int>(static_cast<int>(factor), game.generations);
            }
            if (afterEachGame(outcome)) return;
        }
    }

    std::vector<FakeGame> games;
    std::vector<std::string> log;

private:
    CMemoryRecoverer* previous_;
};

// Succeeds on the n-th attempt.
class CountingAttempt : public CEvaluator {
public:
    explicit CountingAttempt(int succeedOn) : succeedOn_(succeedOn) {}
    bool Attempt() override { return ++attempts == succeedOn_; }
    int attempts = 0;

private:
    int succeedOn_;
};

using Log = std::vector<std::string>;

}  // namespace

TEST(MemoryRecovery, PassesRunClassByClassWithDoublingFactors) {
    FakeRecoverer games({{EGameTrimClass::Displayed, 3},
                         {EGameTrimClass::UnnamedUndisplayed, 1},
                         {EGameTrimClass::NamedOrKept, 2, 4}});
    CountingAttempt never(-1);
    EXPECT_FALSE(RecoverMemory(never));
    // Class 0: one generation at factor 1, then nothing more. Class 1: waits for factor 4. Class 2:
    // 1 at factor 1, 2 at factor 2, then nothing more.
    EXPECT_EQ(games.log, (Log{"0x1", "0x2", "1x1", "1x2", "1x4", "1x8", "2x1", "2x2", "2x4"}));
    EXPECT_EQ(never.attempts, 4);  // once after every trim that freed something
    for (const FakeGame& g : games.games) EXPECT_EQ(g.generations, 0);
}

TEST(MemoryRecovery, StopsAsSoonAsTheAttemptSucceeds) {
    FakeRecoverer games({{EGameTrimClass::UnnamedUndisplayed, 5},
                         {EGameTrimClass::UnnamedUndisplayed, 5},
                         {EGameTrimClass::Displayed, 5}});
    CountingAttempt third(3);
    EXPECT_TRUE(RecoverMemory(third));
    EXPECT_EQ(games.log, (Log{"0x1", "0x2"}));
    EXPECT_EQ(games.games[0].generations, 2);  // 1 then 2 given back
    EXPECT_EQ(games.games[1].generations, 4);  // untouched after the success
    EXPECT_EQ(games.games[2].generations, 5);
}

TEST(MemoryRecovery, NestedRecoveryAnswersFalse) {
    struct Nested : CEvaluator {
        bool Attempt() override {
            CountingAttempt inner(1);
            nestedResult = RecoverMemory(inner);
            return true;
        }
        bool nestedResult = true;
    } attempt;
    // Generations enough that a nested recovery, were it allowed, would free some and succeed.
    FakeRecoverer games({{EGameTrimClass::UnnamedUndisplayed, 5}});
    EXPECT_TRUE(RecoverMemory(attempt));
    EXPECT_FALSE(attempt.nestedResult);
}

TEST(NearPool, ForeignSlotsAreRefused) {
    CNearPool pool(4, 16);
    void* slot = pool.Take();
    int outside = 0;
    EXPECT_THROW(pool.Give(&outside), CErrorException);
    EXPECT_THROW(pool.Give(static_cast<uint8_t*>(slot) + 8), CErrorException);
    EXPECT_EQ(pool.FreeCount(), 3u);
    pool.Give(slot);
    EXPECT_THROW(pool.Give(slot), CErrorException);  // every slot is already free
    pool.Give(nullptr);
    EXPECT_EQ(pool.FreeCount(), 4u);
}

}  // namespace tessera::test
