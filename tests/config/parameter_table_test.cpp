// The parameter table checked against a second transcription of all its rows, and properties that
// every row must have.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <variant>

#include "config/ini_document.h"
#include "temp_config.h"

namespace tessera {
namespace {

using testing::TempConfigTest;

struct IntRow {
    int32_t min, max;
};
struct UIntRow {
    uint32_t min, max;
};
struct StringRow {};
struct ColorRow {};

struct TableRow {
    const char* key;
    const char* defaultText;
    std::variant<IntRow, UIntRow, StringRow, ColorRow> kind;
};

// Every row, typed in separately from the table, in the order of the registry.
const TableRow kTable[] = {
    {"AutoSaveConfig", "1", IntRow{0, 1}},
    {"FirstTime", "1", IntRow{0, 1}},
    {"RegisterFiles", "0", IntRow{0, 1}},
    {"WindowSizeX", "580", IntRow{100, 2000}},
    {"WindowSizeY", "500", IntRow{100, 2000}},
    {"MinWindowX", "400", IntRow{100, 480}},
    {"MinWindowY", "200", IntRow{100, 480}},
    {"WindowPosX", "32767", IntRow{0, 32767}},
    {"WindowPosY", "32767", IntRow{0, 32767}},
    {"StartMaximized", "0", IntRow{0, 1}},
    {"StartMinimized", "0", IntRow{0, 1}},
    {"DialogBackgroundColor", "255 255 255", ColorRow{}},
    {"DialogTextColor", "0 0 0", ColorRow{}},
    {"PageScrollOverlap", "5", IntRow{0, 15}},
    {"GridPitch", "10", IntRow{5, 12}},
    {"GridMinPitch", "6", IntRow{5, 12}},
    {"GridMaxPitch", "12", IntRow{5, 12}},
    {"GameDisplayStyle", "0", IntRow{0, 1}},
    {"GrowDisplayStyle", "0", IntRow{0, 6}},
    {"GridColor", "96 96 96", ColorRow{}},
    {"GridHighlightColor", "255 0 0", ColorRow{}},
    {"TileGridColor", "96 96 96", ColorRow{}},
    {"TileGridHighlightColor", "255 0 0", ColorRow{}},
    {"TileTitleColor", "192 192 192", ColorRow{}},
    {"TileTextColor", "0 0 0", ColorRow{}},
    {"TileTitleHighlightColor", "255 0 0", ColorRow{}},
    {"TileTextHighlightColor", "0 255 255", ColorRow{}},
    {"BackgroundColor", "1", IntRow{0, 1}},
    {"AliveColor", "192 0 192", ColorRow{}},
    {"BornColor", "255 0 0", ColorRow{}},
    {"DiedColor", "224 192 224", ColorRow{}},
    {"SelectedColor", "0 0 255", ColorRow{}},
    {"ForegroundColor", "192 64 64", ColorRow{}},
    {"BgUniverseColor", "0 0 128", ColorRow{}},
    {"ForeAndBackColor", "192 64 128", ColorRow{}},
    {"MapPitch", "5", IntRow{1, 8}},
    {"MapMinPitch", "5", IntRow{1, 7}},
    {"UseCosmic", "1", IntRow{0, 1}},
    {"MapMaxPitch", "8", IntRow{1, 31}},
    {"VignettePitch", "5", IntRow{1, 31}},
    {"PatternTileWidth", "80", UIntRow{10, 500}},
    {"PatternTileHeight", "85", UIntRow{20, 500}},
    {"TransformsTileWidth", "32", UIntRow{8, 300}},
    {"TransformsTileHeight", "32", UIntRow{8, 300}},
    {"KeepPatternsOnTop", "0", IntRow{0, 1}},
    {"AutoScrollInterval", "50", UIntRow{1, 1000}},
    {"AutoScrollZone", "10", IntRow{1, 100}},
    {"AutoScrollExtend", "30", IntRow{1, 100}},
    {"AutoScrollMinRate", "1", IntRow{1, 1000}},
    {"AutoScrollMaxRate", "100", IntRow{1, 1000}},
    {"BackgroundSlice", "250", IntRow{100, 10000}},
    {"KeepGames", "10", IntRow{0, 32767}},
    {"AnimateTimer", "600", IntRow{100, 3000}},
    {"KeepEvery", "50", IntRow{1, 32767}},
    {"KeepLastDisplayed", "16", UIntRow{1, 32767}},
    {"KeepLastUndisplayed", "2", UIntRow{1, 32767}},
    {"GameTrimInterval", "50", UIntRow{1, 32767}},
    {"UndoListSize", "20", UIntRow{1, 20}},
    {"PatternMaxCycle", "64", IntRow{1, 512}},
    {"GameMaxCycle", "64", IntRow{1, 512}},
    {"GameMaxCycleCheck", "20", IntRow{1, 512}},
    {"DefaultPatternRecogPopLimit", "100", UIntRow{1, 500}},
    {"DefaultPatternRecogPeriodLimit", "16", IntRow{1, 256}},
    {"MaxDiscriminatorPop", "6", UIntRow{0, 256}},
    {"MinDiscriminatorReferences", "12", UIntRow{2, 256}},
    {"LoadSystemLibrary", "1", IntRow{0, 1}},
    {"LoadUserLibrary", "1", IntRow{0, 1}},
    {"SilentLoadUser", "1", IntRow{0, 1}},
    {"SystemLibraryName", "syslib.lfl", StringRow{}},
    {"UserLibraryName", "userlib.lfl", StringRow{}},
    {"GridGen1", "1", IntRow{0, 1}},
    {"StartBrothAsGrid", "0", IntRow{0, 1}},
    {"GridAfterRead", "0", IntRow{0, 1}},
    {"GridMakeGame", "0", IntRow{0, 1}},
    {"SilentReplace", "0", IntRow{0, 1}},
    {"GotogameShowUnnamed", "0", IntRow{0, 1}},
    {"AutoStopGrow", "1", IntRow{0, 1}},
    {"ConfirmPatternDelete", "1", IntRow{0, 1}},
    {"Announce", "0", IntRow{0, 1}},
    {"PatternUniverseLimit", "30", IntRow{0, 100}},
    {"ExploreFixupThreshold", "5000", UIntRow{100, 65535}},
    {"SmallFontHeight", "7", IntRow{5, 12}},
    {"TileGridThickness", "1", IntRow{1, 5}},
    {"TileTitleLeading", "1", IntRow{0, 10}},
    {"Capture", "1", IntRow{0, 1}},
    {"LocalBusVideo", "1", IntRow{0, 1}},
    {"HeapBlockSize", "500000", UIntRow{32768, 100000000}},
    {"MaxMemory", "64", UIntRow{1, 2048}},
    {"MaxMemoryNeverExceed", "0", IntRow{0, 1}},
    {"LineLength", "72", UIntRow{24, 256}},
    {"PageLength", "55", UIntRow{24, 256}},
    {"StatusBarUpdateInterval", "125", UIntRow{0, 1000}},
    {"IdleInterval", "500", IntRow{0, 5000}},
    {"ShowDescriptions", "1", IntRow{0, 1}},
    {"WriteXLifeFormat", "1", IntRow{0, 1}},
    {"PatternXLifeFormat", "1", IntRow{0, 1}},
    {"XLifeObjectWidth", "64", IntRow{0, 80}},
    {"XLifeObjectHeight", "48", IntRow{0, 60}},
    {"XLifeWriteRLE", "1", IntRow{0, 1}},
    {"XLifeRLELineLength", "70", IntRow{32, 255}},
    {"MaxXLifeErrors", "100", UIntRow{1, 10000}},
    {"XLifeStrict", "0", IntRow{0, 1}},
    {"MaxClipboardBuffer", "65528", UIntRow{65528, 4294967295u}},
    {"DefaultClipboardScale", "8", UIntRow{1, 15}},
    {"DefaultClipboardStyle", "0", UIntRow{0, 1}},
    {"ClipboardAliveColor", "0 0 0", ColorRow{}},
    {"ClipboardInvertBitmap", "1", IntRow{0, 1}},
    {"MaxSilentClipboardLength", "1024", IntRow{0, 65535}},
    {"CensusWriteFormat", "%n,%p,%c", StringRow{}},
    {"CensusShowFormat", "%n\t%c", StringRow{}},
    {"BrothExplicitSize", "1", IntRow{0, 1}},
    {"BrothDensity", "30", UIntRow{0, 100}},
    {"BrothSizeX", "100", UIntRow{1, 30000}},
    {"BrothSizeY", "100", UIntRow{1, 30000}},
    {"AnonymousRules", "8", UIntRow{1, 32}},
    {"DefaultRule", "23/3", StringRow{}},
    {"RightClickPopup", "1", IntRow{0, 1}},
    {"Randomize", "1", IntRow{0, 1}},
    {"MaxGrowSpeed", "10000", UIntRow{1000, 10000}},
    {"MinGrowSpeed", "1", UIntRow{1, 1000}},
    {"SlowStartGrowSpeed", "8", UIntRow{1, 1000}},
    {"SlowStartGenerations", "16", UIntRow{0, 1000000}},
    {"SlowStart", "1", IntRow{0, 1}},
    {"MaxSpinTime", "5", IntRow{1, 100}},
    {"DefaultOriginator", "", StringRow{}},
    {"TraceFile", "", StringRow{}},
    {"ShowCommandTime", "0", IntRow{0, 1}},
    {"LibraryLoadBreak", "", StringRow{}},
};

TEST(ParameterTable, EveryRowMatchesInTableOrder) {
    const auto all = AllParameters();
    ASSERT_EQ(all.size(), std::size(kTable));
    ASSERT_EQ(all.size(), 128u);
    for (size_t index = 0; index < all.size(); ++index) {
        const TableRow& row = kTable[index];
        SCOPED_TRACE(row.key);
        CParam* param = all[index];
        EXPECT_STREQ(param->Key(), row.key);
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
}  // namespace tessera
