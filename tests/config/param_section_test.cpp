// Whole sections through the reader and writer interfaces, as the rules and the preload list use them.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/temp_folder.h"

namespace tessera::test {
namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;
using ParamSection = TempConfigTest;

class CollectingReader : public CParamReader {
public:
    void OnEntry(const std::string& key, const std::string& value) override {
        entries.emplace_back(key, value);
    }
    Entries entries;
};

class ListWriter : public CParamWriter {
public:
    explicit ListWriter(Entries entries) : entries_(std::move(entries)) {}
    bool Next() override { return ++index_ < entries_.size(); }
    std::string Key() override { return entries_[index_].first; }
    std::string Value() override { return entries_[index_].second; }

private:
    Entries entries_;
    size_t index_ = static_cast<size_t>(-1);
};

Entries Read(std::string_view section, std::string_view ignorePrefix = {}) {
    CollectingReader reader;
    ReadSection(section, ignorePrefix, reader);
    return reader.entries;
}

TEST_F(ParamSection, ReadsKeysInFileOrderSkippingTheIgnoredPrefix) {
    WriteIni("[Rules]\nZeta=1/1\n;Old=2/2\nalpha = 23/3 \nTmpX=3/3\nBeta=\n[Other]\nGamma=4\n");
    EXPECT_EQ(Read("rules"), (Entries{{"Zeta", "1/1"}, {"alpha", "23/3"}, {"TmpX", "3/3"}, {"Beta", ""}}));
    EXPECT_EQ(Read("Rules", "Tmp"), (Entries{{"Zeta", "1/1"}, {"alpha", "23/3"}, {"Beta", ""}}));
    EXPECT_EQ(Read("Rules", "tmp"), Read("Rules"));  // the prefix compares exactly
    EXPECT_TRUE(Read("Missing").empty());
    CollectingReader noPrefix;
    ReadSection("Rules", nullptr, noPrefix);
    EXPECT_EQ(noPrefix.entries, Read("Rules"));
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
    for (const auto& [key, value] : entries) EXPECT_LE(value.size(), 79u) << key;
    EXPECT_EQ(entries[19].second, std::string(79, 'v'));  // 89 characters in the file
    EXPECT_EQ(entries[5].second.size(), 75u);
}

TEST_F(ParamSection, WriteReplacesTheWholeSectionAndNothingElse) {
    WriteIni("; mine\n[Rules]\nOld=1/1\nLife=23/3\n\n[Parameters]\nGridPitch=11\n");
    ListWriter writer({{"Life", "23/3"}, {"Maze", "12345/3"}, {"Seeds", "/2"}});
    EXPECT_TRUE(WriteSection("Rules", writer));
    EXPECT_EQ(ReadIni(), "; mine\n[Parameters]\nGridPitch=11\n[Rules]\nLife=23/3\nMaze=12345/3\nSeeds=/2\n");
    EXPECT_EQ(Read("Rules"), (Entries{{"Life", "23/3"}, {"Maze", "12345/3"}, {"Seeds", "/2"}}));
    EXPECT_EQ(params::GridPitch.GetInt(), 11);

    ListWriter empty(Entries{});
    EXPECT_TRUE(WriteSection("rules", empty));
    EXPECT_EQ(ReadIni(), "; mine\n[Parameters]\nGridPitch=11\n");
}

TEST_F(ParamSection, EntriesOneLineCannotHoldAreSkipped) {
    ListWriter writer({{"Good", "1"}, {"Bad\nKey", "2"}, {"Eq=ual", "3"}, {"Value", "a\nb"}, {"Last", "4"}});
    EXPECT_TRUE(WriteSection("Rules", writer));
    EXPECT_EQ(Read("Rules"), (Entries{{"Good", "1"}, {"Last", "4"}}));
}

}  // namespace
}  // namespace tessera::test
