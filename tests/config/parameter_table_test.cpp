// The parameter table: a few rows, the properties every row must have, and the options bound to them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <tuple>

#include "config/ini_document.h"
#include "config/option_descriptors.h"
#include "support/temp_folder.h"

namespace tessera::test {
namespace {

// A few rows typed in from the table's description: the first, the last, and a signed and an unsigned range.
TEST(ParameterTable, SampleRows) {
    const auto all = AllParameters();
    ASSERT_EQ(all.size(), 128u);
    EXPECT_STREQ(all.front()->Key(), "AutoSaveConfig");
    EXPECT_STREQ(all.back()->Key(), "LibraryLoadBreak");
    const CParamInt& keepEvery = params::KeepEvery;
    EXPECT_EQ(std::tuple(keepEvery.DefaultText(), keepEvery.Min(), keepEvery.Max()),
              std::tuple("50", 1, 32767));
    const CParamUInt& heapBlock = params::HeapBlockSize;
    EXPECT_EQ(std::tuple(heapBlock.DefaultText(), heapBlock.Min(), heapBlock.Max()),
              std::tuple("500000", 32768u, 100000000u));
}

using ParameterDefaults = TempConfigTest;

// Keys are distinct ignoring case and fit in an INI line; defaults are valid and read without a file.
TEST_F(ParameterDefaults, KeysAreDistinctAndEveryDefaultIsValidAndReadWithoutAFile) {
    std::set<std::string> folded;
    for (CParam* param : AllParameters()) {
        SCOPED_TRACE(param->Key());
        std::string key = param->Key();
        EXPECT_TRUE(CIniDocument::IsStorableKey(key));
        for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_TRUE(folded.insert(key).second) << "duplicate key";
        EXPECT_TRUE(param->IsValid(param->DefaultText()));
        EXPECT_EQ(param->GetText(), param->DefaultText());
        EXPECT_FALSE(param->IsDirty());
    }
    EXPECT_FALSE(std::filesystem::exists(iniPath_));  // reading made no file
}

// Every numeric parameter takes the values at its limits and refuses one step beyond them; the options
// sheet's bindings go through the same limits, leave a refused value as it was and restore defaults.
TEST_F(ParameterDefaults, EveryNumericRangeHoldsAtItsBounds) {
    for (CParam* param : AllParameters()) {
        int64_t min = 0, max = 0;
        if (auto* p = dynamic_cast<CParamInt*>(param)) {
            min = p->Min(), max = p->Max();
        } else if (auto* u = dynamic_cast<CParamUInt*>(param)) {
            min = u->Min(), max = u->Max();
        } else {
            continue;
        }
        SCOPED_TRACE(param->Key());
        EXPECT_TRUE(param->IsValid(std::to_string(min)));
        EXPECT_TRUE(param->IsValid(std::to_string(max)));
        EXPECT_FALSE(param->IsValid(std::to_string(max + 1)));
        // An unsigned minimum of 0 has no text below it: "-1" reads as the largest value.
        if (min > 0 || dynamic_cast<CParamInt*>(param)) {
            EXPECT_FALSE(param->IsValid(std::to_string(min - 1)));
        }
    }
    for (const COptionDescriptor& option : OptionDescriptors()) {
        if (option.kind == EOptionKind::String || option.kind == EOptionKind::Color) continue;
        SCOPED_TRACE(option.param->Key());
        ASSERT_TRUE(StoreOption(option, OptionMaximum(option)));
        EXPECT_FALSE(StoreOption(option, OptionMaximum(option) + 1));
        EXPECT_FALSE(StoreOption(option, OptionMinimum(option) - 1));
        EXPECT_EQ(OptionValue(option), OptionMaximum(option));
        RestoreOptionDefault(option);
        EXPECT_EQ(option.param->GetText(), option.param->DefaultText());
    }
}

}  // namespace
}  // namespace tessera::test
