// The parameter table checked against a second transcription of a sample of its rows, and properties
// that every row must have.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <set>
#include <string>
#include <variant>

#include "config/ini_document.h"
#include "temp_config.h"

namespace tessera {
namespace {

using testing::TempConfigTest;

struct IntRow { int32_t min, max; };
struct UIntRow { uint32_t min, max; };
struct StringRow {};
struct ColorRow {};

struct SampleRow {
    const char* key;
    const char* defaultText;
    std::variant<IntRow, UIntRow, StringRow, ColorRow> kind;
};

// Typed in separately from the table, spread over its whole length.
const SampleRow kSample[] = {
    {"AutoSaveConfig", "1", IntRow{0, 1}},
    {"WindowPosX", "32767", IntRow{0, 32767}},
    {"DialogBackgroundColor", "255 255 255", ColorRow{}},
    {"GridPitch", "10", IntRow{5, 12}},
    {"GrowDisplayStyle", "0", IntRow{0, 6}},
    {"TileTextHighlightColor", "0 255 255", ColorRow{}},
    {"DiedColor", "224 192 224", ColorRow{}},
    {"MapMaxPitch", "8", IntRow{1, 31}},
    {"PatternTileHeight", "85", UIntRow{20, 500}},
    {"AutoScrollInterval", "50", UIntRow{1, 1000}},
    {"BackgroundSlice", "250", IntRow{100, 10000}},
    {"KeepEvery", "50", IntRow{1, 32767}},
    {"KeepLastDisplayed", "16", UIntRow{1, 32767}},
    {"UndoListSize", "20", UIntRow{1, 20}},
    {"MinDiscriminatorReferences", "12", UIntRow{2, 256}},
    {"SystemLibraryName", "syslib.lfl", StringRow{}},
    {"ExploreFixupThreshold", "5000", UIntRow{100, 65535}},
    {"HeapBlockSize", "500000", UIntRow{32768, 100000000}},
    {"MaxMemory", "64", UIntRow{1, 2048}},
    {"XLifeRLELineLength", "70", IntRow{32, 255}},
    {"MaxClipboardBuffer", "65528", UIntRow{65528, 65528}},
    {"MaxSilentClipboardLength", "1024", IntRow{0, 65535}},
    {"CensusShowFormat", "%n\t%c", StringRow{}},
    {"AnonymousRules", "8", UIntRow{1, 32}},
    {"DefaultRule", "23/3", StringRow{}},
    {"MaxGrowSpeed", "10000", UIntRow{1000, 10000}},
    {"SlowStartGenerations", "16", UIntRow{0, 1000000}},
    {"TraceFile", "", StringRow{}},
    {"LibraryLoadBreak", "", StringRow{}},
};

TEST(ParameterTable, SampleRowsMatchInTableOrder) {
    const auto all = AllParameters();
    ASSERT_EQ(all.size(), 128u);
    EXPECT_STREQ(all.front()->Key(), "AutoSaveConfig");
    EXPECT_STREQ(all.back()->Key(), "LibraryLoadBreak");
    size_t previousIndex = 0;
    for (const auto& row : kSample) {
        SCOPED_TRACE(row.key);
        size_t index = 0;
        while (index < all.size() && std::string(all[index]->Key()) != row.key) ++index;
        ASSERT_LT(index, all.size());
        if (&row != &kSample[0]) {
            EXPECT_GT(index, previousIndex);
        }
        previousIndex = index;
        CParam* param = all[index];
        EXPECT_EQ(param->DefaultText(), row.defaultText);
        if (auto* expected = std::get_if<IntRow>(&row.kind)) {
            auto* actual = dynamic_cast<CParamInt*>(param);
            ASSERT_NE(actual, nullptr);
            EXPECT_EQ(actual->Min(), expected->min);
            EXPECT_EQ(actual->Max(), expected->max);
        } else if (auto* expected = std::get_if<UIntRow>(&row.kind)) {
            auto* actual = dynamic_cast<CParamUInt*>(param);
            ASSERT_NE(actual, nullptr);
            EXPECT_EQ(actual->Min(), expected->min);
            EXPECT_EQ(actual->Max(), expected->max);
        } else if (std::holds_alternative<StringRow>(row.kind)) {
            EXPECT_NE(dynamic_cast<CParamString*>(param), nullptr);
        } else {
            EXPECT_NE(dynamic_cast<CParamColor*>(param), nullptr);
        }
    }
}

TEST(ParameterTable, NamedObjectsAreTheRegisteredOnes) {
    EXPECT_STREQ(params::DefaultRule.Key(), "DefaultRule");
    EXPECT_STREQ(params::HeapBlockSize.Key(), "HeapBlockSize");
    EXPECT_STREQ(params::KeepLastUndisplayed.Key(), "KeepLastUndisplayed");
    const auto all = AllParameters();
    EXPECT_NE(std::find(all.begin(), all.end(), &params::MaxMemory), all.end());
    EXPECT_NE(std::find(all.begin(), all.end(), &params::GameTrimInterval), all.end());
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
    EXPECT_EQ(params::HeapBlockSize.GetUInt(), 500000u);
    EXPECT_EQ(params::KeepEvery.GetInt(), 50);
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
        case Bound::Min: return std::to_string(min);
        case Bound::Max: return std::to_string(max);
        case Bound::BelowMin: return std::to_string(min - 1);
        case Bound::AboveMax: return std::to_string(max + 1);
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
}  // namespace tessera
