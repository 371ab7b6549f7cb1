// The clipboard object against a fake system clipboard: examining text and bitmaps, the program's own
// offers rendered on request, and patterns round-tripping through text and bitmaps.
#include <gtest/gtest.h>

#include <optional>

#include "config/parameters.h"
#include "format_test_support.h"
#include "formats/clipboard.h"
#include "foundation/messages.h"
#include "games/game_registry.h"

namespace tessera::test {
namespace {

class FakeSystemClipboard : public CSystemClipboard {
public:
    bool OwnedByThisProgram() override { return owned; }
    void Offer(bool, bool, bool) override { owned = true, text.reset(), bitmap.reset(); }
    std::optional<std::string> Text() override { return text; }
    std::optional<CMonochromeBitmap> Bitmap() override { return bitmap; }
    void PutText(const std::string& t) override { text = t; }
    void PutBitmap(const CMonochromeBitmap& b) override { bitmap = b; }
    void PutPicture(CUniverse&, int scale, int) override { pictureScales.push_back(scale); }
    void JoinViewerChain() override { ++joins; }
    // Another program takes over what is on the clipboard now.
    void HandOver(CClipboard& clipboard) {
        owned = false;
        clipboard.ClipboardChanged();
    }

    bool owned = false;
    std::optional<std::string> text;
    std::optional<CMonochromeBitmap> bitmap;
    std::vector<int> pictureScales;
    int joins = 0;
};

class FakeUser : public CClipboardUser {
public:
    bool AskYesNo(int messageId) override {
        questions.push_back(messageId);
        return answer;
    }
    void ShowNotice(const std::string& text) override { notices.push_back(text); }
    bool answer = true;
    std::vector<int> questions;
    std::vector<std::string> notices;
};

class ClipboardTest : public FormatTest {
protected:
    CClipboardPattern Take() { return clipboard.TakePattern(dialogs); }

