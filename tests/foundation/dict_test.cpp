#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "foundation/dict.h"
#include "foundation/name.h"

namespace tessera::test {

namespace {

struct NumberNode : CDictScalarNode<NumberNode, uint32_t> {
    explicit NumberNode(uint32_t k, std::vector<uint32_t>* graveyard = nullptr)
        : CDictScalarNode(k), graveyard(graveyard) {}
    ~NumberNode() override {
        if (graveyard) graveyard->push_back(key);
    }
    std::vector<uint32_t>* graveyard;
};

using NumberDict = CDictScalar<NumberNode, uint32_t>;

// Walks the tree structure itself and checks every invariant but the order of the keys it answers: balance
// bits against the real heights, child and thread flags, threads to the in-order neighbours, the in-tree
// flag.
class TreeChecker {
public:
    explicit TreeChecker(const CDictBase& dict) : dict_(dict) {}

    // The keys in order; fails the test on any broken invariant.
    std::vector<uint32_t> Check() {
        order_.clear();
        height_ = Walk(dict_.Root());
        for (size_t i = 0; i < order_.size(); ++i) {
            const CDictNodeBase* n = order_[i];
            const CDictNodeBase* pred = i ? order_[i - 1] : nullptr;
            const CDictNodeBase* succ = i + 1 < order_.size() ? order_[i + 1] : nullptr;
            EXPECT_TRUE(!(n->Flags() & CDictNodeBase::kLeftThread) || n->Left() == pred) << "left thread";
            EXPECT_TRUE(!(n->Flags() & CDictNodeBase::kRightThread) || n->Right() == succ) << "right thread";
            // Stepping through the dictionary agrees with the structure.
            EXPECT_EQ(CDictBase::NextNode(n), succ);
            EXPECT_EQ(CDictBase::PrevNode(n), pred);
        }
        EXPECT_EQ(dict_.FirstNode(), order_.empty() ? nullptr : order_.front());
        EXPECT_EQ(dict_.LastNode(), order_.empty() ? nullptr : order_.back());
        EXPECT_EQ(dict_.Count(), order_.size());
        EXPECT_LE(height_, 1.44 * std::log2(static_cast<double>(order_.size()) + 2)) << "too tall";
        std::vector<uint32_t> keys;
        for (const CDictNodeBase* n : order_) keys.push_back(KeyOf(n));
        return keys;
    }

private:
    static uint32_t KeyOf(const CDictNodeBase* n) { return static_cast<const NumberNode*>(n)->key; }

    int Walk(const CDictNodeBase* n) {
        if (!n) return 0;
        const uint8_t flags = n->Flags();
        EXPECT_TRUE(flags & CDictNodeBase::kInTree);
        EXPECT_EQ(flags & 0xC8, 0) << "stray flag bits";
        const bool leftThread = flags & CDictNodeBase::kLeftThread;
        const bool rightThread = flags & CDictNodeBase::kRightThread;
        EXPECT_TRUE((leftThread || n->Left()) && (rightThread || n->Right())) << "a child missing";
        const int lh = leftThread ? 0 : Walk(n->Left());
        order_.push_back(n);
        const int rh = rightThread ? 0 : Walk(n->Right());
        const uint8_t balance = flags & (CDictNodeBase::kLeftHeavy | CDictNodeBase::kRightHeavy);
        const uint8_t expected = lh == rh       ? 0
                                 : lh == rh + 1 ? CDictNodeBase::kLeftHeavy
                                 : rh == lh + 1 ? CDictNodeBase::kRightHeavy
                                                : 0xFF;
        EXPECT_EQ(balance, expected) << "key " << KeyOf(n) << ": heights " << lh << " and " << rh;
        return 1 + std::max(lh, rh);
    }

