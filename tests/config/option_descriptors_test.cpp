// The options sheet's bindings: each control edits one parameter of the table, within its limits, and
// a value the parameter refuses leaves it as it was.
#include "config/option_descriptors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "config/parameters.h"
#include "support/temp_folder.h"

namespace tessera::test {
namespace {

using OptionDescriptors = TempConfigTest;

TEST_F(OptionDescriptors, BindEachParameterOnceWithinItsLimits) {
    const auto all = AllParameters();
    std::set<const CParam*> bound;
    for (const COptionDescriptor& option : tessera::OptionDescriptors()) {
        SCOPED_TRACE(option.param->Key());
        EXPECT_NE(std::find(all.begin(), all.end(), option.param), all.end());
        EXPECT_TRUE(bound.insert(option.param).second) << "bound twice";
        const bool twoWay = option.kind == EOptionKind::Bool || option.kind == EOptionKind::Radio;
        if (twoWay) {
            EXPECT_EQ(OptionMinimum(option), 0);
            EXPECT_EQ(OptionMaximum(option), 1);
        }
        if (option.kind == EOptionKind::Color) {
            EXPECT_NE(dynamic_cast<CParamColor*>(option.param), nullptr);
        }
        if (option.kind == EOptionKind::Radio) {
            EXPECT_NE(*option.secondLabel, '\0');
        }
        if (option.kind == EOptionKind::Spin || option.kind == EOptionKind::LogSlider) {
            EXPECT_LT(OptionMinimum(option), OptionMaximum(option));
        }
    }
}

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
    const COptionDescriptor* colour = nullptr;
    for (const COptionDescriptor& option : tessera::OptionDescriptors())
        if (option.param == &params::AliveColor) colour = &option;
    ASSERT_NE(colour, nullptr);
    EXPECT_FALSE(StoreOption(*colour, std::string("256 0 0")));
    EXPECT_TRUE(StoreOption(*colour, std::string("1 2 3")));
    EXPECT_EQ(params::AliveColor.GetColor(), 1u + 2u * 256 + 3u * 65536);
}

}  // namespace
}  // namespace tessera::test
