// The parameter table: a few rows, and the properties every row must have.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <set>
#include <string>

#include "config/ini_document.h"
#include "support/temp_folder.h"

namespace tessera::test {
namespace {

// A few rows typed in from the table's description: the first, the last, and one of each kind.
TEST(ParameterTable, SampleRowsAndTheirKinds) {
    const auto all = AllParameters();
    ASSERT_EQ(all.size(), 128u);
    EXPECT_STREQ(all.front()->Key(), "AutoSaveConfig");
    EXPECT_STREQ(all.back()->Key(), "LibraryLoadBreak");
    auto* keepEvery = dynamic_cast<CParamInt*>(&params::KeepEvery);
    ASSERT_NE(keepEvery, nullptr);
    EXPECT_EQ(keepEvery->DefaultText(), "50");
    EXPECT_EQ(keepEvery->Min(), 1);
    EXPECT_EQ(keepEvery->Max(), 32767);
    auto* heapBlock = dynamic_cast<CParamUInt*>(&params::HeapBlockSize);
    ASSERT_NE(heapBlock, nullptr);
    EXPECT_EQ(heapBlock->DefaultText(), "500000");
    EXPECT_EQ(heapBlock->Min(), 32768u);
    EXPECT_EQ(heapBlock->Max(), 100000000u);
    EXPECT_NE(dynamic_cast<CParamString*>(&params::DefaultRule), nullptr);
    EXPECT_EQ(params::DefaultRule.DefaultText(), "23/3");
    EXPECT_NE(dynamic_cast<CParamColor*>(&params::AliveColor), nullptr);
    EXPECT_EQ(params::AliveColor.DefaultText(), "192 0 192");
    EXPECT_NE(std::find(all.begin(), all.end(), &params::MaxMemory), all.end());
}

TEST(ParameterTable, KeysAreDistinctAndStorable) {
    std::set<std::string> folded;
    for (CParam* param : AllParameters()) {
        std::string key = param->Key();
        EXPECT_TRUE(CIniDocument::IsStorableKey(key)) << key;
        for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_TRUE(folded.insert(key).second) << "duplicate key " << param->Key();
    }
}

using ParameterDefaults = TempConfigTest;

TEST_F(ParameterDefaults, EveryDefaultIsValidAndReadWithoutAFile) {
    ASSERT_FALSE(std::filesystem::exists(iniPath_));
    for (CParam* param : AllParameters()) {
        SCOPED_TRACE(param->Key());
        EXPECT_TRUE(param->IsValid(param->DefaultText()));
        EXPECT_EQ(param->GetText(), param->DefaultText());
        EXPECT_FALSE(param->IsDirty());
    }
    EXPECT_EQ(params::AliveColor.GetColor(), 192u + 0u * 256 + 192u * 65536);
    EXPECT_FALSE(std::filesystem::exists(iniPath_));
}

// Every numeric parameter takes its limits from the file and refuses one step beyond them. The file
// holds one such value for every parameter at once.
enum class Bound { Min, Max, BelowMin, AboveMax };

// The text for the bound, or nothing when an unsigned minimum of 0 has no value below it.
std::optional<std::string> BoundText(CParam* param, Bound bound) {
    int64_t min = 0, max = 0;
    if (auto* p = dynamic_cast<CParamInt*>(param)) {
        min = p->Min();
        max = p->Max();
    } else if (auto* u = dynamic_cast<CParamUInt*>(param)) {
        min = u->Min();
        max = u->Max();
        if (bound == Bound::BelowMin && min == 0) return std::nullopt;
    } else {
        return std::nullopt;
    }
    switch (bound) {
        case Bound::Min:
            return std::to_string(min);
        case Bound::Max:
            return std::to_string(max);
        case Bound::BelowMin:
            return std::to_string(min - 1);
        case Bound::AboveMax:
            return std::to_string(max + 1);
    }
    return std::nullopt;
}

TEST_F(ParameterDefaults, EveryNumericRangeIsEnforcedAtItsBounds) {
    for (Bound bound : {Bound::Min, Bound::Max, Bound::BelowMin, Bound::AboveMax}) {
        std::string text = "[Parameters]\n";
        for (CParam* param : AllParameters()) {
            if (auto value = BoundText(param, bound)) text += std::string(param->Key()) + "=" + *value + "\n";
        }
        WriteIni(text);
        ResetAllParameters();
        const bool accepted = bound == Bound::Min || bound == Bound::Max;
        for (CParam* param : AllParameters()) {
            auto value = BoundText(param, bound);
            if (!value) continue;
            SCOPED_TRACE(param->Key());
            EXPECT_EQ(param->GetText(), accepted ? *value : param->DefaultText());
            if (!accepted) continue;
            if (auto* p = dynamic_cast<CParamInt*>(param)) {
                EXPECT_EQ(std::to_string(p->GetInt()), *value);
            } else if (auto* u = dynamic_cast<CParamUInt*>(param)) {
                EXPECT_EQ(std::to_string(u->GetUInt()), *value);
            }
        }
    }
}

}  // namespace
}  // namespace tessera::test