    const CDictBase& dict_;
    std::vector<const CDictNodeBase*> order_;
    int height_ = 0;
};

std::vector<uint32_t> Backward(const NumberDict& dict) {
    std::vector<uint32_t> keys;
    for (NumberNode* n = dict.Last(); n; n = NumberDict::Prev(n)) keys.push_back(n->key);
    return keys;
}

std::optional<uint32_t> ModelFloor(const std::set<uint32_t>& model, uint32_t key) {
    auto it = model.upper_bound(key);
    return it == model.begin() ? std::nullopt : std::optional(*std::prev(it));
}

std::optional<uint32_t> ModelCeiling(const std::set<uint32_t>& model, uint32_t key) {
    auto it = model.lower_bound(key);
    return it == model.end() ? std::nullopt : std::optional(*it);
}

std::optional<uint32_t> KeyOf(const NumberNode* node) {
    return node ? std::optional(node->key) : std::nullopt;
}

// Ends by clearing the dictionary or destroying it: either destroys the nodes left, in key order.
void RunRandomAgainstStdSet(uint32_t seed, uint32_t keyRange, int steps, bool destroy) {
    std::mt19937 rng(seed);
    auto dict = std::make_unique<NumberDict>();
    std::set<uint32_t> model;
    std::vector<uint32_t> graveyard;
    TreeChecker checker(*dict);
    for (int step = 0; step < steps; ++step) {
        const uint32_t key = rng() % keyRange;
        const int op = static_cast<int>(rng() % 8);
        if (op < 3) {
            auto* node = new NumberNode(key, &graveyard);
            NumberNode* present = dict->Insert(node);
            const bool inserted = model.insert(key).second;
            ASSERT_EQ(present == nullptr, inserted);
            if (present) {
                EXPECT_EQ(present->key, key);
                EXPECT_FALSE(node->IsInTree());
                delete node;
            }
        } else if (op < 5) {
            NumberNode* node = dict->Find(key);
            ASSERT_EQ(node != nullptr, model.count(key) == 1);
            if (node) {
                // A stranger with the same key is not this tree's node.
                NumberNode stranger(key);
                EXPECT_FALSE(dict->Remove(&stranger));
                ASSERT_TRUE(dict->Remove(node));
                EXPECT_FALSE(node->IsInTree());
                EXPECT_EQ(node->Flags(), CDictNodeBase::kNewNodeFlags);
                EXPECT_FALSE(dict->Remove(node));
                delete node;
                model.erase(key);
            }
        } else {
            ASSERT_EQ(KeyOf(dict->Floor(key)), ModelFloor(model, key)) << "floor of " << key;
            ASSERT_EQ(KeyOf(dict->Ceiling(key)), ModelCeiling(model, key)) << "ceiling of " << key;
        }
        std::vector<uint32_t> keys = checker.Check();
        ASSERT_EQ(keys, std::vector<uint32_t>(model.begin(), model.end())) << "step " << step;
        if (::testing::Test::HasFailure()) return;
    }
    EXPECT_EQ(Backward(*dict), std::vector<uint32_t>(model.rbegin(), model.rend()));
    graveyard.clear();
    if (destroy) {
        dict.reset();
    } else {
        dict->Clear();
        EXPECT_TRUE(dict->IsEmpty());
    }
    EXPECT_EQ(graveyard, std::vector<uint32_t>(model.begin(), model.end()));
}

// Reference: fold case, drop blanks, compare bytes.
std::string Canonical(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == ' ') continue;
        out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return out;
}

int Sign(int v) { return (v > 0) - (v < 0); }

}  // namespace

TEST(Dict, PathArraysCoverTheTallestTreeThatFits) {
    // 2^59 nodes of 32 bytes fill a 64-bit address space; the sparsest AVL tree of that many nodes
    // is 84 levels tall.
    if (sizeof(void*) == 8) {
        EXPECT_EQ(MaxDictTreeHeight(), 84);
    }
    EXPECT_GE(CDictBase::kInsertPathSize, MaxDictTreeHeight());
    EXPECT_GE(CDictBase::kRemovePathSize, MaxDictTreeHeight() + 1);
}

TEST(Dict, MatchesStdSetUnderRandomOperations) {
    RunRandomAgainstStdSet(1, 64, 6000, false);   // small and dense: many duplicates and near-empty trees
    RunRandomAgainstStdSet(2, 600, 12000, true);  // grows to a few hundred nodes
    RunRandomAgainstStdSet(3, 1u << 31, 4000, false);  // sparse keys, mostly misses on lookups
}

