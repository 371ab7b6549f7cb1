// What the universe window shows at several scales and styles, with a selection and differences; the
// zoom arithmetic behind it and the logarithmic scales of the slider and auto-scroll.
#include <set>
#include <sstream>

#include "ui/log_slider.h"
#include "ui/ui_fixture.h"
#include "ui/view_geometry.h"

namespace tessera::test {
namespace {

// A colour parameter as the screen shows it, read from its text: red, green and blue, or one grey level.
QRgb Shown(CParamColor& parameter) {
    std::istringstream in(parameter.GetText());
    int r = 0, g = 0, b = 0;
    in >> r;
    if (!(in >> g >> b)) g = b = r;
    return qRgb(r, g, b) & 0xFFFFFF;
}

}  // namespace

using ui::CViewGeometry;
using ui::EZoom;

class RenderingTest : public QObject {
    Q_OBJECT
    std::unique_ptr<CUiFixture> f;
    struct {
        QRgb alive, background, grid, selected, born, died;
    } colours{};

private slots:
    void init() {
        f = std::make_unique<CUiFixture>();
        colours = {Shown(params::AliveColor), 0xFFFFFFu,  // white paper by default
                   Shown(params::GridColor),  Shown(params::SelectedColor),
                   Shown(params::BornColor),  Shown(params::DiedColor)};
        // Every check below tells its colour from the others.
        QCOMPARE(std::set<QRgb>({colours.alive, colours.background, colours.grid, colours.selected,
                                 colours.born, colours.died})
                     .size(),
                 size_t(6));
    }
    void cleanup() { f.reset(); }

    void mapStyleAtSeveralScales() {
        f->window->RunCommandId(40051);  // map style
        f->Place({{0, 0}, {3, 1}, {-40, -30}});
        for (int scale : {1, 2, 5, 8, 11}) {
            f->View().Geometry().SetScale(scale, CLPoint{0, 0});
            QCOMPARE(f->PixelOfCell({0, 0}), colours.alive);
            QCOMPARE(f->PixelOfCell({3, 1}), colours.alive);
            QCOMPARE(f->PixelOfCell({1, 0}), colours.background);
            QCOMPARE(f->PixelOfCell({3, 0}), colours.background);
            // The gap at the right of a cell stays background from scale 3 on.
            if (scale >= 3) QCOMPARE(f->PixelOfCell({0, 0}, scale - 1, 0), colours.background);
            if (scale >= 2) QCOMPARE(f->PixelOfCell({0, 0}, 1, 0), colours.alive);
        }
        // Zoomed out, a pixel stands for a square of cells: lit when any of them lives.
        f->View().Geometry().SetScale(-4, CLPoint{0, 0});
        QCOMPARE(f->PixelOfCell({3, 1}), colours.alive);
        QCOMPARE(f->PixelOfCell({-40, -30}), colours.alive);
        QCOMPARE(f->PixelOfCell({8, 0}), colours.background);
    }

    void gridStyleAndSelection() {
        f->window->RunCommandId(40050);  // grid style
        f->Place({{0, 0}, {2, 0}, {5, 5}});
        QCOMPARE(f->View().Geometry().Scale(), 10);
        QCOMPARE(f->PixelOfCell({0, 0}, 4, 4), colours.alive);
        QCOMPARE(f->PixelOfCell({0, 0}, 9, 4), colours.grid);
        QCOMPARE(f->PixelOfCell({1, 0}, 4, 4), colours.background);
        f->View().SetSelectionRect({2, 6, 0, 6});
        QCOMPARE(f->PixelOfCell({0, 0}, 4, 4), colours.alive);
        QCOMPARE(f->PixelOfCell({2, 0}, 4, 4), colours.selected);
        QCOMPARE(f->PixelOfCell({5, 5}, 4, 4), colours.selected);
    }

    void differencesAfterOneStep() {
        params::AnimateTimer.SetInt(100);
        f->window->RunCommandId(40037);      // differences
        f->Place({{0, 1}, {1, 1}, {2, 1}});  // a blinker lying down
        f->window->RunCommandId(40046);
        QCOMPARE(f->Game().Generation(), 1);
        QCOMPARE(f->PixelOfCell({1, 0}, 2, 2), colours.born);
        QCOMPARE(f->PixelOfCell({1, 2}, 2, 2), colours.born);
        QCOMPARE(f->PixelOfCell({0, 1}, 2, 2), colours.died);
        QCOMPARE(f->PixelOfCell({1, 1}, 2, 2), colours.alive);
        // Flashing shows the differences, then the plain generation.
        f->window->RunCommandId(40038);
        f->window->RunCommandId(40046);
        QCOMPARE(f->PixelOfCell({0, 1}, 2, 2), colours.born);
        QTRY_COMPARE(f->PixelOfCell({0, 1}, 2, 2), colours.alive);
        QCOMPARE(f->PixelOfCell({1, 0}, 2, 2), colours.background);
    }

