#pragma once
// The application's clipboard object: what the system clipboard holds as far as patterns go, the
// program's own offers (text, monochrome bitmap and picture of a copied pattern, rendered only when
// asked for), and patterns read back from clipboard text or bitmaps.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "engine/growable_universe.h"
#include "formats/clipboard_bitmap.h"
#include "foundation/name.h"

namespace tessera {

class CFileDialogs;
class CGame;
class CGameRegistry;
class CXLUniverseCollection;

enum class EClipboardState {
    NotExamined = 0,      // another program changed the clipboard
    OwnPattern = 1,       // this program put a pattern there (text, bitmap and picture offered)
    OwnText = 2,          // this program put plain text there
    OnePattern = 3,       // the clipboard text holds exactly one pattern
    SeveralPatterns = 5,  // the clipboard text holds several patterns
    Reading = 6,          // the clipboard text is being read
    Bitmap = 7,           // the clipboard holds a monochrome bitmap
    NoPattern = 8,        // the clipboard text holds no usable pattern
};

enum class EClipboardFormat { Text, Bitmap, Picture };

// The system clipboard as the platform offers it (the desktop implements it; tests use a fake).
class CSystemClipboard {
public:
    virtual ~CSystemClipboard() = default;
    // Whether this program put the current content there.
    virtual bool OwnedByThisProgram() = 0;
    // Empties the clipboard, takes it over and announces formats whose data comes later, on request.
    virtual void Offer(bool text, bool bitmap, bool picture) = 0;
    virtual std::optional<std::string> Text() = 0;
    // A bitmap of one plane and one bit per pixel, if the clipboard holds one.
    virtual std::optional<CMonochromeBitmap> Bitmap() = 0;
    virtual void PutText(const std::string& text) = 0;
    virtual void PutBitmap(const CMonochromeBitmap& bitmap) = 0;
    // Records the pattern as a picture, drawn in the grid style (style 0) or the map style.
    virtual void PutPicture(CUniverse& pattern, int scale, int style) = 0;
    // Asks to hear when another program changes the clipboard.
    virtual void JoinViewerChain() = 0;
};

// The questions and notices the clipboard puts to the user.
class CClipboardUser {
public:
    virtual ~CClipboardUser() = default;
    // A Yes/No question by message number: true for Yes.
    virtual bool AskYesNo(int messageId) = 0;
    virtual void ShowNotice(const std::string& text) = 0;
};

// A pattern taken from the clipboard.
struct CClipboardPattern {
    std::unique_ptr<CGrowableUniverse> universe;  // none when nothing was taken
    CName name;
    std::string description;
};

class CClipboard {
public:
    CClipboard(CSystemClipboard& system, CClipboardUser& user);
    ~CClipboard();
    CClipboard(const CClipboard&) = delete;
    CClipboard& operator=(const CClipboard&) = delete;

    EClipboardState State() const { return state_; }

    // Offers a copy of the pattern, centred on the origin, to be drawn at the scale and style.
    void CopyPattern(CUniverse& pattern, int scale, int style);
    // CopyPattern with "DefaultClipboardScale" and "DefaultClipboardStyle".
    void CopyPattern(CUniverse& pattern);
    void CopyText(std::string text);

    // Puts one offered format on the clipboard (another program asked for it). Text longer than
    // "MaxClipboardBuffer" allows is not given, and the user is told so.
    void Render(EClipboardFormat format);
    void RenderAll();
    // The program gives up the clipboard (exit): large content is left there only when the user wants.
    void GiveUp();
    // Another program changed the clipboard.
    void ClipboardChanged();

    bool IsPatternAvailable();
    bool IsTextAvailable();
    // The pattern on the clipboard; with several the user chooses one (none on cancel), a bitmap with
    // more bits set than clear may be inverted first.
    CClipboardPattern TakePattern(CFileDialogs& dialogs);

    // The copied pattern's text as it is offered (any size).
    std::string PatternText() const;

private:
    void Examine();
    void Drop();
    void EnsureExamined();
    CClipboardPattern ImportBitmap();

    CSystemClipboard& system_;
    CClipboardUser& user_;
    EClipboardState state_ = EClipboardState::NotExamined;
    std::unique_ptr<CGrowableUniverse> universe_;
    std::unique_ptr<CXLUniverseCollection> collection_;
    std::string text_;
    CName name_;
    std::string description_;
    int scale_ = 1;
    int style_ = 0;
    bool joined_ = false;
};

// A new game from the clipboard's pattern, named after it; none when there is no pattern or the user
// cancels the choice or the naming (no game is left behind then).
CGame* NewGameFromClipboard(CClipboard& clipboard, CGameRegistry& games, CFileDialogs& dialogs);

}  // namespace tessera
