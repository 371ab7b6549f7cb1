// The options sheet's bindings: a value outside a parameter's limits is refused and leaves it as it was;
// defaults come back.
#include "config/option_descriptors.h"

#include <gtest/gtest.h>

#include "config/parameters.h"
#include "support/temp_folder.h"

namespace tessera::test {
namespace {

using OptionDescriptors = TempConfigTest;

TEST_F(OptionDescriptors, RefusedValuesChangeNothingAndDefaultsComeBack) {
    for (const COptionDescriptor& option : tessera::OptionDescriptors()) {
        if (option.kind == EOptionKind::String || option.kind == EOptionKind::Color) continue;
        SCOPED_TRACE(option.param->Key());
        const int64_t low = OptionMinimum(option), high = OptionMaximum(option);
        ASSERT_TRUE(StoreOption(option, high));
        EXPECT_FALSE(StoreOption(option, high + 1));
        EXPECT_FALSE(StoreOption(option, low - 1));
        EXPECT_EQ(OptionValue(option), high);
        RestoreOptionDefault(option);
        EXPECT_EQ(option.param->GetText(), option.param->DefaultText());
    }
}

}  // namespace
}  // namespace tessera::test
