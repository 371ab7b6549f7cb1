#include "ui/toolbar_icons.h"

#include <QIconEngine>
#include <QPainter>
#include <QSvgRenderer>
#include <map>

#include "ui/command_ids.h"

namespace tessera::ui {
namespace {

// Each icon is a drawing on a 24 x 24 canvas.
const char* const kHead = "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 24 24'>";
struct CIconSource {
    const char* theme;
    const char* body;
};

const std::map<uint32_t, CIconSource>& Sources() {
    static const std::map<uint32_t, CIconSource> sources = {
        {cmd::kOpen, {"document-open", "<path d='M2 6h7l2 2h11v12H2z' fill='#e8c060' stroke='#705020'/>"}},
        {cmd::kSave,
         {"document-save",
          "<rect x='3' y='3' width='18' height='18' fill='#5080c0' stroke='#203050'/>"
          "<rect x='7' y='4' width='10' height='6' fill='#fff'/>"}},
        {cmd::kNewGame, {"document-new", "<path d='M5 2h10l4 4v16H5z' fill='#fff' stroke='#404040'/>"}},
        {cmd::kShowPatterns,
         {"",
          "<g fill='#a040a0'><rect x='3' y='3' width='7' height='7'/><rect x='14' y='3' "
          "width='7' height='7'/><rect x='3' y='14' width='7' height='7'/><rect x='14' "
          "y='14' width='7' height='7'/></g>"}},
        {cmd::kCopy,
         {"edit-copy",
          "<rect x='3' y='3' width='12' height='14' fill='#fff' stroke='#404040'/><rect "
          "x='9' y='7' width='12' height='14' fill='#fff' stroke='#404040'/>"}},
        {cmd::kPaste,
         {"edit-paste",
          "<rect x='4' y='4' width='16' height='18' fill='#c09060' stroke='#604020'/>"
          "<rect x='8' y='8' width='12' height='13' fill='#fff' stroke='#404040'/>"}},
        {cmd::kRotateLeft,
         {"object-rotate-left",
          "<path d='M18 16a7 7 0 1 0-7 5' fill='none' stroke='#303030' "
          "stroke-width='2'/><path d='M3 5l3 6 5-4z' fill='#303030'/>"}},
        {cmd::kRotate180,
         {"",
          "<path d='M5 12a7 7 0 1 1 14 0' fill='none' stroke='#303030' stroke-width='2'/><path "
          "d='M15 12h8l-4 5z' fill='#303030'/>"}},
        {cmd::kRotateRight,
         {"object-rotate-right",
          "<path d='M6 16a7 7 0 1 1 7 5' fill='none' stroke='#303030' "
          "stroke-width='2'/><path d='M21 5l-3 6-5-4z' fill='#303030'/>"}},
        {cmd::kHorizReflect,
         {"object-flip-vertical",
          "<path d='M4 10L12 3l8 7z' fill='#303030'/><path d='M4 "
          "14l8 7 8-7z' fill='none' stroke='#303030'/>"}},
        {cmd::kVerticalReflect,
         {"object-flip-horizontal",
          "<path d='M10 4L3 12l7 8z' fill='#303030'/><path d='M14 "
          "4l7 8-7 8z' fill='none' stroke='#303030'/>"}},
        {cmd::kGrowSelection,
         {"",
          "<rect x='3' y='3' width='18' height='18' fill='none' stroke='#0000ff' "
          "stroke-dasharray='3 2'/><path d='M9 7l7 5-7 5z' fill='#303030'/>"}},
        {cmd::kGrowWhilePressed, {"", "<path d='M6 4l12 8-12 8z' fill='#208020'/>"}},
        {cmd::kGrowBackwards, {"", "<path d='M18 4L6 12l12 8z' fill='#802020'/>"}},
        {cmd::kGrowContinuously, {"", "<path d='M2 4l10 8-10 8zM12 4l10 8-10 8z' fill='#208020'/>"}},
    };
    return sources;
}

// Draws the SVG at whatever size and device pixel ratio the toolbar asks for, so it stays sharp.
class CSvgIconEngine : public QIconEngine {
public:
    explicit CSvgIconEngine(QByteArray svg) : svg_(std::move(svg)) {}
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        QSvgRenderer renderer(svg_);
        if (mode == QIcon::Disabled) painter->setOpacity(0.35);
        renderer.render(painter, rect);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }
    QIconEngine* clone() const override { return new CSvgIconEngine(svg_); }

private:
    QByteArray svg_;
};

}  // namespace

QIcon ToolbarIcon(uint32_t commandId) {
    const auto found = Sources().find(commandId);
    if (found == Sources().end()) return {};
    const QIcon own(new CSvgIconEngine(QByteArray(kHead) + found->second.body + "</svg>"));
    if (*found->second.theme == 0) return own;
    return QIcon::fromTheme(QString::fromUtf8(found->second.theme), own);
}

}  // namespace tessera::ui
