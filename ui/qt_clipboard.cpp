#include "ui/qt_clipboard.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMessageBox>
#include <QMimeData>
#include <QTimer>
#include <algorithm>
#include <map>

#include "engine/universe.h"
#include "foundation/errors.h"
#include "foundation/messages.h"
#include "games/game.h"
#include "ui/command_ids.h"
#include "ui/main_window.h"
#include "ui/message_sink.h"
#include "ui/mono_image.h"
#include "ui/pattern_picture.h"
#include "ui/universe_window.h"

namespace tessera::ui {

// One offer of the program on the clipboard. Qt owns it from the moment it is set, and asks it for a
// format when some program (this one included) wants that format; only then is the format rendered.
class CPatternMimeData : public QMimeData {
    Q_OBJECT
public:
    CPatternMimeData(CQtSystemClipboard& owner, bool text, bool bitmap, bool picture) : owner_(&owner) {
        if (text) offered_.push_back(EClipboardFormat::Text);
        if (bitmap) offered_.push_back(EClipboardFormat::Bitmap);
        if (picture) offered_.push_back(EClipboardFormat::Picture);
    }

    QStringList formats() const override {
        QStringList types;
        for (EClipboardFormat format : offered_) {
            // Once the offer is on its own, only what was rendered can still be given.
            if (!owner_ && !rendered_.contains(format)) continue;
            switch (format) {
                case EClipboardFormat::Text:
                    types << QString::fromLatin1(kTextMimeType);
                    break;
                case EClipboardFormat::Bitmap:
                    types << QString::fromLatin1(kImageMimeType) << QString::fromLatin1(kQtImageMimeType);
                    break;
                case EClipboardFormat::Picture:
                    types << QString::fromLatin1(kPictureMimeType);
                    break;
            }
        }
        return types;
    }

    void Detach() { owner_ = nullptr; }
    bool HasRendered() const { return !rendered_.empty(); }
    void Store(EClipboardFormat format, QVariant value) { rendered_[format] = std::move(value); }

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override {
        std::optional<EClipboardFormat> format;
        if (mimeType == QLatin1String(kTextMimeType)) format = EClipboardFormat::Text;
        if (mimeType == QLatin1String(kImageMimeType) || mimeType == QLatin1String(kQtImageMimeType))
            format = EClipboardFormat::Bitmap;
        if (mimeType == QLatin1String(kPictureMimeType)) format = EClipboardFormat::Picture;
        if (!format || std::find(offered_.begin(), offered_.end(), *format) == offered_.end()) return {};
        if (!rendered_.contains(*format) && owner_) {
            // A format that cannot be given (text too long) is asked for once, not at every request.
            rendered_[*format] = QVariant();
            owner_->Render(*this, *format);
        }
        const QVariant& value = rendered_[*format];
        if (!value.isValid()) return {};
        if (*format == EClipboardFormat::Text)
            return type.id() == QMetaType::QByteArray ? QVariant(value.toString().toUtf8()) : value;
        if (*format == EClipboardFormat::Bitmap && mimeType == QLatin1String(kImageMimeType)) {
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            qvariant_cast<QImage>(value).save(&buffer, "PNG");
            return png;
        }
        return value;
    }

private:
    CQtSystemClipboard* owner_;
    std::vector<EClipboardFormat> offered_;
    mutable std::map<EClipboardFormat, QVariant> rendered_;
};

// ---- CQtSystemClipboard

CQtSystemClipboard::~CQtSystemClipboard() { Detach(); }

void CQtSystemClipboard::ReleaseOffer() {
    if (!offer_) return;
    const bool owned = OwnedByThisProgram();
    offer_->Detach();
    CPatternMimeData* offer = offer_.data();
    offer_ = nullptr;
    // An offer with nothing in it would only promise what can no longer be given.
    if (owned && !offer->HasRendered()) QGuiApplication::clipboard()->clear();
}

void CQtSystemClipboard::Attach(CClipboard& clipboard, std::function<void()> changed) {
    clipboard_ = &clipboard;
    changed_ = std::move(changed);
}

void CQtSystemClipboard::Detach() {
    QObject::disconnect(watch_);
    clipboard_ = nullptr;
    changed_ = nullptr;
    ReleaseOffer();
}

bool CQtSystemClipboard::OwnedByThisProgram() {
    return offer_ && QGuiApplication::clipboard()->mimeData() == offer_.data();
}

void CQtSystemClipboard::Offer(bool text, bool bitmap, bool picture) {
    auto* offer = new CPatternMimeData(*this, text, bitmap, picture);
    // Known as ours before the clipboard announces the change.
    offer_ = offer;
    QGuiApplication::clipboard()->setMimeData(offer);
}

std::optional<std::string> CQtSystemClipboard::Text() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasText()) return std::nullopt;
    return data->text().toStdString();
}

std::optional<CMonochromeBitmap> CQtSystemClipboard::Bitmap() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data) return std::nullopt;
    if (data->hasImage()) return BitmapOfImage(qvariant_cast<QImage>(data->imageData()));
    // Image types Qt does not gather under its own image type.
    for (const QString& type : data->formats()) {
        if (!type.startsWith(QLatin1String("image/")) || type == QLatin1String(kPictureMimeType)) continue;
        const QImage image = QImage::fromData(data->data(type));
        if (!image.isNull()) return BitmapOfImage(image);
    }
    return std::nullopt;
}

