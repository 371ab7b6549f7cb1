// Reading, validating, caching, setting and saving parameters and whole sections through a temporary
// configuration file.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "config/memory_settings.h"
#include "foundation/block_heap.h"
#include "support/temp_folder.h"

namespace tessera::test {
namespace {

using ParamRead = TempConfigTest;
using ParamSet = TempConfigTest;
using ParamSave = TempConfigTest;

TEST_F(ParamRead, NumbersOutsideTheRangeOrMalformedGiveTheDefault) {
    const std::pair<const char*, int> cases[] = {{"12", 12},    {"13", 10},  {"5", 5}, {"4", 10},
                                                 {"  +7  ", 7}, {"12x", 10}, {"", 10}};
    for (const auto& [text, expected] : cases) {
        WriteParameter("GridPitch", text);
        EXPECT_EQ(params::GridPitch.GetInt(), expected) << "file value \"" << text << "\"";
    }
}

TEST_F(ParamRead, ColoursAreThreeNumbersOrAGrey) {
    // Red, green, blue as bytes from the lowest up; texts that are not colours give the default, black.
    const std::pair<const char*, uint32_t> cases[] = {
        {"128", 0x808080}, {"1 2 3", 0x030201}, {"255\t0   7", 0x0700FF},
        {"1 2", 0},        {"1 2 3x", 0},       {"1 2 3 4", 0},
        {"-1 2 3", 0},     {"256 0 0", 0}};
    for (const auto& [text, expected] : cases) {
        WriteParameter("DialogTextColor", text);
        EXPECT_EQ(params::DialogTextColor.GetColor(), expected) << "file value \"" << text << "\"";
    }
    WriteParameter("DialogBackgroundColor", "10 20");
    EXPECT_EQ(params::DialogBackgroundColor.GetColor(), 0xFFFFFFu);
}

TEST_F(ParamRead, KeysMatchIgnoringCaseAndOnlyInTheParametersSection) {
    WriteIni("[Rules]\nGridPitch=6\n[parameters]\n gridpitch = 7 \n");
    EXPECT_EQ(params::GridPitch.GetInt(), 7);
    WriteIni("[Rules]\nGridPitch=6\n");
    ResetAllParameters();
    EXPECT_EQ(params::GridPitch.GetInt(), 10);
}

// The largest allowed maximum does not overflow the byte count.
TEST_F(ParamRead, HeapFollowsTheParameters) {
    WriteIni("[Parameters]\nHeapBlockSize=32768\nMaxMemory=2048\n");
    CBlockHeap heap;
    ApplyMemoryParameters(heap, 123);
    EXPECT_EQ(heap.ChunkSize(), 32768u);
    EXPECT_EQ(heap.MaximumChunks(), 65536u);  // 2 GiB / 32768
    EXPECT_EQ(heap.AvailableMemory(), 123u);
}

TEST_F(ParamSet, RefusesLongAndInvalidTextsAndChangesNothing) {
    EXPECT_TRUE(params::DefaultOriginator.Set(std::string(78, 'x')));
    EXPECT_EQ(params::DefaultOriginator.GetText(), std::string(78, 'x'));
    ResetAllParameters();
    EXPECT_FALSE(params::DefaultOriginator.Set(std::string(79, 'x')));
    EXPECT_FALSE(params::DefaultOriginator.Set("two\nlines"));
    EXPECT_FALSE(params::DefaultOriginator.IsDirty());
    EXPECT_EQ(params::DefaultOriginator.GetText(), "");

    for (const char* text : {"13", "abc", ""}) EXPECT_FALSE(params::GridPitch.Set(text)) << text;
    EXPECT_FALSE(params::GridPitch.IsDirty());
    EXPECT_FALSE(params::DialogTextColor.Set("1 2"));
    EXPECT_FALSE(params::DialogTextColor.Set(std::string(76, ' ') + "1 2 3"));  // valid but too long
}

// Only changes are written: a value equal to the default removes its key, and a value the user wrote in the
// file is left alone while its parameter is unchanged (13 is out of range and reads as the default).
TEST_F(ParamSave, OnlyChangesAreWrittenAndTheDefaultRemovesTheKey) {
    EXPECT_TRUE(params::GridPitch.SetInt(10));
    EXPECT_TRUE(SaveAllParameters());
    EXPECT_FALSE(std::filesystem::exists(iniPath_));  // nothing changed: no file is made

    WriteIni("; settings\n[Parameters]\nLineLength=80\nGridPitch=13\n[Rules]\nLife=23/3\n");
    ResetAllParameters();
    EXPECT_TRUE(params::LineLength.SetUInt(72));
    EXPECT_TRUE(params::LineLength.Save());
    EXPECT_FALSE(params::LineLength.IsDirty());
    EXPECT_EQ(ReadIni(), "; settings\n[Parameters]\nGridPitch=13\n[Rules]\nLife=23/3\n");
    EXPECT_TRUE(params::LineLength.SetUInt(100));
    EXPECT_TRUE(SaveAllParameters());
    EXPECT_EQ(ReadIni(), "; settings\n[Parameters]\nGridPitch=13\nLineLength=100\n[Rules]\nLife=23/3\n");
}

TEST_F(ParamSave, SaveAllWritesEveryChangeInTableOrder) {
    EXPECT_TRUE(params::DefaultRule.Set("34/34"));
    EXPECT_TRUE(params::AliveColor.Set("7"));
    EXPECT_TRUE(params::WindowSizeX.SetInt(640));
    EXPECT_TRUE(params::CensusShowFormat.Set("%n\t%c"));  // the default: no key
    EXPECT_TRUE(SaveAllParameters());
    EXPECT_EQ(ReadIni(), "[Parameters]\nWindowSizeX=640\nAliveColor=7\nDefaultRule=34/34\n");
    for (CParam* param : AllParameters()) EXPECT_FALSE(param->IsDirty()) << param->Key();
}

TEST_F(ParamSave, EmptyTextIsAValueOfItsOwn) {
    EXPECT_TRUE(params::TraceFile.Set("trace.txt"));
    EXPECT_TRUE(params::TraceFile.Save());
    EXPECT_EQ(ReadIni(), "[Parameters]\nTraceFile=trace.txt\n");
    // Clearing the name must not bring the stored one back before or after saving.
    EXPECT_TRUE(params::TraceFile.Set(""));
    EXPECT_EQ(params::TraceFile.GetText(), "");
    EXPECT_TRUE(params::TraceFile.Save());
    EXPECT_EQ(ReadIni(), "[Parameters]\n");
    ResetAllParameters();
    EXPECT_EQ(params::TraceFile.GetText(), "");
}

TEST_F(ParamSave, FailedWriteKeepsTheChange) {
    // A regular file stands where the configuration folder should be.
    const auto blocked = folder_ / "blocked";
    { std::ofstream(blocked) << "x"; }
    ::setenv("TESSERA_INI", (blocked / "TESSERA.INI").c_str(), 1);
    EXPECT_TRUE(params::KeepEvery.SetInt(6));
    EXPECT_FALSE(params::KeepEvery.Save());
    EXPECT_TRUE(params::KeepEvery.IsDirty());
    EXPECT_FALSE(SaveAllParameters());
    EXPECT_TRUE(params::KeepEvery.IsDirty());
    ::setenv("TESSERA_INI", iniPath_.c_str(), 1);
    EXPECT_TRUE(params::KeepEvery.Save());
    EXPECT_EQ(ReadIni(), "[Parameters]\nKeepEvery=6\n");
}

// Whole sections through the reader and writer interfaces, as the rules and the preload list use them.
using Entries = std::vector<std::pair<std::string, std::string>>;
using ParamSection = TempConfigTest;

// The entries of a section in the order the reader is told them.
Entries Read(std::string_view section, const char* ignorePrefix = "") {
    struct : CParamReader {
        void OnEntry(const std::string& key, const std::string& value) override {
            entries.emplace_back(key, value);
        }
        Entries entries;
    } reader;
    ReadSection(section, ignorePrefix, reader);
    return reader.entries;
}

TEST_F(ParamSection, ReadsKeysInFileOrderSkippingTheIgnoredPrefix) {
    WriteIni("[Rules]\nZeta=1/1\nalpha = 23/3 \nTmpX=3/3\nBeta=\n[Other]\nGamma=4\n");
    EXPECT_EQ(Read("rules", "Tmp"), (Entries{{"Zeta", "1/1"}, {"alpha", "23/3"}, {"Beta", ""}}));
    EXPECT_EQ(Read("Rules", "tmp").size(), 4u);  // the prefix compares exactly
    EXPECT_EQ(Read("Rules", nullptr), Read("Rules"));
}

TEST_F(ParamSection, KeyListAndValueLengthsAreLimited) {
    // 100 keys of 10 characters each: with a separator apiece only 93 fit in 1023 characters.
    std::string text = "[Preload]\n";
    for (int i = 0; i < 100; ++i) {
        text += (i < 10 ? "Library00" : "Library0") + std::to_string(i) + "=" +
                std::string(static_cast<size_t>(70 + i % 20), 'v') + "\n";
    }
    WriteIni(text);
    const Entries entries = Read("Preload");
    ASSERT_EQ(entries.size(), 93u);
    EXPECT_EQ(entries.back().first, "Library092");
    EXPECT_EQ(entries[19].second, std::string(79, 'v'));  // the longest: 89 characters in the file
    EXPECT_EQ(entries[5].second.size(), 75u);
}

TEST_F(ParamSection, EntriesOneLineCannotHoldAreSkipped) {
    struct : CParamWriter {
        bool Next() override { return ++index < entries.size(); }
        std::string Key() override { return entries[index].first; }
        std::string Value() override { return entries[index].second; }
        Entries entries{{"Good", "1"}, {"Bad\nKey", "2"}, {"Eq=ual", "3"}, {"Value", "a\nb"}, {"Last", "4"}};
        size_t index = static_cast<size_t>(-1);
    } writer;
    EXPECT_TRUE(WriteSection("Rules", writer));
    EXPECT_EQ(Read("Rules"), (Entries{{"Good", "1"}, {"Last", "4"}}));
}

}  // namespace
}  // namespace tessera::test