// Names as keys: case and blanks ignored.
TEST(CName, AgreesWithCanonicalFormOnRandomNames) {
    std::mt19937 rng(12345);
    const std::string alphabet = "aAbB zZ~1\xE9";  // bytes above 127 compare unsigned
    auto randomName = [&] {
        std::string s;
        int n = rng() % 6;
        for (int i = 0; i < n; ++i) s += alphabet[rng() % alphabet.size()];
        return s;
    };
    for (int i = 0; i < 20000; ++i) {
        std::string a = randomName(), b = randomName();
        int expected = Sign(Canonical(a).compare(Canonical(b)));
        ASSERT_EQ(Sign(CompareNames(a, b)), expected) << "'" << a << "' vs '" << b << "'";
        ASSERT_EQ(Sign(CompareNames(b, a)), -expected);
    }
}

TEST(DictKeys, PointsByRowThenColumnNumbersAndPointersUnsigned) {
    // (The engine's explorations and edits depend on the order of points.)
    EXPECT_GT(CompareKeys(CLPoint{-2147483647, 2147483646}, CLPoint{2147483646, -2147483647}), 0);
    EXPECT_GT(CompareKeys(0x80000000u, 1u), 0);
    int cells[2];
    EXPECT_LT(CompareKeys(&cells[0], &cells[1]), 0);
    EXPECT_GT(CompareKeys(static_cast<const void*>(&cells[1]), static_cast<const void*>(&cells[0])), 0);
}

namespace {

struct Game {
    Game(const char* name, int* deaths) : name(name), deaths(deaths) {}
    ~Game() { ++*deaths; }
    const CName& Key() const { return name; }
    CName name;
    int* deaths;
};

std::vector<std::string> Names(CDictRefIter<Game>& it) {
    std::vector<std::string> names;
    for (it.First(); it.Current(); it.Next()) names.push_back(it.Object()->name.Text());
    return names;
}

}  // namespace

TEST(DictKeyed, OwnsItsObjectsUntilTheyAreRemoved) {
    int deaths = 0;
    {
        CDictKeyed<Game, CName> games;
        Game* life = new Game("Life", &deaths);
        Game* highLife = new Game("High Life", &deaths);
        for (Game* game : {life, new Game("seeds", &deaths), highLife})
            EXPECT_EQ(games.InsertObject(game), nullptr);

        // A clash under the folded name returns the present game; the newcomer stays the caller's.
        Game* clash = new Game("HIGHLIFE", &deaths);
        EXPECT_EQ(games.InsertObject(clash), highLife);
        EXPECT_FALSE(games.RemoveObject(clash));  // equal key, but not this object
        delete clash;
        EXPECT_EQ(deaths, 1);  // and only now

        EXPECT_EQ(games.Find(CName("high life")), highLife);
        EXPECT_EQ(games.Ceiling(CName("j")), life);
        EXPECT_EQ(games.Floor(CName("a")), nullptr);

        CDictKeyedIter<Game, CName> it(games);
        EXPECT_EQ(Names(it), (std::vector<std::string>{"High Life", "Life", "seeds"}));
        std::vector<std::string> backward;
        for (it.Last(); it.Current(); it.Prev()) backward.push_back(it.Object()->name.Text());
        EXPECT_EQ(backward, (std::vector<std::string>{"seeds", "Life", "High Life"}));
        EXPECT_EQ(it.Next(), nullptr);  // stays past the end

        // Removal hands the object back intact.
        EXPECT_TRUE(games.RemoveObject(life));
        EXPECT_FALSE(games.RemoveObject(life));
        EXPECT_EQ(Names(it), (std::vector<std::string>{"High Life", "seeds"}));
        delete life;
        EXPECT_EQ(deaths, 2);
    }
    EXPECT_EQ(deaths, 4);  // the dictionary destroyed the two games it still held
}

}  // namespace tessera::test
