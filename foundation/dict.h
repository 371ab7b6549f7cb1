#pragma once
// Ordered dictionaries built as threaded AVL trees. A node class derives from one of the node classes
// below and a dictionary owns the nodes it holds. A link that has no child on its side is a thread to the
// in-order predecessor (left) or successor (right), so in-order stepping needs neither parent links nor
// a stack, and every walk keeps its path in a fixed local array.
//
// Declaring one:
//   class CRuleNode : public CDictScalarNode<CRuleNode, CName> { ... };   // key inside the node
//   using CRuleDict = CDictScalar<CRuleNode, CName>;
//   CSet<uint32_t>, CSet<const CPattern*>                                   // sets of values
//   CDictKeyed<CGame, CName>                                                // CGame has Key() -> name
// Keys compare through CompareKeys (dict_keys.h).
#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>

#include "foundation/dict_keys.h"
#include "foundation/errors.h"

namespace tessera {

class CDictNodeBase {
public:
    // Flag bits.
    static constexpr uint8_t kLeftHeavy = 0x01;    // left subtree one level taller
    static constexpr uint8_t kRightHeavy = 0x02;   // right subtree one level taller
    static constexpr uint8_t kLeftThread = 0x04;   // the left link is a thread
    static constexpr uint8_t kRightThread = 0x10;  // the right link is a thread
    static constexpr uint8_t kInTree = 0x20;
    static constexpr uint8_t kNewNodeFlags = kLeftThread | kRightThread;

    CDictNodeBase() = default;
    CDictNodeBase(const CDictNodeBase&) = delete;
    CDictNodeBase& operator=(const CDictNodeBase&) = delete;

    virtual ~CDictNodeBase() = default;
    // Negative, 0 or positive as this node's key is below, equal to or above the key. The key's type
    // is the one the node class is looked up by.
    virtual int CompareKey(const void* key) const = 0;
    // The same sign convention on this node's key and the other node's key.
    virtual int CompareNode(const CDictNodeBase& other) const = 0;

    CDictNodeBase* Left() const { return links_[0]; }
    CDictNodeBase* Right() const { return links_[1]; }
    uint8_t Flags() const { return flags_; }
    bool IsInTree() const { return (flags_ & kInTree) != 0; }

private:
    friend class CDictBase;

    // Sides: 0 left, 1 right.
    static constexpr uint8_t HeavyBit(int side) { return side ? kRightHeavy : kLeftHeavy; }
    static constexpr uint8_t ThreadBit(int side) { return side ? kRightThread : kLeftThread; }
    bool IsThread(int side) const { return (flags_ & ThreadBit(side)) != 0; }
    bool IsHeavy(int side) const { return (flags_ & HeavyBit(side)) != 0; }
    bool IsBalanced() const { return (flags_ & (kLeftHeavy | kRightHeavy)) == 0; }
    void SetBalance(uint8_t heavyBits) {
        flags_ = static_cast<uint8_t>((flags_ & ~(kLeftHeavy | kRightHeavy)) | heavyBits);
    }
    void SetThread(int side) { flags_ |= ThreadBit(side); }
    void ClearThread(int side) { flags_ = static_cast<uint8_t>(flags_ & ~ThreadBit(side)); }

    CDictNodeBase* links_[2] = {nullptr, nullptr};
    uint8_t flags_ = kNewNodeFlags;
};

// Typed node base: N is the concrete node class.
template <class N>
class CDictNodeBase2 : public CDictNodeBase {};

// A node that carries its key K. N is the concrete node class.
template <class N, class K>
class CDictScalarNode : public CDictNodeBase2<N> {
public:
    using key_type = K;

    CDictScalarNode() = default;
    explicit CDictScalarNode(K k) : key(std::move(k)) {}

    int CompareKey(const void* other) const override { return Compare(*static_cast<const K*>(other)); }
    int CompareNode(const CDictNodeBase& other) const override {
        return Compare(static_cast<const CDictScalarNode&>(other).key);
    }
    virtual int Compare(const K& other) const { return CompareKeys(key, other); }

    const K& Key() const { return key; }

