// Editing INI text in memory: what survives a rewrite, how names match, where new lines go.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "config/ini_document.h"

namespace tessera::test {
namespace {

const char* const kHandWritten =
    "; Tessera settings, edited by hand\n"
    "\n"
    "[Parameters]\n"
    "GridPitch = 11  \n"
    "; keep the old rule around\n"
    "DefaultRule=34/34\n"
    "junk line without equals\n"
    "\n"
    "[Rules]\n"
    "Life=23/3\n"
    "Seeds=/2\n"
    "   \n"
    "[Preload]\n"
    "Library1=RO*/tmp/a.lfl\n";

// Names match ignoring case in the random model below; here blanks, comments and lines without "=".
TEST(IniDocument, ReadsTrimmedValuesAndEditsTouchOnlyTheirOwnLines) {
    auto doc = CIniDocument::Parse(kHandWritten);
    EXPECT_EQ(doc.Value(" rules ", " SEEDS "), "/2");
    EXPECT_EQ(doc.Value("Parameters", "junk line without equals"), std::nullopt);
    EXPECT_EQ(doc.Value("Parameters", "; keep the old rule around"), std::nullopt);
    EXPECT_EQ(doc.Keys("Parameters"), (std::vector<std::string>{"GridPitch", "DefaultRule"}));
    EXPECT_TRUE(doc.Keys("missing").empty());
    EXPECT_TRUE(doc.SetValue("parameters", "GRIDPITCH", "12"));  // replaced in place
    EXPECT_TRUE(doc.SetValue("Parameters", "KeepEvery", "3"));   // appended before the blank line
    EXPECT_TRUE(doc.DeleteKey("RULES", "life"));
    EXPECT_TRUE(doc.SetValue("Census", "Last", "x"));  // a new section at the end
    std::string expected = kHandWritten;
    auto replace = [&](const std::string& from, const std::string& to) {
        expected.replace(expected.find(from), from.size(), to);
    };
    replace("GridPitch = 11  \n", "GRIDPITCH=12\n");
    replace("equals\n", "equals\nKeepEvery=3\n");
    replace("Life=23/3\n", "");
    EXPECT_EQ(doc.Serialize(), expected + "[Census]\nLast=x\n");
    EXPECT_FALSE(doc.DeleteKey("Rules", "Life"));
    EXPECT_FALSE(doc.DeleteSection("Nowhere"));
}

TEST(IniDocument, RefusesWhatOneLineCannotHold) {
    auto doc = CIniDocument::Parse("[A]\nk=1\n");
    EXPECT_FALSE(doc.SetValue("A", "k", "1\n[B]"));
    for (const char* key : {"a=b", "", ";x", "[x"}) EXPECT_FALSE(doc.SetValue("A", key, "1")) << key;
    EXPECT_FALSE(doc.SetValue("A]", "x", "1"));
    EXPECT_FALSE(doc.SetValue("A", "x", std::string("a\0b", 3)));
    EXPECT_EQ(doc.Serialize(), "[A]\nk=1\n");
    EXPECT_TRUE(doc.SetValue("A", "x", ""));  // an empty value is a value
}

// Every byte survives a read and a write (the edited text holds the original); a new key takes the file's
// line ends, also after an unterminated last line, and a byte-order mark stays first without hiding the first
// section.
TEST(IniDocument, RoundTripsKeepEveryByteAndNewKeysFollowTheLineEnds) {
    const struct {
        std::string text, section, edited;
    } cases[] = {
        {"", "A", "[A]\nm=2\n"},
        {"[A]\nk=1", "A", "[A]\nk=1\nm=2\n"},
        {"[A]\r\nk=1\r\n", "B", "[A]\r\nk=1\r\n[B]\r\nm=2\r\n"},
        {"\xEF\xBB\xBF[A]\r\nk=1\r\n", "a", "\xEF\xBB\xBF[A]\r\nk=1\r\nm=2\r\n"},
    };
    for (const auto& c : cases) {
        auto doc = CIniDocument::Parse(c.text);
        ASSERT_TRUE(doc.SetValue(c.section, "m", "2"));
        EXPECT_EQ(doc.Serialize(), c.edited) << c.text;
    }
}

// Random edits against a reference model of sections and keys; after every step the document read
// back from its own text must agree with the model.
TEST(IniDocument, RandomEditsAgreeWithAModel) {
    std::mt19937 random(77);
    const std::vector<std::string> sections = {"Parameters", "PARAMETERS", "Rules", "rules", "Preload"};
    const std::vector<std::string> keys = {"Alpha", "alpha", "Beta", "BETA", "Gamma"};
    auto fold = [](std::string s) {
        for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    std::map<std::string, std::map<std::string, std::string>> model;
    CIniDocument doc = CIniDocument::Parse("; header comment\n");
    for (int step = 0; step < 2000; ++step) {
        const std::string& section = sections[random() % sections.size()];
        const std::string& key = keys[random() % keys.size()];
        const auto operation = random() % 6;
        if (operation < 3) {
            const std::string value = "v" + std::to_string(random() % 100);
            ASSERT_TRUE(doc.SetValue(section, key, value));
            model[fold(section)][fold(key)] = value;
        } else if (operation < 5) {
            doc.DeleteKey(section, key);
            if (model.count(fold(section))) model[fold(section)].erase(fold(key));
        } else if (random() % 4 == 0) {
            doc.DeleteSection(section);
            model.erase(fold(section));
        }
        doc = CIniDocument::Parse(doc.Serialize());
        for (const auto& s : sections) {
            for (const auto& k : keys) {
                std::optional<std::string> expected;
                auto found = model.find(fold(s));
                if (found != model.end() && found->second.count(fold(k)))
                    expected = found->second.at(fold(k));
                ASSERT_EQ(doc.Value(s, k), expected) << "step " << step << " [" << s << "] " << k;
            }
        }
    }
    EXPECT_EQ(doc.Serialize().rfind("; header comment\n", 0), 0u);
}

}  // namespace
}  // namespace tessera::test
