#include "patterns/discriminator_tree.h"

#include <algorithm>
#include <map>
#include <set>

#include "engine/universe.h"
#include "foundation/dict_keys.h"
#include "patterns/component_index.h"
#include "patterns/pattern.h"

namespace tessera {
namespace {

struct CPointLess {
    bool operator()(const CLPoint& a, const CLPoint& b) const { return CompareKeys(a, b) < 0; }
};
using CellSet = std::set<CLPoint, CPointLess>;

// The live cells of a reference's placed phase, in the component's frame.
CellSet PlacedCells(const CComponentBackReference& reference) {
    CellSet cells;
    CUniverse& phase =
        reference.ref.pattern->GetPatternGeneration(reference.ref.transform, reference.ref.phase);
    CUniverseUse use(phase);
    ExplorePtr e = phase.ExploreAll();
    while (e->Next()) {
        const CLPoint p = e->Current();
        cells.insert({p.x + reference.ref.offsetX, p.y + reference.ref.offsetY});
    }
    return cells;
}

}  // namespace

// The point map: for each cell around the shape, the candidates that have a live cell there.
class CDiscriminatorTree::CBuilder {
public:
    CBuilder(const CComponent& component, std::vector<CNode>& nodes) : nodes_(nodes) {
        CellSet own;
        ExplorePtr e = component.Shape().ExploreAll();
        while (e->Next()) own.insert(e->Current());
        for (const CComponentBackReference* r = component.PartialReferences().First(); r; r = r->Next()) {
            members_.push_back(r);
            for (const CLPoint& p : PlacedCells(*r))
                if (!own.contains(p)) pointMap_[p].insert(members_.size() - 1);
        }
    }

    void BuildAll() {
        std::vector<size_t> all(members_.size());
        for (size_t i = 0; i < all.size(); ++i) all[i] = i;
        Build(all, 0);
    }

private:
    // Builds the subtree for the candidates set at index; the first index after it.
    size_t Build(const std::vector<size_t>& set, size_t index) {
        if (nodes_.size() <= index) nodes_.resize(index + 1);
        const CLPoint* best = nullptr;
        size_t bestCount = 0;
        for (const auto& entry : pointMap_) {
            const std::set<size_t>& holders = entry.second;
            const size_t count = static_cast<size_t>(
                std::count_if(set.begin(), set.end(), [&holders](size_t m) { return holders.contains(m); }));
            if (count < set.size() && count > bestCount) best = &entry.first, bestCount = count;
        }
        if (!best) {  // nothing tells them apart: try the earliest phase
            nodes_[index].live = members_[*std::min_element(set.begin(), set.end(), [&](size_t a, size_t b) {
                return members_[a]->ref.phase < members_[b]->ref.phase;
            })];
            return index + 1;
        }
        const std::set<size_t>& holders = pointMap_.at(*best);
        std::vector<size_t> live, dead;
        for (size_t m : set) (holders.contains(m) ? live : dead).push_back(m);
        nodes_[index].test = *best;
        size_t after = index + 1;
        if (dead.size() == 1)
            nodes_[index].dead = members_[dead.front()];
        else
            after = Build(dead, index + 1);
        if (live.size() == 1) {
            nodes_[index].live = members_[live.front()];
            return after;
        }
        nodes_[index].next = after;
        return Build(live, after);
    }

    std::vector<CNode>& nodes_;
    std::vector<const CComponentBackReference*> members_;  // the partial references in list order
    std::map<CLPoint, std::set<size_t>, CPointLess> pointMap_;
};

std::unique_ptr<CDiscriminatorTree> CDiscriminatorTree::Build(const CComponent& component) {
    auto tree = std::make_unique<CDiscriminatorTree>();
    CBuilder(component, tree->nodes_).BuildAll();
    return tree;
}

const CComponentBackReference* CDiscriminatorTree::Find(CUniverse& world, CLSize offset,
                                                        const Verifier& verify) const {
    return Walk(0, world, offset, verify);
}

const CComponentBackReference* CDiscriminatorTree::Walk(size_t index, CUniverse& world, CLSize offset,
                                                        const Verifier& verify) const {
    for (; index < nodes_.size(); ++index) {
        const CNode& node = nodes_[index];
        const bool untested = node.test == kNoTest;
        if (untested || world.IsAlive(node.test.x + offset.cx, node.test.y + offset.cy)) {
            if (node.live) {
                if (verify(*node.live)) return node.live;
            } else if (node.next != 0) {
                if (const CComponentBackReference* found = Walk(node.next, world, offset, verify))
                    return found;
            }
        }
        if (node.dead) return verify(*node.dead) ? node.dead : nullptr;
    }
    return nullptr;
}

}  // namespace tessera
