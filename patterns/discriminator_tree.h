#pragma once
// A discriminator tree picks, among the many placements that a small shared piece (a block, a blinker)
// occurs in, the one that fits the world by testing a few cells around the piece instead of verifying
// every candidate.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "foundation/geometry.h"

namespace tessera {

class CComponent;
class CComponentBackReference;
class CUniverse;

class CDiscriminatorTree {
public:
    // Answers whether the reference, shifted by the recognition offset, stands in the world.
    using Verifier = std::function<bool(const CComponentBackReference&)>;

    // Splits the component's partial references by the cells they have around the shape.
    [[nodiscard]] static std::unique_ptr<CDiscriminatorTree> Build(const CComponent& component);

    // Walks the tree from the root, testing cells of world shifted by offset; the first reference that
    // verify accepts, or none.
    const CComponentBackReference* Find(CUniverse& world, CLSize offset, const Verifier& verify) const;

    size_t NodeCount() const { return nodes_.size(); }

private:
    struct CNode {
        CLPoint test = kNoTest;  // a cell in the component's frame, or kNoTest
        size_t next = 0;         // where the live branch continues (0: none)
        const CComponentBackReference* live = nullptr;
        const CComponentBackReference* dead = nullptr;
    };
    static constexpr CLPoint kNoTest{2147483646, 2147483646};

    class CBuilder;
    const CComponentBackReference* Walk(size_t index, CUniverse& world, CLSize offset,
                                        const Verifier& verify) const;

    std::vector<CNode> nodes_;
};

}  // namespace tessera
