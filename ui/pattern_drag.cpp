#include "ui/pattern_drag.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <sstream>

#include "engine/growable_universe.h"
#include "formats/input_limit_exception.h"
#include "formats/xl_import.h"
#include "formats/xl_writer.h"
#include "foundation/errors.h"
#include "patterns/named_pattern.h"
#include "patterns/pattern.h"
#include "patterns/pattern_collections.h"
#include "patterns/pattern_library.h"
#include "text/lex.h"
#include "text/syntax_exception.h"
#include "ui/main_window.h"
#include "ui/universe_window.h"

namespace tessera::ui {
namespace {

// The reference is three lines: the library's number, the pattern's name, the transform item.
constexpr char kSeparator = '\n';
constexpr int kReferenceParts = 3;

std::string RleOf(CUniverse& universe) {
    std::ostringstream text;
    try {
        WriteXLifeRle(universe, text);
    } catch (const CErrorException&) {
        return {};  // too large for the form: the drag carries the reference only
    }
    return text.str();
}

std::unique_ptr<CGrowableUniverse> ReferencedPattern(const QByteArray& reference) {
    const QStringList parts = QString::fromUtf8(reference).split(QLatin1Char(kSeparator));
    if (parts.size() != kReferenceParts) return nullptr;
    bool numbers = true, ok = false;
    const int32_t library = parts[0].toInt(&ok);
    numbers = numbers && ok;
    const int item = parts[2].toInt(&ok);
    numbers = numbers && ok;
    CPatternLibrary* holder = numbers ? FindLibrary(library) : nullptr;
    CNamedPattern* entry = holder ? FindNamedPattern(parts[1].toStdString(), holder) : nullptr;
    if (!entry) return nullptr;
    if (item == 0) return std::make_unique<CGrowableUniverse>(entry->Pattern().Base());
    const CPatternTransformCollection transforms(entry->Pattern());
    if (item < 0 || item > transforms.UniverseCount()) return nullptr;
    CUniverse* universe = transforms.UniverseAt(item);
    return universe ? std::make_unique<CGrowableUniverse>(*universe) : nullptr;
}

std::unique_ptr<CGrowableUniverse> PatternOfText(const QString& text) {
    const std::string bytes = text.toStdString();
    try {
        CLex lex(bytes);
        std::unique_ptr<CXLUniverseCollection> read = ReadXLife(lex, "Dropped", "Dropped");
        if (!read || read->UniverseCount() != 1) return nullptr;
        return std::move(read->InOrder().front()->universe);
    } catch (const CSyntaxException&) {
    } catch (const CInputLimitException&) {
    } catch (const CErrorException&) {
    }
    return nullptr;
}

// The first local file a drag carries, if any.
QString LocalFile(const QMimeData& data) {
    if (!data.hasUrls()) return {};
    for (const QUrl& url : data.urls())
        if (url.isLocalFile()) return url.toLocalFile();
    return {};
}

// The game window's side of a drag: the pattern floats under the mouse while the drag is over the window;
// a drag that leaves gives the window back the floating object it had before.
class CPatternDropTarget : public QObject {
public:
    CPatternDropTarget(CMainWindow& main, CUniverseWindow& view) : QObject(&view), main_(main), view_(view) {}

    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
            case QEvent::DragEnter:
                Enter(*static_cast<QDragEnterEvent*>(event));
                return true;
            case QEvent::DragMove:
                Move(*static_cast<QDragMoveEvent*>(event));
                return true;
            case QEvent::DragLeave:
                Leave();
                return true;
            case QEvent::Drop:
                Drop(*static_cast<QDropEvent*>(event));
                return true;
            default:
                return false;
        }
    }

private:
    static void Take(QDropEvent& event) {
        event.setDropAction(Qt::CopyAction);
        event.accept();
    }

    CLPoint CellAt(const QDropEvent& event) const {
        return view_.CellAtWidgetPoint(event.position().toPoint());
    }