    // Change only while the node is not in a tree.
    K key{};
};

// A set member: the key is the value itself (numbers, pointers).
template <class T>
class CSetNode : public CDictScalarNode<CSetNode<T>, T> {
public:
    CSetNode() = default;
    explicit CSetNode(const T& value) : CDictScalarNode<CSetNode<T>, T>(value) {}
};

// A node that refers to an object of type T and orders by the key the object carries, T::Key().
// The node owns the object it still refers to.
template <class T>
class CDictRefNode : public CDictNodeBase2<CDictRefNode<T>> {
public:
    explicit CDictRefNode(T* object) : object_(object) {}
    ~CDictRefNode() override { delete object_; }

    // The key here is another object of type T.
    int CompareKey(const void* other) const override { return CompareObject(*static_cast<const T*>(other)); }
    int CompareNode(const CDictNodeBase& other) const override {
        return CompareObject(*static_cast<const CDictRefNode&>(other).object_);
    }
    int CompareObject(const T& other) const { return CompareKeys(object_->Key(), other.Key()); }

    T* Object() const { return object_; }
    // Lets go of the object without destroying it.
    T* Release() {
        T* object = object_;
        object_ = nullptr;
        return object;
    }

private:
    T* object_;
};

// A reference node looked up by a key of type K that the object carries, T::Key().
template <class T, class K>
class CDictKeyedNode : public CDictRefNode<T> {
public:
    using key_type = K;
    using CDictRefNode<T>::CDictRefNode;

    int CompareKey(const void* key) const override { return Compare(*static_cast<const K*>(key)); }
    int Compare(const K& key) const { return CompareKeys(this->Object()->Key(), key); }
};

// Stands as the parent of the root while a node is removed, so that the root needs no special case.
class CDictDummyNode : public CDictNodeBase {
public:
    int CompareKey(const void*) const override { return 0; }
    int CompareNode(const CDictNodeBase&) const override { return 0; }
};

// Longest root-to-node path the walks can meet: the height of the tallest AVL tree whose nodes all fit
// in the address space (40 with 32-bit addresses, 84 with 64-bit ones).
constexpr int MaxDictTreeHeight() {
    // Fewest nodes of an AVL tree of height h: F(h + 2) - 1, with F the Fibonacci numbers.
    constexpr uint64_t maxNodes = SIZE_MAX / sizeof(CDictNodeBase);
    uint64_t a = 1, b = 2;  // F(h + 1), F(h + 2) for h = 1
    int h = 1;
    for (;;) {
        uint64_t c = a + b;
        if (c < b || c - 1 > maxNodes) break;
        a = b;
        b = c;
        ++h;
    }
    return h;
}

// Allocates a node; running out of memory is the program's out-of-memory failure.
template <class N, class... Args>
N* NewDictNode(Args&&... args) {
    try {
        return new N(std::forward<Args>(args)...);
    } catch (const std::bad_alloc&) {
        throw CMemoryException();
    }
}

// The untyped tree: the balancing and threading work for every dictionary.
class CDictBase {
public:
    CDictBase() = default;
    CDictBase(const CDictBase&) = delete;
    CDictBase& operator=(const CDictBase&) = delete;
    virtual ~CDictBase() { Clear(); }

    bool IsEmpty() const { return root_ == nullptr; }
    CDictNodeBase* Root() const { return root_; }

    // Lookups by a key of the type the nodes compare with (see CompareKey).
    CDictNodeBase* FindNode(const void* key) const {
        return FindWith([key](const CDictNodeBase* n) { return n->CompareKey(key); });
    }
    CDictNodeBase* FloorNode(const void* key) const {
        return FloorWith([key](const CDictNodeBase* n) { return n->CompareKey(key); });
    }
    CDictNodeBase* CeilingNode(const void* key) const {
        return CeilingWith([key](const CDictNodeBase* n) { return n->CompareKey(key); });
    }

    CDictNodeBase* FirstNode() const { return root_ ? Outermost(root_, 0) : nullptr; }
    CDictNodeBase* LastNode() const { return root_ ? Outermost(root_, 1) : nullptr; }
    static CDictNodeBase* NextNode(const CDictNodeBase* node) { return Step(node, 1); }
    static CDictNodeBase* PrevNode(const CDictNodeBase* node) { return Step(node, 0); }

    // Number of nodes, kept as nodes come and go so that asking costs nothing.
    size_t Count() const { return count_; }

