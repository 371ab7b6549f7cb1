// Repainting a full window of pattern tiles: a 1200 x 900 tile window over a library of 1000 generated
// patterns, at the default tile size, scrolled to the middle of the list, on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPainter>
#include <cstdlib>
#include <random>
#include <string>

#include "engine/growable_universe.h"
#include "patterns/library_commands.h"
#include "patterns/named_pattern.h"
#include "patterns/pattern_collections.h"
#include "patterns/pattern_library.h"
#include "rules/rule_code.h"
#include "ui/pattern_tiles.h"

namespace tessera {
namespace {

constexpr int kPatterns = 1000;
constexpr int kWindowWidth = 1200;
constexpr int kWindowHeight = 900;

// Soups of 4 x 4 to 40 x 40 cells, so that tiles are drawn at every scale from 8 pixels a cell down.
void FillLibrary(CPatternLibrary& library) {
    std::mt19937 rng(11);
    std::bernoulli_distribution alive(0.4);
    for (int i = 0; i < kPatterns; ++i) {
        CGrowableUniverse soup;
        soup.SetRuleCode(kConwayRuleCode);
        const int side = 4 + i % 37;
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                if (alive(rng)) soup.SetCell(x, y);
        soup.SetCell(0, 0);
        soup.Consolidate();
        auto pattern = CreatePattern(soup, ERecognizable::No);
        NameNewPattern(pattern, "Soup " + std::to_string(i), &library);
    }
}

void BM_RepaintTiles(benchmark::State& state) {
    CPatternLibrary* library = nullptr;
    CreateNewLibrary("bench-tiles.lfl", &library);
    FillLibrary(*library);
    CPatternLibraryCollection collection;
    ui::CTileWin window;
    window.resize(kWindowWidth, kWindowHeight);
    window.show();
    window.SetCollection(&collection, {80, 85});
    window.SetSelected(kPatterns / 2);
    QImage image(window.viewport()->size(), QImage::Format_RGB32);
    QImage screen(image.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        // What a paint event does: every visible tile rendered, the image blitted to the screen.
        window.RenderTiles(image);
        QPainter painter(&screen);
        painter.drawImage(QPoint(0, 0), image);
    }
    state.counters["tiles"] = double(window.Columns() * window.VisibleRows());
    window.SetCollection(nullptr, {});
    CloseAllLibraries();
}
BENCHMARK(BM_RepaintTiles)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tessera

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("TESSERA_INI", "/nonexistent/TESSERA.INI", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