    void Enter(QDragEnterEvent& event) {
        Leave();
        file_ = LocalFile(*event.mimeData());
        if (!file_.isEmpty()) return Take(event);
        if (!view_.Game()) return event.ignore();
        std::unique_ptr<CGrowableUniverse> pattern = DraggedPattern(*event.mimeData());
        if (!pattern || pattern->Population() == 0) return event.ignore();
        hadFloating_ = view_.HasFloatingObject();
        if (hadFloating_) {
            before_ = std::make_unique<CGrowableUniverse>(*view_.FloatingObject());
            beforeOffset_ = view_.FloatingOffset();
        }
        const CLSize offset = OffsetCentredOn(pattern->GetBounds(), CellAt(event));
        view_.SetFloatingObject(std::move(pattern), offset);
        previewing_ = true;
        Take(event);
    }

    void Move(QDragMoveEvent& event) {
        FollowMouse(event);
        if (previewing_ || !file_.isEmpty()) Take(event);
    }

    void FollowMouse(const QDropEvent& event) {
        if (previewing_ && view_.FloatingObject())
            view_.SetFloatingOffset(OffsetCentredOn(view_.FloatingObject()->GetBounds(), CellAt(event)));
    }

    void Leave() {
        if (previewing_) {
            if (hadFloating_)
                view_.SetFloatingObject(std::move(before_), beforeOffset_);
            else
                view_.SetFloatingObject(nullptr, {});
        }
        previewing_ = hadFloating_ = false;
        before_.reset();
        file_.clear();
    }

    void Drop(QDropEvent& event) {
        if (!file_.isEmpty()) {
            Take(event);
            // Opened once the drop is over, since opening may ask the user questions; like Open, it ends
            // any growth first.
            QTimer::singleShot(0, &main_, [&main = main_, file = file_] {
                if (main.IsGrowing()) main.CancelGrowth();
                main.OpenFile(file);
            });
            file_.clear();
            return;
        }
        if (!previewing_) return event.ignore();
        FollowMouse(event);
        Take(event);
        // The pattern stays floating where it fell, and the next click there puts it down.
        previewing_ = hadFloating_ = false;
        before_.reset();
        main_.activateWindow();
        view_.setFocus();
    }

    CMainWindow& main_;
    CUniverseWindow& view_;
    bool previewing_ = false;
    bool hadFloating_ = false;
    std::unique_ptr<CUniverse> before_;
    CLSize beforeOffset_{};
    QString file_;
};

}  // namespace

QMimeData* PatternDragData(const CNamedPattern& entry, int transformItem) {
    auto* data = new QMimeData;
    const QString reference = QString::number(entry.key.libraryNumber) + QLatin1Char(kSeparator) +
                              QString::fromStdString(entry.Name()) + QLatin1Char(kSeparator) +
                              QString::number(transformItem);
    data->setData(QString::fromLatin1(kPatternMimeType), reference.toUtf8());
    std::unique_ptr<CGrowableUniverse> cells = ReferencedPattern(reference.toUtf8());
    if (cells) {
        const std::string rle = RleOf(*cells);
        if (!rle.empty()) data->setText(QString::fromStdString(rle));
    }
    return data;
}

std::unique_ptr<CGrowableUniverse> DraggedPattern(const QMimeData& data) {
    const QString ours = QString::fromLatin1(kPatternMimeType);
    if (data.hasFormat(ours))
        if (std::unique_ptr<CGrowableUniverse> pattern = ReferencedPattern(data.data(ours))) return pattern;
    return data.hasText() ? PatternOfText(data.text()) : nullptr;
}

CLSize OffsetCentredOn(const CLRect& box, CLPoint cell) {
    const auto shift = [](int64_t target, int32_t low, int32_t high, int32_t limitLow, int32_t limitHigh) {
        const int64_t wanted = target - (int64_t{low} + high) / 2;
        return int32_t(std::clamp<int64_t>(wanted, int64_t{limitLow} - low, int64_t{limitHigh} - high));
    };
    return {shift(cell.x, box.left, box.right, UniverseLimits.left, UniverseLimits.right),
            shift(cell.y, box.top, box.bottom, UniverseLimits.top, UniverseLimits.bottom)};
}

void AcceptPatternDrops(CMainWindow& main) {
    CUniverseWindow& view = *main.UniverseWindow();
    view.viewport()->setAcceptDrops(true);
    view.viewport()->installEventFilter(new CPatternDropTarget(main, view));
}

}  // namespace tessera::ui