    // None when inserted, else the node already holding an equal key (the tree is unchanged and the
    // caller keeps the rejected node).
    CDictNodeBase* InsertNode(CDictNodeBase* node);
    // Unlinks this very node; false, changing nothing, when it is not in this tree. The node is not
    // destroyed.
    bool RemoveNode(CDictNodeBase* node);
    // Destroys every node in key order.
    void Clear();

    // Path arrays of the walks; on 64 bits 85 and 86 entries (40 and 41 would do on 32 bits).
    static constexpr int kInsertPathSize = MaxDictTreeHeight() + 1;
    static constexpr int kRemovePathSize = MaxDictTreeHeight() + 2;  // also holds the pseudo-root

protected:
    // Walks with cmp(node) giving the sign of node's key against the sought key.
    template <class Cmp>
    CDictNodeBase* FindWith(Cmp cmp) const {
        for (CDictNodeBase* n = root_; n;) {
            int c = cmp(n);
            if (c == 0) return n;
            int side = c < 0 ? 1 : 0;
            if (n->IsThread(side)) return nullptr;
            n = n->links_[side];
        }
        return nullptr;
    }
    // The greatest node not above the key.
    template <class Cmp>
    CDictNodeBase* FloorWith(Cmp cmp) const {
        CDictNodeBase* best = nullptr;
        for (CDictNodeBase* n = root_; n;) {
            int c = cmp(n);
            if (c == 0) return n;
            if (c < 0) best = n;
            int side = c < 0 ? 1 : 0;
            if (n->IsThread(side)) break;
            n = n->links_[side];
        }
        return best;
    }
    // The smallest node not below the key.
    template <class Cmp>
    CDictNodeBase* CeilingWith(Cmp cmp) const {
        CDictNodeBase* best = nullptr;
        for (CDictNodeBase* n = root_; n;) {
            int c = cmp(n);
            if (c == 0) return n;
            if (c > 0) best = n;
            int side = c < 0 ? 1 : 0;
            if (n->IsThread(side)) break;
            n = n->links_[side];
        }
        return best;
    }

private:
    static CDictNodeBase* Outermost(CDictNodeBase* n, int side) {
        while (!n->IsThread(side)) n = n->links_[side];
        return n;
    }
    static CDictNodeBase* Step(const CDictNodeBase* node, int side) {
        if (node->IsThread(side)) return node->links_[side];
        return Outermost(node->links_[side], 1 - side);
    }
    static CDictNodeBase* RotateSingle(CDictNodeBase* a, int side);
    static CDictNodeBase* RotateDouble(CDictNodeBase* a, int side);

    CDictNodeBase* root_ = nullptr;
    size_t count_ = 0;
};

// Typed dictionary of nodes of class N.
template <class N>
class CDictBase2 : public CDictBase {
public:
    N* First() const { return Cast(FirstNode()); }
    N* Last() const { return Cast(LastNode()); }
    static N* Next(const N* node) { return Cast(NextNode(node)); }
    static N* Prev(const N* node) { return Cast(PrevNode(node)); }
    N* Insert(N* node) { return Cast(InsertNode(node)); }
    bool Remove(N* node) { return RemoveNode(node); }

protected:
    static N* Cast(CDictNodeBase* node) { return static_cast<N*>(node); }
};

// Dictionary of nodes that carry their key K; N derives from CDictScalarNode<N, K>.
template <class N, class K>
class CDictScalar : public CDictBase2<N> {
public:
    N* Find(const K& key) const { return this->Cast(this->FindWith(Comparer(key))); }
    N* Floor(const K& key) const { return this->Cast(this->FloorWith(Comparer(key))); }
    N* Ceiling(const K& key) const { return this->Cast(this->CeilingWith(Comparer(key))); }

private:
    static auto Comparer(const K& key) {
        return [&key](const CDictNodeBase* n) { return static_cast<const N*>(n)->Compare(key); };
    }
};

// A set of values (numbers, pointers), each in a node of its own.
template <class T>
class CSet : public CDictScalar<CSetNode<T>, T> {
public:
    bool Contains(const T& value) const { return this->Find(value) != nullptr; }
    // Adds a node for the value; false when the value was already there.
    bool Add(const T& value) {
        auto* node = NewDictNode<CSetNode<T>>(value);
        if (this->Insert(node)) {
            delete node;
            return false;
        }
        return true;
    }
    // Removes and destroys the value's node; false when the value was not there.
    bool Erase(const T& value) {
        CSetNode<T>* node = this->Find(value);
        if (!node) return false;
        this->Remove(node);
        delete node;
        return true;
    }
};

// Dictionary of objects held through reference nodes; it owns the objects its nodes still refer to.
template <class T>
class CDictRef : public CDictBase2<CDictRefNode<T>> {
public:
    using Node = CDictRefNode<T>;

