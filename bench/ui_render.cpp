// Repainting the desktop's universe window: a 1200 x 900 window showing a 1000 x 1000 soup, in map style
// at the default scale and in grid style at four pixels per cell, on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPainter>
#include <cstdlib>
#include <memory>
#include <random>

#include "engine/growable_universe.h"
#include "games/game.h"
#include "games/game_registry.h"
#include "rules/rule_code.h"
#include "ui/universe_window.h"

namespace tessera {
namespace {

constexpr int kSoupSize = 1000;
constexpr int kWindowWidth = 1200;
constexpr int kWindowHeight = 900;

std::unique_ptr<CGrowableUniverse> Soup() {
    auto u = std::make_unique<CGrowableUniverse>();
    u->SetRuleCode(kConwayRuleCode);
    std::mt19937 rng(7);
    std::bernoulli_distribution alive(0.3);
    for (int y = 0; y < kSoupSize; ++y)
        for (int x = 0; x < kSoupSize; ++x)
            if (alive(rng)) u->SetCell(x, y);
    u->Consolidate();
    return u;
}

void Repaint(benchmark::State& state, bool grid, int scale) {
    CGameRegistry games;
    auto soup = Soup();
    CGame& game = games.NewGame(*soup);
    ui::CUniverseWindow window(grid);
    window.resize(kWindowWidth, kWindowHeight);
    window.show();
    window.ShowGame(&game);
    // The window's own limits would clamp a grid scale below the configured minimum pitch.
    ui::CViewGeometry& geometry = window.Geometry();
    geometry = ui::CViewGeometry({scale, scale, scale});
    geometry.Resize(window.viewport()->width(), window.viewport()->height());
    geometry.SetScale(scale, CLPoint{kSoupSize / 2, kSoupSize / 2});
    // What a paint event does: the universe rendered into the window's image, blitted to the screen
    // surface (here an image of the viewport's size).
    QImage surface(window.viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&surface);
        painter.drawImage(QPoint(0, 0), window.RenderedImage());
    }
    window.ShowGame(nullptr);
    state.counters["pixels"] = double(window.viewport()->width()) * window.viewport()->height();
}

void BM_RepaintMap(benchmark::State& state) { Repaint(state, false, 5); }
void BM_RepaintMapScale1(benchmark::State& state) { Repaint(state, false, 1); }
void BM_RepaintGridQuarter(benchmark::State& state) { Repaint(state, true, 4); }
BENCHMARK(BM_RepaintMap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintMapScale1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintGridQuarter)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tessera

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
