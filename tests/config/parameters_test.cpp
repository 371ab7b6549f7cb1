// Reading, validating, caching, setting and saving parameters through a temporary configuration file.
#include <gtest/gtest.h>

#include <string>

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
    const std::pair<const char*, uint32_t> cases[] = {
        {"128", 128u * 65793u},
        {"1 2 3", 1u + 2u * 256 + 3u * 65536},
        {"255\t0   7", 255u + 7u * 65536},
        {"1 2", 0},      // two numbers
        {"1 2 3x", 0},   // a letter after them
        {"1 2 3 4", 0},  // four numbers
        {"-1 2 3", 0},
        {"256 0 0", 0},  // not a byte
    };
    for (const auto& [text, expected] : cases) {
        WriteParameter("DialogTextColor", text);
        EXPECT_EQ(params::DialogTextColor.GetColor(), expected) << "file value \"" << text << "\"";
    }
    WriteParameter("DialogBackgroundColor", "10 20");
    EXPECT_EQ(params::DialogBackgroundColor.GetColor(), 0xFFFFFFu);
}

TEST_F(ParamRead, KeysMatchIgnoringCaseAndOnlyInTheParametersSection) {
    WriteIni("[Rules]\nGridPitch=6\n[parameters]\n gridpitch = 7 \nDEFAULTRULE=34/34\n");
    EXPECT_EQ(params::GridPitch.GetInt(), 7);
    EXPECT_EQ(params::DefaultRule.GetText(), "34/34");
    WriteIni("[Rules]\nGridPitch=6\n");
    ResetAllParameters();
    EXPECT_EQ(params::GridPitch.GetInt(), 10);
}

TEST_F(ParamRead, HeapFollowsTheParameters) {
    CBlockHeap defaults;
    ApplyMemoryParameters(defaults, 123);
    EXPECT_EQ(defaults.ChunkSize(), 500000u);
    EXPECT_EQ(defaults.MaximumChunks(), 134u);  // 64 MiB / 500000
    EXPECT_EQ(defaults.AvailableMemory(), 123u);

    WriteIni("[Parameters]\nHeapBlockSize=32768\nMaxMemory=1\n");
    ResetAllParameters();
    CBlockHeap small;
    ApplyMemoryParameters(small, 0);
    EXPECT_EQ(small.ChunkSize(), 32768u);
    EXPECT_EQ(small.MaximumChunks(), 32u);  // 1 MiB / 32768

    // The largest allowed maximum does not overflow the byte count.
    WriteIni("[Parameters]\nHeapBlockSize=32768\nMaxMemory=2048\n");
    ResetAllParameters();
    ApplyMemoryParameters(small, 0);
    EXPECT_EQ(small.MaximumChunks(), 65536u);  // 2 GiB / 32768
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
    EXPECT_EQ(params::GridPitch.GetInt(), 10);
    EXPECT_FALSE(params::DialogTextColor.Set("1 2"));
    EXPECT_FALSE(params::DialogTextColor.Set(std::string(76, ' ') + "1 2 3"));  // valid but too long
}

TEST_F(ParamSave, ValueEqualToDefaultRemovesTheKey) {
    WriteIni("; settings\n[Parameters]\nLineLength=80\nGridPitch=11\n[Rules]\nLife=23/3\n");
    ResetAllParameters();
    EXPECT_TRUE(params::LineLength.SetUInt(72));
    EXPECT_TRUE(params::LineLength.Save());
    EXPECT_EQ(ReadIni(), "; settings\n[Parameters]\nGridPitch=11\n[Rules]\nLife=23/3\n");

    EXPECT_TRUE(params::LineLength.SetUInt(100));
    EXPECT_TRUE(params::LineLength.Save());
    EXPECT_EQ(ReadIni(), "; settings\n[Parameters]\nGridPitch=11\nLineLength=100\n[Rules]\nLife=23/3\n");
}

TEST_F(ParamSave, OnlyChangedParametersAreWritten) {
    EXPECT_TRUE(params::GridPitch.Save());
    EXPECT_TRUE(SaveAllParameters());
    EXPECT_FALSE(std::filesystem::exists(iniPath_));  // nothing changed: no file is made
    // Setting the default over a missing key changes nothing in the file either.
    EXPECT_TRUE(params::GridPitch.SetInt(10));
    EXPECT_TRUE(SaveAllParameters());
    EXPECT_FALSE(std::filesystem::exists(iniPath_));

    // A value the user wrote in the file is left alone while the parameter is unchanged.
    WriteIni("[Parameters]\nGridPitch=13\n");
    ResetAllParameters();
    EXPECT_EQ(params::GridPitch.GetInt(), 10);
    EXPECT_TRUE(params::KeepEvery.SetInt(5));
    EXPECT_TRUE(SaveAllParameters());
    EXPECT_EQ(ReadIni(), "[Parameters]\nGridPitch=13\nKeepEvery=5\n");
}

TEST_F(ParamSave, SaveAllWritesEveryChangeInTableOrder) {
    EXPECT_TRUE(params::DefaultRule.Set("34/34"));
    EXPECT_TRUE(params::AliveColor.Set("7"));
    EXPECT_TRUE(params::WindowSizeX.SetInt(640));
    EXPECT_TRUE(params::CensusShowFormat.Set("%n\t%c"));  // the default: no key
    EXPECT_TRUE(SaveAllParameters());
    EXPECT_EQ(ReadIni(), "[Parameters]\nWindowSizeX=640\nAliveColor=7\nDefaultRule=34/34\n");
    for (CParam* param : AllParameters()) EXPECT_FALSE(param->IsDirty()) << param->Key();
    ResetAllParameters();
    EXPECT_EQ(params::AliveColor.GetColor(), 7u * 65793u);
    EXPECT_EQ(params::DefaultRule.GetText(), "34/34");
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

TEST_F(ParamSave, FailedWriteKeepsTheChangeAndTheOldFile) {
    WriteIni("[Parameters]\nKeepEvery=5\n");
    ResetAllParameters();
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

}  // namespace
}  // namespace tessera::test
