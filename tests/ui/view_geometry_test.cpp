// Zoom arithmetic of the universe windows and the logarithmic scales of the slider and auto-scroll.
#include <QTest>

#include "ui/log_slider.h"
#include "ui/ui_test_registry.h"
#include "ui/view_geometry.h"

namespace tessera::test {

using ui::CViewGeometry;
using ui::EZoom;

class ViewGeometryTest : public QObject {
    Q_OBJECT
private slots:
    // The grid scales' steps are checked through the keys; here the map scales below 1 and the limits.
    void zoomStepsStayWithinTheLimits() {
        const auto zoom = [](CViewGeometry& g, EZoom how) {
            g.Zoom(how, std::nullopt, EmptyRect, EmptyRect);
            return g.Scale();
        };
        CViewGeometry g({-16, 31, 31});
        g.Resize(300, 200);
        QCOMPARE(zoom(g, EZoom::kIn), 31);
        g.SetScale(1);
        QCOMPARE(zoom(g, EZoom::kOut), -2);
        QCOMPARE(zoom(g, EZoom::kOut), -4);
        QCOMPARE(zoom(g, EZoom::kIn), -2);
        QCOMPARE(zoom(g, EZoom::kIn), 1);
        g.SetScale(-5);  // not a power of two
        QCOMPARE(g.Scale(), -8);
        CViewGeometry grid({6, 12, 6});
        QCOMPARE(zoom(grid, EZoom::kOut), 6);
    }

    void fittingChoosesScaleAndCentre() {
        CViewGeometry g({-16, 8, 5});
        g.Resize(300, 300);
        const CLRect wide{0, 1000, 0, 10};
        g.Zoom(EZoom::kCosmic, std::nullopt, wide, EmptyRect);
        QCOMPARE(g.Scale(), -4);
        QVERIFY(g.VisibleCells().left <= 0 && g.VisibleCells().right >= 1000);
        g.Zoom(EZoom::kAll, std::nullopt, wide, EmptyRect);
        QCOMPARE(g.Scale(), 1);
        g.Zoom(EZoom::kAll, std::nullopt, CLRect{-20, 20, 100, 130}, EmptyRect);
        QCOMPARE(g.Scale(), 7);
        QCOMPARE(g.Centre().x, 0);
        QCOMPARE(g.Centre().y, 115);
    }

    void viewsAtThePlanesEdgesStayInside() {
        for (int scale : {-16, 1, 8}) {
            CViewGeometry g({-16, 31, scale});
            g.Resize(1200, 900);
            g.SetScale(scale, CLPoint{2147483646, -2147483647});
            const CLRect v = g.VisibleCells();
            QVERIFY(v.left >= UniverseLimits.left && v.left < v.right && v.right <= UniverseLimits.right);
            QVERIFY(v.top >= UniverseLimits.top && v.top < v.bottom);
            const CLPoint corner = g.CellAt(1199, 0);
            QVERIFY(corner.x <= 2147483645);
            g.ScrollCells(int64_t{1} << 40, -(int64_t{1} << 40));
            QVERIFY(g.VisibleCells().right <= UniverseLimits.right);
        }
    }

    void pixelsAndCellsAgree() {
        CViewGeometry g({-16, 31, 5});
        g.Resize(100, 100);
        g.SetScale(5, CLPoint{0, 0});
        const CLPoint cell = g.CellAt(int(g.PixelX(7)), int(g.PixelY(-3)) + 4);
        QCOMPARE(cell.x, 7);
        QCOMPARE(cell.y, -3);
        QCOMPARE(g.PixelsToCells(6, -6).x, 2);  // rounded away from zero
        QCOMPARE(g.PixelsToCells(6, -6).y, -2);
        g.SetScale(-4);
        QCOMPARE(g.PixelsToCells(3, 0).x, 12);
    }

    void logarithmicScalesHitTheirEnds() {
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

static RegisterUiTest<ViewGeometryTest> registered;

}  // namespace tessera::test

#include "view_geometry_test.moc"
