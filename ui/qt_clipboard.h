#pragma once
// The system clipboard through Qt. A copied pattern is offered as text (XLife/RLE), as a monochrome
// image (PNG, and whatever image types Qt converts to) and as an SVG picture, each drawn only when a
// program asks for it; patterns come back from clipboard text or black-and-white images. The Edit
// commands Cut, Copy, Paste and Paste as New Game work through CDesktopClipboard.
#include <QObject>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <optional>

#include "formats/clipboard.h"
#include "foundation/geometry.h"
#include "ui/qt_file_dialogs.h"

class QWidget;

namespace tessera::ui {

class CMainWindow;
class CPatternMimeData;
class CUniverseWindow;

// The MIME types of the program's offers.
inline constexpr char kTextMimeType[] = "text/plain";
inline constexpr char kImageMimeType[] = "image/png";
inline constexpr char kQtImageMimeType[] = "application/x-qt-image";
inline constexpr char kPictureMimeType[] = "image/svg+xml";

class CQtSystemClipboard : public CSystemClipboard {
public:
    CQtSystemClipboard() = default;
    ~CQtSystemClipboard() override;
    CQtSystemClipboard(const CQtSystemClipboard&) = delete;
    CQtSystemClipboard& operator=(const CQtSystemClipboard&) = delete;

    // The clipboard object that renders the offers, and what to call when another program changes the
    // clipboard.
    void Attach(CClipboard& clipboard, std::function<void()> changed);
    // The current offer stays on the clipboard with what has been rendered so far and renders no more;
    // when nothing has been rendered, the clipboard is emptied.
    void ReleaseOffer();
    // ReleaseOffer, and no more rendering or change notices.
    void Detach();

    bool OwnedByThisProgram() override;
    void Offer(bool text, bool bitmap, bool picture) override;
    std::optional<std::string> Text() override;
    std::optional<CMonochromeBitmap> Bitmap() override;
    void PutText(const std::string& text) override;
    void PutBitmap(const CMonochromeBitmap& bitmap) override;
    void PutPicture(CUniverse& pattern, int scale, int style) override;
    void JoinViewerChain() override;

private:
    friend class CPatternMimeData;
    void Render(const CPatternMimeData& offer, EClipboardFormat format);

    CClipboard* clipboard_ = nullptr;
    std::function<void()> changed_;
    QPointer<CPatternMimeData> offer_;
    QMetaObject::Connection watch_;
};

// The questions as message boxes; notices wait until the request that caused them has been answered.
class CQtClipboardUser : public CClipboardUser {
public:
    explicit CQtClipboardUser(QWidget* parent) : parent_(parent) {}
    bool AskYesNo(int messageId) override;
    void ShowNotice(const std::string& text) override;

private:
    QWidget* parent_;
};

// The application's clipboard object with its Qt surroundings, and the Edit commands.
class CDesktopClipboard : public QObject {
    Q_OBJECT
public:
    explicit CDesktopClipboard(QWidget* parent);
    ~CDesktopClipboard() override;

    CClipboard& Clipboard() { return clipboard_; }
    bool CanRunCommand(uint32_t commandId, CUniverseWindow& view);
    // Cut, Copy, Paste and Paste as New Game; false for other commands.
    bool RunCommand(uint32_t commandId, CMainWindow& window);
    // Copies the cells at the window's scale and style.
    void Copy(CUniverse& cells, CUniverseWindow& view);
    // The clipboard's pattern floats in the window centred on the cell (the window's centre by default),
    // ready to be dropped.
    void PasteInto(CUniverseWindow& view, std::optional<CLPoint> centre = std::nullopt);
    // The clipboard's pattern, with the user's choice when it holds several (none on cancel).
    CClipboardPattern TakePattern() { return clipboard_.TakePattern(dialogs_); }
    // The program is about to exit: large offers stay on the clipboard only when the user wants.
    void GiveUp();

signals:
    // Another program changed the clipboard: whether Paste can run may have changed.
    void contentChanged();

private:
    CQtSystemClipboard system_;
    CQtClipboardUser user_;
    CQtFileDialogs dialogs_;
    CClipboard clipboard_;
};

}  // namespace tessera::ui
