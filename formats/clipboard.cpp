#include "formats/clipboard.h"

#include <new>
#include <sstream>

#include "config/parameters.h"
#include "engine/transform.h"
#include "formats/game_format.h"
#include "formats/input_limit_exception.h"
#include "formats/xl_collection.h"
#include "formats/xl_import.h"
#include "formats/xl_writer.h"
#include "foundation/errors.h"
#include "foundation/messages.h"
#include "games/game.h"
#include "games/game_registry.h"
#include "text/lex.h"
#include "text/syntax_exception.h"

namespace tessera {
namespace {

std::unique_ptr<CGrowableUniverse> CopyOf(CUniverse& universe) { return universe.Clone(); }

}  // namespace

CClipboard::CClipboard(CSystemClipboard& system, CClipboardUser& user) : system_(system), user_(user) {}

CClipboard::~CClipboard() = default;

void CClipboard::Drop() {
    universe_.reset();
    collection_.reset();
    text_.clear();
    name_ = CName();
    description_.clear();
}

void CClipboard::CopyPattern(CUniverse& pattern, int scale, int style) {
    Drop();
    // Centre the bounding rectangle on the origin.
    const CLRect box = pattern.GetBounds();
    CTransform centre;
    if (pattern.Population() != 0) {
        centre.xOffset = int32_t(-((int64_t(box.left) + box.right) / 2));
        centre.yOffset = int32_t(-((int64_t(box.top) + box.bottom) / 2));
    }
    universe_ = std::make_unique<CGrowableUniverse>(pattern, centre);
    scale_ = scale;
    style_ = style;
    system_.Offer(true, true, true);
    state_ = EClipboardState::OwnPattern;
}

void CClipboard::CopyPattern(CUniverse& pattern) {
    CopyPattern(pattern, int(params::DefaultClipboardScale.GetUInt()),
                int(params::DefaultClipboardStyle.GetUInt()));
}

void CClipboard::CopyText(std::string text) {
    Drop();
    text_ = std::move(text);
    system_.Offer(true, false, false);
    state_ = EClipboardState::OwnText;
}

std::string CClipboard::PatternText() const {
    if (!universe_) return {};
    std::ostringstream out;
    WriteXLifeUniverse(*universe_, out);
    return out.str();
}

void CClipboard::Render(EClipboardFormat format) {
    if (state_ == EClipboardState::OwnText) {
        if (format == EClipboardFormat::Text) system_.PutText(text_);
        return;
    }
    if (state_ != EClipboardState::OwnPattern || !universe_) return;
    switch (format) {
        case EClipboardFormat::Text: {
            const std::string text = PatternText();
            // The limit counts the terminating zero of the clipboard's text.
            const uint64_t limit = params::MaxClipboardBuffer.GetUInt();
            if (text.size() + 1 > limit) {
                user_.ShowNotice(FormatMessage(msg::ClipboardTextTooLong, std::to_string(text.size()),
                                               std::to_string(limit)));
                return;
            }
            system_.PutText(text);
            return;
        }
        case EClipboardFormat::Bitmap:
        case EClipboardFormat::Picture:
            // A render buffer that cannot be had renders nothing; the text is still offered.
            try {
                if (format == EClipboardFormat::Bitmap)
                    system_.PutBitmap(
                        RenderPatternBitmap(*universe_, scale_, params::ClipboardInvertBitmap.GetInt() != 0));
                else
                    system_.PutPicture(*universe_, scale_, style_);
            } catch (const CMemoryException&) {
            } catch (const std::bad_alloc&) {
            }
            return;
    }
}

void CClipboard::RenderAll() {
    Render(EClipboardFormat::Text);
    Render(EClipboardFormat::Bitmap);
    Render(EClipboardFormat::Picture);
}

void CClipboard::GiveUp() {
    uint64_t size = 0;
    if (state_ == EClipboardState::OwnPattern && universe_) {
        size = universe_->Population();
    } else if (state_ == EClipboardState::OwnText) {
        size = text_.size();
    } else {
        return;
    }
    if (size > uint64_t(params::MaxSilentClipboardLength.GetInt()) && !user_.AskYesNo(msg::LeaveOnClipboard))
        return;
    RenderAll();
}

void CClipboard::ClipboardChanged() {
    if (system_.OwnedByThisProgram()) return;
    Drop();
    state_ = EClipboardState::NotExamined;
}

void CClipboard::Examine() {
    Drop();
    if (std::optional<std::string> text = system_.Text()) {
        text_ = std::move(*text);
        state_ = EClipboardState::Reading;
        const std::string title(MessageText(msg::ClipboardTitle));
        try {
            CLex lex(text_);
            collection_ = ReadXLife(lex, title, title);
        } catch (const CSyntaxException&) {
            collection_.reset();
        } catch (const CInputLimitException&) {
            collection_.reset();
        }
        const int count = collection_ ? collection_->UniverseCount() : 0;
        if (count == 1) {
            CXLUniverse& only = *collection_->InOrder().front();
            universe_ = std::move(only.universe);
            name_ = only.name;
            description_ = only.description;
            collection_.reset();
            state_ = EClipboardState::OnePattern;
            return;
        }
        if (count > 1) {
            state_ = EClipboardState::SeveralPatterns;
            return;
        }
        collection_.reset();
        state_ = EClipboardState::NoPattern;
    }
    if (system_.Bitmap()) state_ = EClipboardState::Bitmap;
}

void CClipboard::EnsureExamined() {
    if (!joined_) {
        system_.JoinViewerChain();
        joined_ = true;
    }
    if (state_ == EClipboardState::NotExamined) Examine();
}

bool CClipboard::IsPatternAvailable() {
    EnsureExamined();
    return state_ == EClipboardState::OwnPattern || state_ == EClipboardState::OnePattern ||
           state_ == EClipboardState::SeveralPatterns || state_ == EClipboardState::Bitmap;
}

bool CClipboard::IsTextAvailable() {
    EnsureExamined();
    return state_ == EClipboardState::OwnText || state_ == EClipboardState::OnePattern ||
           state_ == EClipboardState::SeveralPatterns || state_ == EClipboardState::NoPattern;
}

CClipboardPattern CClipboard::ImportBitmap() {
    CClipboardPattern pattern;
    std::optional<CMonochromeBitmap> bitmap = system_.Bitmap();
    if (!bitmap) return pattern;
    const uint64_t pixels = uint64_t(bitmap->width) * uint64_t(bitmap->height);
    const bool invert = CountSetPixels(*bitmap) * 2 > pixels && user_.AskYesNo(msg::InvertClipboardBitmap);
    universe_ = UniverseFromBitmap(*bitmap, invert);
    state_ = EClipboardState::OnePattern;
    pattern.universe = CopyOf(*universe_);
    return pattern;
}

CClipboardPattern CClipboard::TakePattern(CFileDialogs& dialogs) {
    EnsureExamined();
    CClipboardPattern pattern;
    switch (state_) {
        case EClipboardState::OwnPattern:
        case EClipboardState::OnePattern:
            if (universe_) pattern.universe = CopyOf(*universe_);
            pattern.name = name_;
            pattern.description = description_;
            break;
        case EClipboardState::SeveralPatterns:
            if (CXLUniverse* chosen = collection_->SelectUniverse(dialogs)) {
                pattern.universe = CopyOf(*chosen->universe);
                pattern.name = chosen->name;
                pattern.description = chosen->description;
            }
            break;
        case EClipboardState::Bitmap:
            pattern = ImportBitmap();
            break;
        default:
            break;
    }
    return pattern;
}

CGame* NewGameFromClipboard(CClipboard& clipboard, CGameRegistry& games, CFileDialogs& dialogs) {
    CClipboardPattern pattern = clipboard.TakePattern(dialogs);
    if (!pattern.universe) return nullptr;
    CGame& game = games.NewGame(*pattern.universe);
    game.SetDescription(pattern.description);
    if (!NameGame(game, pattern.name, dialogs)) {
        games.DestroyGame(game);
        return nullptr;
    }
    return &game;
}

}  // namespace tessera
