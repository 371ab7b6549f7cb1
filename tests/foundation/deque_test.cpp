#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

#include "foundation/deque.h"

namespace tessera::test {

namespace {

struct Item : CDequeElement<Item> {
    explicit Item(int v, int* deaths = nullptr) : value(v), deaths(deaths) {}
    ~Item() override {
        if (deaths) ++*deaths;
    }
    int value;
    int* deaths;
};

struct Timed : CPriorityQueueElement<Timed, int> {
    Timed(int k, int id) : id(id) { key = k; }
    int id;
};

std::vector<int> Forward(const CDeque<Item>& d) {
    std::vector<int> v;
    for (Item* e = d.First(); e; e = e->Next()) v.push_back(e->value);
    return v;
}

std::vector<int> Backward(const CDeque<Item>& d) {
    std::vector<int> v;
    for (Item* e = d.Last(); e; e = e->Prev()) v.push_back(e->value);
    return v;
}

}  // namespace

// Elements relinked at random, also next to themselves or their own neighbours, against a vector.
TEST(Deque, MatchesAListModelUnderRandomRelinking) {
    std::mt19937 rng(7);
    std::vector<std::unique_ptr<Item>> items;
    for (int i = 0; i < 12; ++i) items.push_back(std::make_unique<Item>(i));
    CDeque<Item> d;
    std::vector<int> model;
    auto erase = [&](int v) { std::erase(model, v); };
    for (int step = 0; step < 20000; ++step) {
        const int x = static_cast<int>(rng() % items.size());
        const int y = static_cast<int>(rng() % items.size());
        const bool yLinked = std::find(model.begin(), model.end(), y) != model.end();
        switch (rng() % 5) {
            case 0:
                d.PushBack(items[x].get());
                erase(x);
                model.push_back(x);
                break;
            case 1:
                d.PushFront(items[x].get());
                erase(x);
                model.insert(model.begin(), x);
                break;
            case 2:
            case 3:
                if (!yLinked || x == y) break;
                if (rng() & 1) {
                    CDeque<Item>::InsertAfter(items[x].get(), items[y].get());
                    erase(x);
                    model.insert(std::find(model.begin(), model.end(), y) + 1, x);
                } else {
                    CDeque<Item>::InsertBefore(items[x].get(), items[y].get());
                    erase(x);
                    model.insert(std::find(model.begin(), model.end(), y), x);
                }
                break;
            default:
                items[x]->Unlink();
                erase(x);
        }
        ASSERT_EQ(Forward(d), model) << "step " << step;
        ASSERT_EQ(Backward(d), std::vector<int>(model.rbegin(), model.rend()));
        ASSERT_EQ(d.Count(), static_cast<int>(model.size()));
        ASSERT_EQ(d.IsEmpty(), model.empty());
    }
}

TEST(Deque, MoveAllKeepsOrderAndDestroyedHeadLeavesElementsLinked) {
    Item a(1), b(2), c(3);
    CDeque<Item> to;
    {
        CDeque<Item> from;
        from.PushBack(&a);
        from.PushBack(&b);
        from.PushBack(&c);
        from.MoveAllTo(to);
        EXPECT_TRUE(from.IsEmpty());
        EXPECT_EQ(Forward(to), (std::vector<int>{1, 2, 3}));
        CDeque<Item> other;
        other.PushBack(&b);  // moving an element from one deque to another unlinks it first
        EXPECT_EQ(Forward(to), (std::vector<int>{1, 3}));
    }
    EXPECT_FALSE(b.IsLinked());  // its head was destroyed: b is alone again
    to.Unlink();                 // detaching the head leaves a ring of a and c
    EXPECT_TRUE(a.IsLinked());
    EXPECT_EQ(a.NextLink(), &c);
}

TEST(PriorityQueue, EqualKeysStayInArrivalOrder) {
    CPriorityQueue<Timed, int> q;
    Timed a(5, 1), b(7, 2), c(7, 3), d(7, 4), e(6, 5), f(4, 6);
    q.Insert(&a);
    q.Insert(&b);
    q.Insert(&c);
    q.Insert(&d);  // after both earlier 7s
    q.Insert(&e);  // between 5 and the first 7
    q.Insert(&f);  // new first
    std::vector<int> ids;
    for (Timed* t = q.First(); t; t = t->Next()) ids.push_back(t->id);
    EXPECT_EQ(ids, (std::vector<int>{6, 1, 5, 2, 3, 4}));
}

TEST(Deque, MoveAllIntoANonEmptyDequeAppendsInsteadOfLosingElements) {
    Item a(1), b(2), c(3);
    CDeque<Item> from, to;
    to.PushBack(&a);
    from.PushBack(&b);
    from.PushBack(&c);
    from.MoveAllTo(to);
    EXPECT_TRUE(from.IsEmpty());
    EXPECT_EQ(Forward(to), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(Backward(to), (std::vector<int>{3, 2, 1}));
    from.MoveAllTo(to);  // nothing to move
    to.MoveAllTo(to);    // onto itself: unchanged
    EXPECT_EQ(Forward(to), (std::vector<int>{1, 2, 3}));
}

}  // namespace tessera::test