    // The grid scales' steps are checked through the keys; here the map scales below 1 and the limits.
    void zoomStepsStayWithinTheLimitsAndFitsCentre() {
        CViewGeometry g({-16, 31, 31});
        g.Resize(300, 200);
        const auto zoom = [&g](int from, EZoom how) {
            g.SetScale(from);
            g.Zoom(how, std::nullopt, EmptyRect, EmptyRect);
            return g.Scale();
        };
        QVERIFY(zoom(31, EZoom::kIn) == 31 && zoom(1, EZoom::kOut) == -2 && zoom(-2, EZoom::kOut) == -4);
        QVERIFY(zoom(-4, EZoom::kIn) == -2 && zoom(-2, EZoom::kIn) == 1);
        g.SetScale(-5);  // not a power of two
        QCOMPARE(g.Scale(), -8);
        CViewGeometry grid({6, 12, 6});
        grid.Zoom(EZoom::kOut, std::nullopt, EmptyRect, EmptyRect);
        QCOMPARE(grid.Scale(), 6);
        // Fitting chooses the scale and the centre.
        CViewGeometry fit({-16, 8, 5});
        fit.Resize(300, 300);
        const CLRect wide{0, 1000, 0, 10};
        fit.Zoom(EZoom::kCosmic, std::nullopt, wide, EmptyRect);
        QCOMPARE(fit.Scale(), -4);
        QVERIFY(fit.VisibleCells().left <= 0 && fit.VisibleCells().right >= 1000);
        fit.Zoom(EZoom::kAll, std::nullopt, wide, EmptyRect);
        QCOMPARE(fit.Scale(), 1);
        fit.Zoom(EZoom::kAll, std::nullopt, CLRect{-20, 20, 100, 130}, EmptyRect);
        QCOMPARE(fit.Scale(), 7);
        QCOMPARE(fit.Centre(), (CLPoint{0, 115}));
    }

    void edgesOfThePlanePixelsAndLogarithmicScales() {
        for (int scale : {-16, 1, 8}) {
            CViewGeometry g({-16, 31, scale});
            g.Resize(1200, 900);
            g.SetScale(scale, CLPoint{2147483646, -2147483647});
            const CLRect v = g.VisibleCells();
            QVERIFY(v.left >= UniverseLimits.left && v.left < v.right && v.right <= UniverseLimits.right);
            QVERIFY(v.top >= UniverseLimits.top && v.top < v.bottom);
            QVERIFY(g.CellAt(1199, 0).x <= 2147483645);
            g.ScrollCells(int64_t{1} << 40, -(int64_t{1} << 40));
            QVERIFY(g.VisibleCells().right <= UniverseLimits.right);
        }
        // Pixels and cells agree; a distance in pixels is rounded away from zero.
        CViewGeometry g({-16, 31, 5});
        g.Resize(100, 100);
        g.SetScale(5, CLPoint{0, 0});
        QCOMPARE(g.CellAt(int(g.PixelX(7)), int(g.PixelY(-3)) + 4), (CLPoint{7, -3}));
        QCOMPARE(g.PixelsToCells(6, -6), (CLPoint{2, -2}));
        g.SetScale(-4);
        QCOMPARE(g.PixelsToCells(3, 0).x, 12);
        // The logarithmic scales of the slider and auto-scroll hit their ends.
        QCOMPARE(ui::CLogSlider::SpeedAt(1, 10000, 0, 1000, 0), 1u);
        QCOMPARE(ui::CLogSlider::SpeedAt(1, 10000, 0, 1000, 1000), 10000u);
        QCOMPARE(ui::CLogSlider::SpeedAt(1, 10000, 0, 1000, 500), 100u);
        QCOMPARE(ui::LogInterpolate(7, 7, 0, 50, 13), 7);  // equal rates stay constant
        ui::CLogSlider slider;
        slider.SetSpeedRange(1, 10000);
        slider.SetSpeed(1000);
        QCOMPARE(slider.value(), 750);
        QCOMPARE(slider.Speed(), 1000u);
    }
};

static RegisterUiTest<RenderingTest> registered;

}  // namespace tessera::test

#include "rendering_test.moc"
