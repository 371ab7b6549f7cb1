// What the universe window shows: the colours of known cells in the grabbed window at several scales,
// in map and grid style, with a selection, and the differences display after a step.
#include <QTest>

#include "config/parameters.h"
#include "ui/ui_fixture.h"
#include "ui/ui_test_registry.h"
#include "ui/universe_renderer.h"

namespace tessera::test {

class RenderingTest : public QObject {
    Q_OBJECT
    std::unique_ptr<CUiFixture> f;
    ui::CRenderColours colours;

private slots:
    void init() {
        f = std::make_unique<CUiFixture>();
        colours = ui::CRenderColours::FromParameters();
    }
    void cleanup() { f.reset(); }

    void mapStyleAtSeveralScales() {
        f->window->RunCommandId(40051);  // map style
        f->Place({{0, 0}, {3, 1}, {-40, -30}});
        for (int scale : {1, 2, 5, 8, 11}) {
            f->View().Geometry().SetScale(scale, CLPoint{0, 0});
            QCOMPARE(f->PixelOfCell({0, 0}), colours.alive & 0xFFFFFF);
            QCOMPARE(f->PixelOfCell({3, 1}), colours.alive & 0xFFFFFF);
            QCOMPARE(f->PixelOfCell({1, 0}), colours.background & 0xFFFFFF);
            QCOMPARE(f->PixelOfCell({3, 0}), colours.background & 0xFFFFFF);
            // The gap at the right of a cell stays background from scale 3 on.
            if (scale >= 3) QCOMPARE(f->PixelOfCell({0, 0}, scale - 1, 0), colours.background & 0xFFFFFF);
            if (scale >= 2) QCOMPARE(f->PixelOfCell({0, 0}, 1, 0), colours.alive & 0xFFFFFF);
        }
        // Zoomed out, a pixel stands for a square of cells: lit when any of them lives.
        f->View().Geometry().SetScale(-4, CLPoint{0, 0});
        const ui::CViewGeometry& g = f->View().Geometry();
        const QImage image = f->View().viewport()->grab().toImage();
        const auto pixel = [&](int x, int y) {
            return image.pixel(int(g.PixelX(x)), int(g.PixelY(y))) & 0xFFFFFF;
        };
        QCOMPARE(pixel(3, 1), colours.alive & 0xFFFFFF);
        QCOMPARE(pixel(-40, -30), colours.alive & 0xFFFFFF);
        QCOMPARE(pixel(8, 0), colours.background & 0xFFFFFF);
    }

    void gridStyleAndSelection() {
        f->window->RunCommandId(40050);  // grid style
        f->Place({{0, 0}, {2, 0}, {5, 5}});
        QCOMPARE(f->View().Geometry().Scale(), 10);
        QCOMPARE(f->PixelOfCell({0, 0}, 4, 4), colours.alive & 0xFFFFFF);
        QCOMPARE(f->PixelOfCell({0, 0}, 9, 4), colours.grid & 0xFFFFFF);
        QCOMPARE(f->PixelOfCell({1, 0}, 4, 4), colours.background & 0xFFFFFF);
        f->View().SetSelectionRect({2, 6, 0, 6});
        QCOMPARE(f->PixelOfCell({0, 0}, 4, 4), colours.alive & 0xFFFFFF);
        QCOMPARE(f->PixelOfCell({2, 0}, 4, 4), colours.selected & 0xFFFFFF);
        QCOMPARE(f->PixelOfCell({5, 5}, 4, 4), colours.selected & 0xFFFFFF);
    }

    void differencesAfterOneStep() {
        params::AnimateTimer.SetInt(100);
        f->window->RunCommandId(40037);      // differences
        f->Place({{0, 1}, {1, 1}, {2, 1}});  // a blinker lying down
        f->window->RunCommandId(40046);
        QCOMPARE(f->Game().Generation(), 1);
        QCOMPARE(f->PixelOfCell({1, 0}, 2, 2), colours.born & 0xFFFFFF);
        QCOMPARE(f->PixelOfCell({1, 2}, 2, 2), colours.born & 0xFFFFFF);
        QCOMPARE(f->PixelOfCell({0, 1}, 2, 2), colours.died & 0xFFFFFF);
        QCOMPARE(f->PixelOfCell({1, 1}, 2, 2), colours.alive & 0xFFFFFF);
        // Flashing shows the differences, then the plain generation.
        f->window->RunCommandId(40038);
        f->window->RunCommandId(40046);
        QCOMPARE(f->PixelOfCell({0, 1}, 2, 2), colours.born & 0xFFFFFF);
        QTRY_COMPARE(f->PixelOfCell({0, 1}, 2, 2), colours.alive & 0xFFFFFF);
        QCOMPARE(f->PixelOfCell({1, 0}, 2, 2), colours.background & 0xFFFFFF);
    }
};

static RegisterUiTest<RenderingTest> registered;

}  // namespace tessera::test

#include "rendering_test.moc"
