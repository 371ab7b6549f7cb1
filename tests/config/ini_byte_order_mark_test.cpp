#include <gtest/gtest.h>

#include "config/ini_document.h"

// A configuration file written by an editor that puts a byte-order mark first keeps its first section,
// and the mark survives an edit.
TEST(IniByteOrderMark, FirstSectionIsReadAndTheMarkIsKept) {
    const std::string text = "\xEF\xBB\xBF[Parameters]\r\nDefaultRule=34/34\r\n";
    tessera::CIniDocument document = tessera::CIniDocument::Parse(text);
    EXPECT_EQ("34/34", document.Value("Parameters", "DefaultRule").value_or("absent"));
    EXPECT_EQ(text, document.Serialize());
    ASSERT_TRUE(document.SetValue("Parameters", "GridPitch", "9"));
    EXPECT_EQ("\xEF\xBB\xBF[Parameters]\r\nDefaultRule=34/34\r\nGridPitch=9\r\n", document.Serialize());
}
