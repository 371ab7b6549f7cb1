// The translation-independent signature against a formula computed from the cells.
#include <gtest/gtest.h>

#include "support/cells.h"
#include "support/reference_life.h"

namespace tessera::test {
namespace {

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