    FakeSystemClipboard system;
    FakeUser user;
    FakeDialogs dialogs;
    CClipboard clipboard{system, user};
};

TEST_F(ClipboardTest, TextIsExaminedForSeveralOrNoPattern) {
    // The choice among several patterns, its cells and cancelling it are the desktop clipboard tests'; one
    // pattern is the naming test's.
    system.text = "#N first\n#P 0 0\n**\n#N second\n#P 0 0\n*\n*\n#N third\n#P 0 0\n***\n";
    EXPECT_TRUE(clipboard.IsPatternAvailable());
    EXPECT_EQ(system.joins, 1);
    EXPECT_EQ(clipboard.State(), EClipboardState::SeveralPatterns);
    dialogs.choice = 2;
    EXPECT_EQ(Take().name.Text(), "second");

    system.HandOver(clipboard);
    system.text = "Dear colleague, no cells here.\n";
    EXPECT_FALSE(clipboard.IsPatternAvailable());
    EXPECT_TRUE(clipboard.IsTextAvailable());
    EXPECT_EQ(clipboard.State(), EClipboardState::NoPattern);
    EXPECT_EQ(system.joins, 1) << "the viewer chain is joined once";
}

TEST_F(ClipboardTest, BitmapsOfEveryScaleMatchAModelAndImportBack) {
    std::mt19937 random(55);
    const Cells cells = RandomSoup(random, -9, 4, 21, 13, 0.35);
    auto pattern = MakeUniverse(cells, kConwayRuleCode);
    const CLRect box = pattern->GetBounds();
    const int gaps[] = {0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2, 2, 2};  // blank lines of a cell, by scale
    for (int scale : {1, 2, 3, 5, 8, 9, 15, -2, -3, -4}) {
        const CMonochromeBitmap bitmap = RenderPatternBitmap(*pattern, scale, false);
        const int32_t k = std::abs(scale), w = box.right - box.left, h = box.bottom - box.top;
        ASSERT_EQ(bitmap.width, scale > 0 ? w * k : (w + k - 1) / k) << scale;
        ASSERT_EQ(bitmap.height, scale > 0 ? h * k : (h + k - 1) / k) << scale;
        EXPECT_EQ(bitmap.bytesPerRow, (bitmap.width + 15) / 16 * 2) << scale;
        for (int32_t py = 0; py < bitmap.height; ++py) {
            for (int32_t px = 0; px < bitmap.width; ++px) {
                bool lit = false;
                for (int d = 0; d < (scale > 0 ? 1 : k * k); ++d) {
                    const int32_t x = scale > 0 ? px / k : px * k + d % k,
                                  y = scale > 0 ? py / k : py * k + d / k;
                    const bool inCell = scale < 0 || (px % k < k - gaps[k] && py % k < k - gaps[k]);
                    lit |= inCell && cells.count({box.left + x, box.top + y});
                }
                ASSERT_EQ(bitmap.Pixel(px, py), lit) << scale << ": " << px << "," << py;
            }
        }
    }
    // Copied and pasted back as a bitmap, with the invert question, is the desktop clipboard tests'. Exactly
    // half the pixels set: taken as it is, without the question.
    system.bitmap = CMonochromeBitmap{4, 2, 2, {0xF0, 0x00, 0x00, 0x00}};
    EXPECT_TRUE(clipboard.IsPatternAvailable());
    EXPECT_EQ(clipboard.State(), EClipboardState::Bitmap);
    EXPECT_EQ(CellsOf(*Take().universe), (Cells{{0, 0}, {1, 0}, {2, 0}, {3, 0}}));
    EXPECT_TRUE(user.questions.empty());
}

TEST_F(ClipboardTest, LargePatternsRoundTripAsTextUnlessTheUserLimitsIt) {
    std::mt19937 random(7);
    const Cells cells = RandomSoup(random, 0, 0, 400, 300, 0.45);
    auto pattern = MakeUniverse(cells, kConwayRuleCode);
    clipboard.CopyPattern(*pattern);
    ASSERT_GT(clipboard.PatternText().size(), 65528u);
    clipboard.Render(EClipboardFormat::Text);
    system.HandOver(clipboard);
    CClipboardPattern back = Take();
    ASSERT_TRUE(back.universe);
    EXPECT_EQ(Normalised(CellsOf(*back.universe)), Normalised(cells));

    params::MaxClipboardBuffer.SetUInt(65528);
    clipboard.CopyPattern(*pattern);
    clipboard.Render(EClipboardFormat::Text);
    EXPECT_FALSE(system.text) << "over the limit: no text";
    ASSERT_EQ(user.notices.size(), 1u);
    EXPECT_NE(user.notices[0].find("MaxClipboardBuffer"), std::string::npos);

    // Two cells far apart at a large scale: no bitmap is rendered, and nothing fails.
    auto sparse = MakeUniverse({{0, 0}, {40000, 40000}}, kConwayRuleCode);
    clipboard.CopyPattern(*sparse, 8, 0);
    clipboard.Render(EClipboardFormat::Bitmap);
    EXPECT_FALSE(system.bitmap);
}

TEST_F(ClipboardTest, GivingUpAsksAboutLargeContentOnly) {
    std::mt19937 random(3);
    Cells cells;
    while (cells.size() < 1025) cells.insert({int32_t(random() % 200), int32_t(random() % 200)});
    auto large = MakeUniverse(cells, kConwayRuleCode);
    cells.erase(cells.begin());
    auto limit = MakeUniverse(cells, kConwayRuleCode);

    clipboard.CopyPattern(*limit, 2, 0);
    clipboard.GiveUp();
    EXPECT_TRUE(user.questions.empty());
    EXPECT_TRUE(system.text && system.bitmap);
    EXPECT_EQ(system.pictureScales, std::vector<int>{2});

    clipboard.CopyPattern(*large, 2, 0);
    user.answer = false;
    clipboard.GiveUp();
    EXPECT_EQ(user.questions, std::vector<int>{msg::LeaveOnClipboard});
    EXPECT_FALSE(system.text || system.bitmap) << "nothing rendered on No";
}

TEST_F(ClipboardTest, CancelledNamingLeavesNoGame) {
    CGameRegistry games;
    system.text = "#P 0 0\n***\n";
    CGame* first = NewGameFromClipboard(clipboard, games, dialogs);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Name().Text(), "clipboard");
    EXPECT_EQ(NewGameFromClipboard(clipboard, games, dialogs), nullptr) << "the name clash is cancelled";
    EXPECT_EQ(dialogs.clashes, std::vector<std::string>{"clipboard"});
    EXPECT_EQ(games.Count(), 1u);
}

}  // namespace
}  // namespace tessera::test
