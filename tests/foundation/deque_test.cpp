#include <gtest/gtest.h>

#include <deque>
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

TEST(Deque, EmptyAndUnlinkEdgeCases) {
    CDeque<Item> d;
    EXPECT_EQ(d.First(), nullptr);
    EXPECT_TRUE(d.IsEmpty());
    Item a(1);
    EXPECT_FALSE(a.IsLinked());
    a.Unlink();  // harmless when not linked
    d.PushBack(&a);
    EXPECT_EQ(a.Next(), nullptr);
    a.Unlink();
    a.Unlink();
    EXPECT_TRUE(d.IsEmpty());
}

TEST(Deque, MatchesStdDequeUnderRandomOperations) {
    std::mt19937 rng(7);
    CDeque<Item> d;
    std::deque<int> model;
    std::vector<std::unique_ptr<Item>> items;
    for (int step = 0; step < 5000; ++step) {
        int op = rng() % 4;
        if (op == 0 || model.empty()) {
            items.push_back(std::make_unique<Item>(step));
            d.PushBack(items.back().get());
            model.push_back(step);
        } else if (op == 1) {
            items.push_back(std::make_unique<Item>(step));
            d.PushFront(items.back().get());
            model.push_front(step);
        } else {
            // Unlink a random linked element.
            size_t i = rng() % model.size();
            int value = model[i];
            for (auto& it : items)
                if (it->value == value) it->Unlink();
            model.erase(model.begin() + i);
        }
    }
    std::vector<int> expected(model.begin(), model.end());
    EXPECT_EQ(Forward(d), expected);
    std::vector<int> reversed(expected.rbegin(), expected.rend());
    EXPECT_EQ(Backward(d), reversed);
    EXPECT_EQ(d.Count(), static_cast<int>(model.size()));
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

TEST(Deque, TidyDequeDestroysItsElements) {
    int deaths = 0;
    {
        CTidyDeque<Item> d;
        for (int i = 0; i < 5; ++i) d.PushBack(new Item(i, &deaths));
    }
    EXPECT_EQ(deaths, 5);
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

TEST(Deque, RelinkingNextToItsOwnNeighbourKeepsTheElement) {
    Item a(1), b(2), c(3);
    CDeque<Item> d;
    d.PushBack(&a);
    d.PushBack(&b);
    d.PushBack(&c);
    d.PushFront(&a);                     // already first
    d.PushBack(&c);                      // already last
    CDeque<Item>::InsertAfter(&b, &a);   // already after a
    CDeque<Item>::InsertBefore(&b, &c);  // already before c
    CDeque<Item>::InsertBefore(&b, &b);  // before itself: stays
    EXPECT_EQ(Forward(d), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(Backward(d), (std::vector<int>{3, 2, 1}));
    d.PushFront(&c);
    EXPECT_EQ(Forward(d), (std::vector<int>{3, 1, 2}));
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

TEST(PriorityQueue, ReinsertingAQueuedElementMovesIt) {
    CPriorityQueue<Timed, int> q;
    Timed a(1, 1), b(2, 2), c(3, 3);
    q.Insert(&a);
    q.Insert(&b);
    q.Insert(&c);
    a.key = 5;
    q.Insert(&a);  // a changed its key: it moves to its new place
    std::vector<int> ids;
    for (Timed* t = q.First(); t; t = t->Next()) ids.push_back(t->id);
    EXPECT_EQ(ids, (std::vector<int>{2, 3, 1}));
}

}  // namespace tessera::test
