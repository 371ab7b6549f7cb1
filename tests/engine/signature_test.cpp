// The translation-independent signature against a formula computed from the cells.
#include <gtest/gtest.h>

#include "support/cells.h"
#include "support/reference_life.h"

namespace tessera::test {
namespace {

TEST(Signature, EqualsTheFormulaAndIgnoresShifts) {
    std::mt19937 rng(41);
    for (int trial = 0; trial < 20; ++trial) {
        const Cells cells = RandomSoup(rng, -10, -10, 30, 25, 0.1 + 0.02 * trial);
        auto u = MakeUniverse(cells);
        const uint32_t signature = u->GetSignature();
        EXPECT_EQ(signature, ReferenceSignature(cells));
        auto moved = MakeUniverse(Shifted(cells, 12345 * trial - 7, -999 * trial));
        EXPECT_EQ(moved->GetSignature(), signature);
    }
}

TEST(Signature, EditsForgetTheOldSignature) {
    auto u = MakeUniverse(Glider());
    const uint32_t glider = u->GetSignature();
    u->SetCell(10, 10);
    EXPECT_EQ(u->KnownSignature(), 0u);
    Cells cells = Glider();
    cells.insert({10, 10});
    EXPECT_EQ(u->GetSignature(), ReferenceSignature(cells));
    u->ClearCell(10, 10);
    EXPECT_EQ(u->GetSignature(), glider);
}

}  // namespace
}  // namespace tessera::test
