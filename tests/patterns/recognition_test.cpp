// Recognition against the world itself: every placement found must put exactly the object's cells (and
// its partners') where they are, so a pattern of several pieces wins over its pieces; the halo must keep
// neighbours out, and the discriminator trees must find what a one-by-one search finds.
#include "patterns/recognition.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <random>
#include <vector>

#include "config/parameters.h"
#include "engine/growable_universe.h"
#include "engine/searchable_universe.h"
#include "engine/transform.h"
#include "patterns/component_index.h"
#include "patterns/pattern.h"
#include "rules/rule_code.h"
#include "support/cells.h"

namespace tessera::test {
namespace {

const Cells kBlock = CellsFromPicture("OO\nOO");
const Cells kBlinker = CellsFromPicture("OOO");
const Cells kBeehive = CellsFromPicture(".OO.\nO..O\n.OO.");
const Cells kBoat = CellsFromPicture("OO.\nO.O\n.O.");

class RecognitionTest : public ::testing::Test {
protected:
    void SetUp() override { InstallRecognition(); }
    void TearDown() override {
        patterns_.clear();
        ResetRecognition();
    }

    CPattern& Library(const Cells& cells) {
        patterns_.push_back(CreatePattern(*MakeUniverse(cells), ERecognizable::Yes));
        return *patterns_.back();
    }

    // Recognises the object at the cell (by default the world's first cell).
    bool RecogniseObject(CUniverse& world, CPatternRef& placement, std::optional<CLPoint> at = {}) {
        CSearchableUniverse hashed(world);
        std::unique_ptr<CUniverse> object =
            ConnectedCells(hashed, at ? *at : hashed.FirstCell(), UniverseLimits);
        return Recognise(*object, hashed, placement);
    }

    std::vector<std::unique_ptr<CPattern>> patterns_;
};

// The cells a placement puts into the world.
Cells PlacedCells(const CPatternRef& placement) {
    CUniverse& phase = placement.pattern->GetPatternGeneration(placement.transform, placement.phase);
    CUniverseUse use(phase);
    return Shifted(CellsOf(phase), placement.offsetX, placement.offsetY);
}

TEST_F(RecognitionTest, TheHaloKeepsNeighboursOut) {
    Library(kBlinker);
    Library(kBlock);
    CPatternRef placement;
    // A cell two rows above the blinker's centre is an object of its own but lies where the blinker's
    // vertical phase will stand.
    EXPECT_FALSE(RecogniseObject(*MakeUniverse({{0, 0}, {1, 0}, {2, 0}, {1, -2}}), placement, CLPoint{}));
    // Three rows above it is out of reach.
    EXPECT_TRUE(RecogniseObject(*MakeUniverse({{0, 0}, {1, 0}, {2, 0}, {1, -3}}), placement, CLPoint{}));
    // A block touched at a corner is one object of five cells, not a block.
    auto touched = MakeUniverse({{0, 0}, {1, 0}, {0, 1}, {1, 1}, {2, 2}});
    EXPECT_FALSE(RecogniseObject(*touched, placement));
}

TEST_F(RecognitionTest, DuplicatesTakeOverWhenTheFirstGoes) {
    CPattern& first = Library(kBeehive);
    CPattern& second = Library(CellsFromPicture(".O.\nO.O\nO.O\n.O."));  // the same shape turned
    EXPECT_EQ(&first, second.DuplicateOf());
    EXPECT_EQ(1, first.DuplicateCount());
    auto world = MakeUniverse(kBeehive);
    CPatternRef placement;
    ASSERT_TRUE(RecogniseObject(*world, placement));
    EXPECT_EQ(&first, placement.pattern);
    first.SetRecognizable(ERecognizable::No);
    EXPECT_EQ(nullptr, second.DuplicateOf());
    ASSERT_TRUE(RecogniseObject(*world, placement));
    EXPECT_EQ(&second, placement.pattern);
    second.SetRecognizable(ERecognizable::No);
    EXPECT_TRUE(TheComponentFinder().Components().empty());
}

TEST_F(RecognitionTest, DiscriminatorTreesFindWhatTheOneByOneSearchFinds) {
    // Many patterns share a block as a separate piece: a block with a blinker, a boat or another block
    // somewhere around it. Worlds hold one of them, or a lone block, in some orientation.
    const std::vector<const Cells*> partners{&kBlinker, &kBoat, &kBlock};
    std::vector<Cells> shapes;
    for (const Cells* partner : partners)
        for (int dx = 3; dx <= 5; ++dx)
            for (int dy = -3; dy <= 3; dy += 3) {
                Cells shape = kBlock;
                for (const CLPoint& p : *partner) shape.insert({p.x + dx, p.y + dy});
                shapes.push_back(shape);
            }
    shapes.push_back(kBlock);
    for (const Cells& shape : shapes) Library(shape);
    ASSERT_GE(patterns_.size(), 12u);

    std::mt19937 random(7);
    std::vector<std::unique_ptr<CGrowableUniverse>> worlds;
    for (int i = 0; i < 60; ++i) {
        auto source = MakeUniverse(shapes[random() % shapes.size()]);
        auto world = MakeUniverse({});
        PasteFrom(*world, *source, CTransform(static_cast<int32_t>(random() % 50), 0, random() % 8));
        worlds.push_back(std::move(world));
    }
    auto recogniseAll = [&]() {
        std::vector<Cells> found;
        for (auto& world : worlds) {
            CPatternRef placement;
            found.push_back(RecogniseObject(*world, placement) ? PlacedCells(placement) : Cells{});
        }
        return found;
    };
    std::vector<Cells> oneByOne;
    {
        CLibraryActivity reading;  // no tree while a library is being read
        oneByOne = recogniseAll();
    }
    const std::vector<Cells> withTrees = recogniseAll();
    size_t withTree = 0;
    for (CComponent* component : TheComponentFinder().Components()) withTree += component->Tree() != nullptr;
    EXPECT_GT(withTree, 0u);
    EXPECT_EQ(oneByOne, withTrees);
    for (size_t i = 0; i < worlds.size(); ++i) EXPECT_EQ(CellsOf(*worlds[i]), withTrees[i]) << i;
}

}  // namespace
}  // namespace tessera::test
