#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

#include "foundation/deque.h"

namespace tessera::test {

namespace {

struct Item : CDequeElement<Item> {
    explicit Item(int v) : value(v) {}
    int value;
};

// The values front to back, then back to front.
std::vector<int> BothWays(const CDeque<Item>& d) {
    std::vector<int> v;
    for (Item* e = d.First(); e; e = e->Next()) v.push_back(e->value);
    for (Item* e = d.Last(); e; e = e->Prev()) v.push_back(e->value);
    return v;
}

}  // namespace

// Elements relinked at random between two deques, also next to themselves or their own neighbours, and
// whole deques moved onto each other (or onto themselves), against two vectors. (The task scheduler's
// tests cover the priority queue built on the deque.)
TEST(Deque, MatchesAListModelUnderRandomRelinking) {
    std::mt19937 rng(7);
    std::vector<std::unique_ptr<Item>> items;
    for (int i = 0; i < 12; ++i) items.push_back(std::make_unique<Item>(i));
    CDeque<Item> deques[2];
    std::vector<int> models[2];
    auto erase = [&](int v) {
        for (auto& model : models) std::erase(model, v);
    };
    auto holder = [&](int v) -> std::vector<int>* {
        for (auto& model : models)
            if (std::find(model.begin(), model.end(), v) != model.end()) return &model;
        return nullptr;
    };
    for (int step = 0; step < 20000; ++step) {
        const int x = static_cast<int>(rng() % items.size());
        const int y = static_cast<int>(rng() % items.size());
        const int k = static_cast<int>(rng() % 2);
        const unsigned op = rng() % 11;
        const bool atEnd = rng() & 1;  // back, or after
        if (op < 4) {
            atEnd ? deques[k].PushBack(items[x].get()) : deques[k].PushFront(items[x].get());
            erase(x);
            models[k].insert(atEnd ? models[k].end() : models[k].begin(), x);
        } else if (op < 8 && holder(y) && x != y) {
            if (atEnd) {
                CDeque<Item>::InsertAfter(items[x].get(), items[y].get());
            } else {
                CDeque<Item>::InsertBefore(items[x].get(), items[y].get());
            }
            erase(x);
            std::vector<int>& model = *holder(y);
            model.insert(std::find(model.begin(), model.end(), y) + (atEnd ? 1 : 0), x);
        } else if (op == 8) {
            const int to = static_cast<int>(rng() % 2);  // onto itself now and then: unchanged
            deques[k].MoveAllTo(deques[to]);
            if (to != k) {
                models[to].insert(models[to].end(), models[k].begin(), models[k].end());
                models[k].clear();
            }
        } else if (op > 8) {
            items[x]->Unlink();
            erase(x);
        }
        for (int i = 0; i < 2; ++i) {
            std::vector<int> bothWays = models[i];
            bothWays.insert(bothWays.end(), models[i].rbegin(), models[i].rend());
            ASSERT_EQ(BothWays(deques[i]), bothWays) << "step " << step;
            ASSERT_EQ(deques[i].Count(), static_cast<int>(models[i].size()));
            ASSERT_EQ(deques[i].IsEmpty(), models[i].empty());
        }
    }
}

TEST(Deque, DestroyedHeadLeavesElementsLinkedToEachOther) {
    Item a(1), b(2), c(3);
    CDeque<Item> to;
    {
        CDeque<Item> other;
        other.PushBack(&b);
    }
    EXPECT_FALSE(b.IsLinked());  // its head was destroyed: b is alone again
    to.PushBack(&a);
    to.PushBack(&c);
    to.Unlink();  // detaching the head leaves a ring of a and c
    EXPECT_TRUE(a.IsLinked());
    EXPECT_EQ(a.NextLink(), &c);
}

}  // namespace tessera::test
