#include "foundation/dict.h"

namespace tessera {
namespace {

// A path deeper than any AVL tree that fits in memory means the tree is corrupt.
[[noreturn]] void ThrowCorruptTree() { throw CErrorException(msg::UnexpectedError); }

}  // namespace

// Lifts a->links_[side] (b) above a, a going to b's other side. Balance bits are the caller's.
CDictNodeBase* CDictBase::RotateSingle(CDictNodeBase* a, int side) {
    const int other = 1 - side;
    CDictNodeBase* b = a->links_[side];
    if (b->IsThread(other)) {
        // b had nothing on its inner side: its thread there pointed to a, and a now threads back to b.
        a->links_[side] = b;
        a->SetThread(side);
    } else {
        a->links_[side] = b->links_[other];
    }
    b->links_[other] = a;
    b->ClearThread(other);
    return b;
}

// Lifts c, the inner grandchild of a on `side`, above both a and its child b, and sets the three balances.
CDictNodeBase* CDictBase::RotateDouble(CDictNodeBase* a, int side) {
    const int other = 1 - side;
    CDictNodeBase* b = a->links_[side];
    CDictNodeBase* c = b->links_[other];
    // c's outer threads pointed to b (its predecessor or successor) and to a.
    if (c->IsThread(side)) {
        b->links_[other] = c;
        b->SetThread(other);
    } else {
        b->links_[other] = c->links_[side];
    }
    if (c->IsThread(other)) {
        a->links_[side] = c;
        a->SetThread(side);
    } else {
        a->links_[side] = c->links_[other];
    }
    c->links_[side] = b;
    c->links_[other] = a;
    c->ClearThread(side);
    c->ClearThread(other);

    if (c->IsHeavy(side)) {
        b->SetBalance(0);
        a->SetBalance(CDictNodeBase::HeavyBit(other));
    } else if (c->IsHeavy(other)) {
        b->SetBalance(CDictNodeBase::HeavyBit(side));
        a->SetBalance(0);
    } else {
        b->SetBalance(0);
        a->SetBalance(0);
    }
    c->SetBalance(0);
    return c;
}

CDictNodeBase* CDictBase::InsertNode(CDictNodeBase* node) {
    if (!root_) {
        node->links_[0] = node->links_[1] = nullptr;
        node->flags_ = CDictNodeBase::kNewNodeFlags | CDictNodeBase::kInTree;
        root_ = node;
        ++count_;
        return nullptr;
    }

    CDictNodeBase* path[kInsertPathSize];
    int sides[kInsertPathSize];
    int depth = 0;
    CDictNodeBase* parent = root_;
    int side;
    for (;;) {
        int c = parent->CompareNode(*node);
        if (c == 0) return parent;
        side = c < 0 ? 1 : 0;
        if (depth == kInsertPathSize) ThrowCorruptTree();
        path[depth] = parent;
        sides[depth] = side;
        ++depth;
        if (parent->IsThread(side)) break;
        parent = parent->links_[side];
    }

    // The new leaf takes over the parent's thread on its side and threads back to the parent.
    node->links_[side] = parent->links_[side];
    node->links_[1 - side] = parent;
    node->flags_ = CDictNodeBase::kNewNodeFlags | CDictNodeBase::kInTree;
    parent->links_[side] = node;
    parent->ClearThread(side);

    // Retrace: the subtree on sides[i] of path[i] grew by one level.
    for (int i = depth - 1; i >= 0; --i) {
        CDictNodeBase* a = path[i];
        const int grown = sides[i];
        if (a->IsBalanced()) {
            a->SetBalance(CDictNodeBase::HeavyBit(grown));
            continue;
        }
        if (a->IsHeavy(1 - grown)) {
            a->SetBalance(0);
            break;
        }
        CDictNodeBase* b = a->links_[grown];
        CDictNodeBase* top;
        if (b->IsHeavy(grown)) {
            top = RotateSingle(a, grown);
            a->SetBalance(0);
            b->SetBalance(0);
        } else {
            top = RotateDouble(a, grown);
        }
        if (i == 0)
            root_ = top;
        else
            path[i - 1]->links_[sides[i - 1]] = top;
        break;
    }
    ++count_;
    return nullptr;
}

bool CDictBase::RemoveNode(CDictNodeBase* node) {
    if (!root_ || !node->IsInTree()) return false;

    CDictDummyNode pseudoRoot;
    pseudoRoot.links_[0] = root_;
    pseudoRoot.ClearThread(0);

    CDictNodeBase* path[kRemovePathSize];
    int sides[kRemovePathSize];
    path[0] = &pseudoRoot;
    sides[0] = 0;
    int depth = 1;

    CDictNodeBase* p = root_;
    for (;;) {
        int c = p->CompareNode(*node);
        if (c == 0) break;
        int side = c < 0 ? 1 : 0;
        if (depth == kRemovePathSize) ThrowCorruptTree();
        path[depth] = p;
        sides[depth] = side;
        ++depth;
        if (p->IsThread(side)) return false;
        p = p->links_[side];
    }
    if (p != node) return false;  // an equal key held by another node

    CDictNodeBase* parent = path[depth - 1];
    const int parentSide = sides[depth - 1];

    if (p->IsThread(0) || p->IsThread(1)) {
        // At most one child: splice p out.
        const int childSide = p->IsThread(0) ? 1 : 0;  // the side that may hold a child
        if (p->IsThread(childSide)) {
            // A leaf: the parent's link becomes the thread p had on the same side.
            parent->links_[parentSide] = p->links_[parentSide];
            parent->SetThread(parentSide);
        } else {
            CDictNodeBase* child = p->links_[childSide];
            parent->links_[parentSide] = child;
            // The neighbour inside the child's subtree threaded to p; it inherits p's other thread.
            CDictNodeBase* neighbour = Outermost(child, 1 - childSide);
            neighbour->links_[1 - childSide] = p->links_[1 - childSide];
        }
    } else {
        // Two children: the successor s (leftmost of the right subtree) takes p's place.
        CDictNodeBase* predecessor = Outermost(p->links_[0], 1);
        const int slot = depth;  // where s will stand in the path
        if (depth + 1 >= kRemovePathSize) ThrowCorruptTree();
        sides[depth] = 1;
        ++depth;
        CDictNodeBase* s = p->links_[1];
        if (s->IsThread(0)) {
            // The right child itself: it keeps its right subtree and adopts p's left one.
            s->links_[0] = p->links_[0];
            s->ClearThread(0);
        } else {
            CDictNodeBase* sParent = nullptr;
            while (!s->IsThread(0)) {
                if (depth == kRemovePathSize) ThrowCorruptTree();
                sParent = s;
                path[depth] = s;
                sides[depth] = 0;
                ++depth;
                s = s->links_[0];
            }
            // Detach s: its parent's left link takes s's right child, or threads back to s, which
            // still precedes it once s stands in p's place.
            if (s->IsThread(1)) {
                sParent->links_[0] = s;
                sParent->SetThread(0);
            } else {
                sParent->links_[0] = s->links_[1];
            }
            s->links_[0] = p->links_[0];
            s->links_[1] = p->links_[1];
            s->ClearThread(0);
            s->ClearThread(1);
        }
        s->SetBalance(p->flags_ & (CDictNodeBase::kLeftHeavy | CDictNodeBase::kRightHeavy));
        path[slot] = s;
        parent->links_[parentSide] = s;
        predecessor->links_[1] = s;
    }

    // Retrace: the subtree on sides[i] of path[i] shrank by one level.
    for (int i = depth - 1; i >= 1; --i) {
        CDictNodeBase* a = path[i];
        const int shrunk = sides[i];
        const int other = 1 - shrunk;
        if (a->IsBalanced()) {
            a->SetBalance(CDictNodeBase::HeavyBit(other));
            break;
        }
        if (a->IsHeavy(shrunk)) {
            a->SetBalance(0);
            continue;
        }
        CDictNodeBase* b = a->links_[other];
        CDictNodeBase* top;
        bool shorter = true;
        if (b->IsBalanced()) {
            top = RotateSingle(a, other);
            a->SetBalance(CDictNodeBase::HeavyBit(other));
            b->SetBalance(CDictNodeBase::HeavyBit(shrunk));
            shorter = false;
        } else if (b->IsHeavy(other)) {
            top = RotateSingle(a, other);
            a->SetBalance(0);
            b->SetBalance(0);
        } else {
            top = RotateDouble(a, other);
        }
        path[i - 1]->links_[sides[i - 1]] = top;
        if (!shorter) break;
    }

    root_ = pseudoRoot.IsThread(0) ? nullptr : pseudoRoot.links_[0];
    node->links_[0] = node->links_[1] = nullptr;
    node->flags_ = CDictNodeBase::kNewNodeFlags;
    --count_;
    return true;
}

void CDictBase::Clear() {
    CDictNodeBase* node = FirstNode();
    root_ = nullptr;
    count_ = 0;
    while (node) {
        CDictNodeBase* next = NextNode(node);
        node->links_[0] = node->links_[1] = nullptr;
        node->flags_ = CDictNodeBase::kNewNodeFlags;
        delete node;
        node = next;
    }
}

}  // namespace tessera
