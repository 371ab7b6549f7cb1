// Reading, validating, caching, setting and saving parameters through a temporary configuration file.
#include <gtest/gtest.h>

#include <string>

#include "support/temp_folder.h"

namespace tessera::test {
namespace {

using ParamRead = TempConfigTest;
using ParamSet = TempConfigTest;
using ParamSave = TempConfigTest;

TEST_F(ParamRead, IntegerValuesInRangeOutOfRangeAndMalformed) {
    const std::pair<const char*, int> cases[] = {
        {"12", 12},         {"13", 10},
        {"5", 5},           {"4", 10},
        {"+12", 12},        {"  7  ", 7},
        {"012", 12},        {"12x", 10},
        {"1 2", 10},        {"0x0C", 10},
        {"", 10},           {"-", 10},
        {"twelve", 10},     {"99999999999999999999999", 10},
        {"4294967305", 10}, {"-4294967286", 10},
        {"12.0", 10},
    };
    for (const auto& [text, expected] : cases) {
        WriteParameter("GridPitch", text);
        EXPECT_EQ(params::GridPitch.GetInt(), expected) << "file value \"" << text << "\"";
    }
    WriteParameter("PageScrollOverlap", "-0");
    EXPECT_EQ(params::PageScrollOverlap.GetInt(), 0);
}

TEST_F(ParamRead, UnsignedValuesRefuseNegativesAndOverflow) {
    const std::pair<const char*, uint32_t> cases[] = {
        {"1000000", 1000000},         {"1000001", 16}, {"-1", 16}, {"-0", 0}, {"+25", 25}, {"4294967296", 16},
        {"18446744073709551616", 16}, {"7 ", 7},
    };
    for (const auto& [text, expected] : cases) {
        WriteParameter("SlowStartGenerations", text);
        EXPECT_EQ(params::SlowStartGenerations.GetUInt(), expected) << "file value \"" << text << "\"";
    }
    WriteParameter("MaxClipboardBuffer", "65527");
    EXPECT_EQ(params::MaxClipboardBuffer.GetUInt(), 65528u);
    WriteParameter("MaxClipboardBuffer", "65529");
    EXPECT_EQ(params::MaxClipboardBuffer.GetUInt(), 65528u);
    EXPECT_FALSE(params::MaxClipboardBuffer.SetUInt(65529));
    EXPECT_FALSE(params::MaxClipboardBuffer.SetUInt(4096));
    EXPECT_TRUE(params::MaxClipboardBuffer.SetUInt(65528));
}

TEST_F(ParamRead, ColoursAreThreeNumbersOrAGrey) {
    const std::pair<const char*, uint32_t> cases[] = {
        {"128", 128u * 65793u},
        {"1 2 3", 1u + 2u * 256 + 3u * 65536},
        {"255\t0   7", 255u + 7u * 65536},
        {"0 0 0", 0},
        {"255 255 255", 0xFFFFFFu},
        {"1 2", 0},      // two numbers
        {"1 2 3x", 0},   // a letter after them
        {"1 2 3 4", 0},  // four numbers
        {"1,2,3", 0},
        {"-1 2 3", 0},
        {"+1 2 3", 0},
        {"256 0 0", 0},  // not a byte
        {"99999999999 0 0", 0},
        {"grey", 0},
    };
    for (const auto& [text, expected] : cases) {
        WriteParameter("DialogTextColor", text);
        EXPECT_EQ(params::DialogTextColor.GetColor(), expected) << "file value \"" << text << "\"";
    }
    WriteParameter("DialogBackgroundColor", "10 20");
    EXPECT_EQ(params::DialogBackgroundColor.GetColor(), 0xFFFFFFu);
}

TEST_F(ParamRead, OverLongValuesGiveTheDefault) {
    WriteParameter("SystemLibraryName", std::string(78, 'a'));
    EXPECT_EQ(params::SystemLibraryName.GetText(), std::string(78, 'a'));
    WriteParameter("SystemLibraryName", std::string(79, 'a'));
    EXPECT_EQ(params::SystemLibraryName.GetText(), "syslib.lfl");
    WriteParameter("SystemLibraryName", std::string(500, 'a'));
    EXPECT_EQ(params::SystemLibraryName.GetText(), "syslib.lfl");
    // A number padded past the limit is not cut down to a different number.
    WriteParameter("GridPitch", std::string(80, '0') + "7");
    EXPECT_EQ(params::GridPitch.GetInt(), 10);
}

TEST_F(ParamRead, KeysMatchIgnoringCaseAndOnlyInTheParametersSection) {
    WriteIni("[Rules]\nGridPitch=6\n[parameters]\n gridpitch = 7 \nDEFAULTRULE=34/34\n");
    EXPECT_EQ(params::GridPitch.GetInt(), 7);
    EXPECT_EQ(params::DefaultRule.GetText(), "34/34");
    WriteIni("[Rules]\nGridPitch=6\n");
    ResetAllParameters();
    EXPECT_EQ(params::GridPitch.GetInt(), 10);
}

TEST_F(ParamRead, ValuesAreCachedUntilReset) {
    WriteParameter("KeepEvery", "7");
    EXPECT_EQ(params::KeepEvery.GetInt(), 7);
    WriteIni("[Parameters]\nKeepEvery=9\n");
    EXPECT_EQ(params::KeepEvery.GetInt(), 7);
    EXPECT_EQ(params::KeepEvery.GetText(), "7");
    ResetAllParameters();
    EXPECT_EQ(params::KeepEvery.GetInt(), 9);
}

TEST_F(ParamRead, MissingOrUnreadableFileMeansDefaults) {
    EXPECT_EQ(params::MaxMemory.GetUInt(), 64u);
    // The configuration path names a folder: nothing can be read from it.
    std::filesystem::create_directory(iniPath_);
    ResetAllParameters();
    EXPECT_EQ(params::MaxMemory.GetUInt(), 64u);
    EXPECT_EQ(params::DefaultRule.GetText(), "23/3");
}

TEST_F(ParamSet, RefusesLongAndInvalidTextsAndChangesNothing) {
    EXPECT_TRUE(params::DefaultOriginator.Set(std::string(78, 'x')));
    EXPECT_EQ(params::DefaultOriginator.GetText(), std::string(78, 'x'));
    ResetAllParameters();
    EXPECT_FALSE(params::DefaultOriginator.Set(std::string(79, 'x')));
    EXPECT_FALSE(params::DefaultOriginator.Set(std::string(200, 'x')));
    EXPECT_FALSE(params::DefaultOriginator.Set("two\nlines"));
    EXPECT_FALSE(params::DefaultOriginator.IsDirty());
    EXPECT_EQ(params::DefaultOriginator.GetText(), "");

    EXPECT_EQ(params::GridPitch.GetInt(), 10);
    for (const char* text : {"13", "4", "abc", "", "11 ", "1e1"}) {
        EXPECT_FALSE(params::GridPitch.Set(text)) << text;
    }
    EXPECT_FALSE(params::GridPitch.SetInt(-5));
    EXPECT_FALSE(params::GridPitch.IsDirty());
    EXPECT_EQ(params::GridPitch.GetInt(), 10);
    EXPECT_FALSE(params::DialogTextColor.Set("1 2"));
    EXPECT_FALSE(params::DialogTextColor.Set(std::string(76, ' ') + "1 2 3"));  // valid but too long
}

TEST_F(ParamSet, NewValueReplacesTheCachedNumber) {
    EXPECT_EQ(params::KeepEvery.GetInt(), 50);
    EXPECT_TRUE(params::KeepEvery.SetInt(3));
    EXPECT_TRUE(params::KeepEvery.IsDirty());
    EXPECT_EQ(params::KeepEvery.GetInt(), 3);
    EXPECT_TRUE(params::HeapBlockSize.SetUInt(100000000));
    EXPECT_EQ(params::HeapBlockSize.GetUInt(), 100000000u);
    EXPECT_TRUE(params::GridColor.SetColor(0x123456));
    EXPECT_EQ(params::GridColor.GetText(), "86 52 18");
    EXPECT_EQ(params::GridColor.GetColor(), 0x123456u);
    EXPECT_TRUE(params::GridColor.Set("200"));
    EXPECT_EQ(params::GridColor.GetColor(), 200u * 65793u);
    // Nothing reaches the file before a save.
    EXPECT_FALSE(std::filesystem::exists(iniPath_));
}

TEST_F(ParamSave, ValueEqualToDefaultRemovesTheKey) {
    WriteIni("; settings\n[Parameters]\nLineLength=80\nGridPitch=11\n[Rules]\nLife=23/3\n");
    ResetAllParameters();
    EXPECT_EQ(params::LineLength.GetUInt(), 80u);
    EXPECT_TRUE(params::LineLength.SetUInt(72));
    EXPECT_TRUE(params::LineLength.Save());
    EXPECT_FALSE(params::LineLength.IsDirty());
    EXPECT_EQ(ReadIni(), "; settings\n[Parameters]\nGridPitch=11\n[Rules]\nLife=23/3\n");

    EXPECT_TRUE(params::LineLength.SetUInt(100));
    EXPECT_TRUE(params::LineLength.Save());
    EXPECT_EQ(ReadIni(), "; settings\n[Parameters]\nGridPitch=11\nLineLength=100\n[Rules]\nLife=23/3\n");
    ResetAllParameters();
    EXPECT_EQ(params::LineLength.GetUInt(), 100u);
}

TEST_F(ParamSave, OnlyChangedParametersAreWritten) {
    EXPECT_EQ(params::GridPitch.GetInt(), 10);
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

TEST_F(ParamSave, AutoSaveHonoursAutoSaveConfig) {
    WriteParameter("AutoSaveConfig", "0");
    EXPECT_TRUE(params::KeepGames.SetInt(3));
    EXPECT_TRUE(SaveAllParametersIfAuto());
    EXPECT_EQ(ReadIni(), "[Parameters]\nAutoSaveConfig=0\n");
    EXPECT_TRUE(params::KeepGames.IsDirty());

    EXPECT_TRUE(params::AutoSaveConfig.SetInt(1));
    EXPECT_TRUE(SaveAllParametersIfAuto());
    EXPECT_EQ(ReadIni(), "[Parameters]\nKeepGames=3\n");

    // An invalid AutoSaveConfig in the file means the default, 1.
    WriteParameter("AutoSaveConfig", "2");
    EXPECT_TRUE(params::KeepGames.SetInt(4));
    EXPECT_TRUE(SaveAllParametersIfAuto());
    EXPECT_EQ(ReadIni(), "[Parameters]\nAutoSaveConfig=2\nKeepGames=4\n");
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

// A parameter whose default is computed rather than constant, as a program-wide setting may need.
class CountingDefault : public CDefault {
public:
    std::string GetDefault() const override { return std::to_string(base); }
    int base = 40;
};

TEST_F(ParamSave, DefaultsMayComeFromAnySource) {
    CountingDefault source;
    CParamInt width("ComputedWidth", source, 0, 100);
    EXPECT_EQ(width.GetInt(), 40);
    source.base = 50;
    width.Reset();
    EXPECT_EQ(width.GetInt(), 50);
    EXPECT_TRUE(width.SetInt(41));
    EXPECT_TRUE(width.Save());
    EXPECT_EQ(ReadIni(), "[Parameters]\nComputedWidth=41\n");
    EXPECT_TRUE(width.SetInt(50));  // today's default: the key goes
    EXPECT_TRUE(width.Save());
    EXPECT_EQ(ReadIni(), "[Parameters]\n");
    CParamString name("ComputedName", source);
    EXPECT_EQ(name.GetText(), "50");
}

TEST_F(ParamSave, ResetDropsUnsavedChanges) {
    EXPECT_TRUE(params::MaxMemory.SetUInt(512));
    ResetAllParameters();
    EXPECT_FALSE(params::MaxMemory.IsDirty());
    EXPECT_EQ(params::MaxMemory.GetUInt(), 64u);
    EXPECT_TRUE(SaveAllParameters());
    EXPECT_FALSE(std::filesystem::exists(iniPath_));
}

}  // namespace
}  // namespace tessera::test
