#pragma once
// Intrusive circular doubly linked lists. An element class derives from CDequeElement<T>; the links
// live in the element, so linking and unlinking never allocate and an element knows whether it is linked.
// An unlinked node links to itself in both directions; an empty deque is a head linked to itself.

namespace tessera {

class CDequeBehavior {
public:
    CDequeBehavior() = default;
    CDequeBehavior(const CDequeBehavior&) = delete;
    CDequeBehavior& operator=(const CDequeBehavior&) = delete;
    virtual ~CDequeBehavior() = default;

    virtual bool IsHead() const = 0;

    bool IsLinked() const { return next_ != this; }

    // Joins the neighbours and makes this node link to itself; harmless when not linked.
    void Unlink() {
        next_->prev_ = prev_;
        prev_->next_ = next_;
        next_ = prev_ = this;
    }

    // Links this node just before / just after position (which may be a head). The node leaves its
    // old place first, so moving it next to one of its own neighbours keeps it in the ring.
    void LinkBefore(CDequeBehavior* position) {
        if (position == this) return;
        Unlink();
        Join(position->prev_, position);
    }
    void LinkAfter(CDequeBehavior* position) {
        if (position == this) return;
        Unlink();
        Join(position, position->next_);
    }

    CDequeBehavior* NextLink() const { return next_; }
    CDequeBehavior* PrevLink() const { return prev_; }

protected:
    // Takes this head's chain out and appends it to the head `to`, keeping order. (Appending rather than
    // overwriting keeps whatever `to` already held.)
    void MoveChainTo(CDequeBehavior& to) {
        if (!IsLinked() || &to == this) return;
        CDequeBehavior* first = next_;
        CDequeBehavior* last = prev_;
        next_ = prev_ = this;
        first->prev_ = to.prev_;
        to.prev_->next_ = first;
        last->next_ = &to;
        to.prev_ = last;
    }

private:
    void Join(CDequeBehavior* before, CDequeBehavior* after) {
        prev_ = before;
        next_ = after;
        before->next_ = this;
        after->prev_ = this;
    }

    CDequeBehavior* next_ = this;
    CDequeBehavior* prev_ = this;
};

template <class T>
class CDequeElement : public CDequeBehavior {
public:
    ~CDequeElement() override { Unlink(); }
    bool IsHead() const override { return false; }

    // The following / preceding element, or none at the head. Iteration needs no pointer to the deque.
    T* Next() const { return AsElement(NextLink()); }
    T* Prev() const { return AsElement(PrevLink()); }

    static T* AsElement(CDequeBehavior* node) {
        return node->IsHead() ? nullptr : static_cast<T*>(static_cast<CDequeElement<T>*>(node));
    }
};

template <class T>
class CDeque : public CDequeBehavior {
public:
    CDeque() = default;
    // The elements keep their links to each other; only the head leaves the ring.
    ~CDeque() override { Unlink(); }
    bool IsHead() const override { return true; }

    bool IsEmpty() const { return !IsLinked(); }
    T* First() const { return CDequeElement<T>::AsElement(NextLink()); }
    T* Last() const { return CDequeElement<T>::AsElement(PrevLink()); }

    void PushBack(T* element) { element->LinkBefore(this); }
    void PushFront(T* element) { element->LinkAfter(this); }
    static void InsertBefore(T* element, CDequeBehavior* position) { element->LinkBefore(position); }
    static void InsertAfter(T* element, CDequeBehavior* position) { element->LinkAfter(position); }

    // Moves every element to the back of `to` (normally empty), keeping order; this deque becomes empty.
    void MoveAllTo(CDeque& to) { MoveChainTo(to); }

    // Unlinks and destroys every element from first to last.
    void DeleteAll() {
        for (T* e = First(); e;) {
            T* next = e->Next();
            e->Unlink();
            delete e;
            e = next;
        }
    }

    // Number of elements (a full walk).
    int Count() const {
        int n = 0;
        for (T* e = First(); e; e = e->Next()) ++n;
        return n;
    }
};

// A deque that destroys its elements when it is destroyed.
template <class T>
class CTidyDeque : public CDeque<T> {
public:
    ~CTidyDeque() override { this->DeleteAll(); }
};

template <class T, class K>
class CPriorityQueueElement : public CDequeElement<T> {
public:
    K key{};
};

// Elements in ascending key order; equal keys stay in arrival order, so the first element always has
// the smallest key and is the earliest of its equals.
template <class T, class K>
class CPriorityQueue : public CDeque<T> {
public:
    void Insert(T* element) {
        for (T* e = this->First(); e; e = e->Next()) {
            if (element->key < e->key) {
                element->LinkBefore(e);
                return;
            }
        }
        this->PushBack(element);
    }
};

}  // namespace tessera