    virtual Node* MakeNode(T* object) { return NewDictNode<Node>(object); }

    // Takes the object out without destroying it; false when this very object is not in the dictionary.
    virtual bool RemoveObject(T* object) {
        Node* node = FindNodeOf(*object);
        if (!node || node->Object() != object) return false;
        this->Remove(node);
        node->Release();
        delete node;
        return true;
    }

    // None when the object was inserted (the dictionary now owns it), else the object already present
    // under an equal key; the rejected object stays the caller's.
    virtual T* InsertObject(T* object) {
        Node* node = MakeNode(object);
        Node* present = this->Insert(node);
        if (!present) return nullptr;
        node->Release();
        delete node;
        return present->Object();
    }

    // The node holding an object with a key equal to the probe's.
    Node* FindNodeOf(const T& probe) const {
        return this->Cast(this->FindWith(
            [&probe](const CDictNodeBase* n) { return static_cast<const Node*>(n)->CompareObject(probe); }));
    }
    T* FindObject(const T& probe) const {
        Node* node = FindNodeOf(probe);
        return node ? node->Object() : nullptr;
    }
};

// Dictionary of objects looked up by the key of type K they carry (T::Key()).
template <class T, class K>
class CDictKeyed : public CDictRef<T> {
public:
    using Node = CDictKeyedNode<T, K>;

    typename CDictRef<T>::Node* MakeNode(T* object) override { return NewDictNode<Node>(object); }

    bool RemoveObject(T* object) override {
        Node* node = FindNode(object->Key());
        if (!node || node->Object() != object) return false;
        this->Remove(node);
        node->Release();
        delete node;
        return true;
    }

    Node* FindNode(const K& key) const { return Cast(this->FindWith(Comparer(key))); }
    Node* FloorNode(const K& key) const { return Cast(this->FloorWith(Comparer(key))); }
    Node* CeilingNode(const K& key) const { return Cast(this->CeilingWith(Comparer(key))); }
    T* Find(const K& key) const { return ObjectOf(FindNode(key)); }
    T* Floor(const K& key) const { return ObjectOf(FloorNode(key)); }
    T* Ceiling(const K& key) const { return ObjectOf(CeilingNode(key)); }

private:
    static Node* Cast(CDictNodeBase* node) { return static_cast<Node*>(node); }
    static T* ObjectOf(Node* node) { return node ? node->Object() : nullptr; }
    static auto Comparer(const K& key) {
        return [&key](const CDictNodeBase* n) { return static_cast<const Node*>(n)->Compare(key); };
    }
};

// Cursor over a reference dictionary in key order. Each move returns the new current node, none past
// either end.
template <class T>
class CDictRefIter {
public:
    using Node = CDictRefNode<T>;

    explicit CDictRefIter(const CDictRef<T>& dict) : dict_(&dict) {}
    virtual ~CDictRefIter() = default;

    virtual Node* Next() { return current_ = current_ ? CDictRef<T>::Next(current_) : nullptr; }
    virtual Node* Prev() { return current_ = current_ ? CDictRef<T>::Prev(current_) : nullptr; }
    virtual Node* First() { return current_ = dict_->First(); }
    virtual Node* Last() { return current_ = dict_->Last(); }

    Node* Current() const { return current_; }
    T* Object() const { return current_ ? current_->Object() : nullptr; }

protected:
    Node* current_ = nullptr;
    const CDictRef<T>* dict_;
};

template <class T, class K>
class CDictKeyedIter : public CDictRefIter<T> {
public:
    explicit CDictKeyedIter(const CDictKeyed<T, K>& dict) : CDictRefIter<T>(dict) {}
};

}  // namespace tessera