void CQtSystemClipboard::Render(const CPatternMimeData& offer, EClipboardFormat format) {
    // Only the offer on the clipboard now is rendered from the clipboard object.
    if (clipboard_ && &offer == offer_.data()) clipboard_->Render(format);
}

void CQtSystemClipboard::PutText(const std::string& text) {
    if (offer_) offer_->Store(EClipboardFormat::Text, QString::fromStdString(text));
}

void CQtSystemClipboard::PutBitmap(const CMonochromeBitmap& bitmap) {
    if (offer_) offer_->Store(EClipboardFormat::Bitmap, ImageOfBitmap(bitmap));
}

void CQtSystemClipboard::PutPicture(CUniverse& pattern, int scale, int style) {
    if (offer_) offer_->Store(EClipboardFormat::Picture, PatternPicture(pattern, scale, style));
}

void CQtSystemClipboard::JoinViewerChain() {
    if (watch_) return;
    watch_ = QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, [this] {
        // The program's own offers announce themselves while the clipboard object is still making them.
        if (!clipboard_ || OwnedByThisProgram()) return;
        clipboard_->ClipboardChanged();
        if (changed_) changed_();
    });
}

// ---- CQtClipboardUser

bool CQtClipboardUser::AskYesNo(int messageId) {
    const std::string_view text = MessageText(messageId);
    return QMessageBox::question(parent_, QStringLiteral("Tessera"),
                                 QString::fromUtf8(text.data(), qsizetype(text.size()))) == QMessageBox::Yes;
}

void CQtClipboardUser::ShowNotice(const std::string& text) {
    // Notices arise while another program waits for its data: the box opens once that is answered.
    QTimer::singleShot(0, parent_, [parent = parent_, notice = QString::fromStdString(text)] {
        ShowMessage(parent, QMessageBox::Information, notice);
    });
}

// ---- CDesktopClipboard

CDesktopClipboard::CDesktopClipboard(QWidget* parent)
    : QObject(parent), user_(parent), dialogs_(parent), clipboard_(system_, user_) {
    // Listeners examine the clipboard once the change has been handled, not inside it.
    system_.Attach(clipboard_, [this] { QTimer::singleShot(0, this, [this] { emit contentChanged(); }); });
}

CDesktopClipboard::~CDesktopClipboard() { system_.Detach(); }

bool CDesktopClipboard::CanRunCommand(uint32_t id, CUniverseWindow& view) {
    switch (id) {
        case cmd::kCut:
            return view.Game() && view.HasSelection();
        case cmd::kCopy:
            return view.HasSelection() || view.HasFloatingObject();
        case cmd::kPaste:
            return view.Game() && clipboard_.IsPatternAvailable();
        case cmd::kPasteNewGame:
            return clipboard_.IsPatternAvailable();
        default:
            return true;
    }
}

bool CDesktopClipboard::RunCommand(uint32_t id, CMainWindow& window) {
    CUniverseWindow& view = *window.UniverseWindow();
    switch (id) {
        case cmd::kCut:
        case cmd::kCopy:
            if (view.HasSelection()) {
                Copy(*view.SelectedCells(), view);
                if (id == cmd::kCut) view.DeleteSelection();
            } else if (id == cmd::kCopy && view.FloatingObject()) {
                Copy(*view.FloatingObject(), view);
            }
            return true;
        case cmd::kPaste:
            PasteInto(view);
            return true;
        case cmd::kPasteNewGame:
            if (CGame* game = NewGameFromClipboard(clipboard_, window.Games(), dialogs_)) {
                window.ShowGame(game);
                view.Zoom(EZoom::kAll);
            }
            return true;
        default:
            return false;
    }
}

void CDesktopClipboard::Copy(CUniverse& cells, CUniverseWindow& view) {
    // The picture and the bitmap are drawn as the window draws: its scale, grid (0) or map (1) style.
    clipboard_.CopyPattern(cells, view.Geometry().Scale(), view.IsGridStyle() ? 0 : 1);
}

void CDesktopClipboard::PasteInto(CUniverseWindow& view, std::optional<CLPoint> centre) {
    if (!view.Game()) throw CErrorException(msg::CannotModifyGeneration);
    CClipboardPattern pattern = clipboard_.TakePattern(dialogs_);
    if (!pattern.universe || pattern.universe->Population() == 0) return;
    const CLRect box = pattern.universe->GetBounds();
    const CLPoint at = centre.value_or(view.Geometry().Centre());
    // The object's centre goes to the cell, as far as the plane's edges allow.
    const auto shift = [](int64_t target, int32_t low, int32_t high, int32_t limitLow, int32_t limitHigh) {
        const int64_t wanted = target - (int64_t(low) + high) / 2;
        return int32_t(std::clamp<int64_t>(wanted, int64_t(limitLow) - low, int64_t(limitHigh) - high));
    };
    const CLSize offset{shift(at.x, box.left, box.right, UniverseLimits.left, UniverseLimits.right),
                        shift(at.y, box.top, box.bottom, UniverseLimits.top, UniverseLimits.bottom)};
    view.SetFloatingObject(std::move(pattern.universe), offset);
}

void CDesktopClipboard::GiveUp() {
    if (system_.OwnedByThisProgram()) clipboard_.GiveUp();
    system_.ReleaseOffer();
}

}  // namespace tessera::ui

#include "qt_clipboard.moc"
