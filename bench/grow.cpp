// Growth speed: cells and 3 x 3 windows swept per second on a dense soup, a glider gun's stream and
// one very long row.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>

#include "engine/grow_listener.h"
#include "engine/growable_universe.h"
#include "rules/rule_code.h"

namespace tessera {
namespace {

std::unique_ptr<CGrowableUniverse> Soup(int size, double density, unsigned seed) {
    auto u = std::make_unique<CGrowableUniverse>();
    u->SetRuleCode(kConwayRuleCode);
    std::mt19937 rng(seed);
    std::bernoulli_distribution alive(density);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (alive(rng)) u->SetCell(x, y);
        }
    }
    u->Consolidate();
    return u;
}

std::unique_ptr<CGrowableUniverse> GliderGun() {
    // clang-format off
    static const char* const kGun[] = {
        "........................O...........",
        "......................O.O...........",
        "............OO......OO............OO",
        "...........O...O....OO............OO",
        "OO........O.....O...OO..............",
        "OO........O...O.OO....O.O...........",
        "..........O.....O.......O...........",
        "...........O...O....................",
        "............OO......................",
    };
    // clang-format on
    auto u = std::make_unique<CGrowableUniverse>();
    u->SetRuleCode(kConwayRuleCode);
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; kGun[y][x]; ++x) {
            if (kGun[y][x] == 'O') u->SetCell(x, y);
        }
    }
    return u;
}

std::unique_ptr<CGrowableUniverse> LongRow(int cells) {
    auto u = std::make_unique<CGrowableUniverse>();
    u->SetRuleCode(kConwayRuleCode);
    for (int x = 0; x < cells; ++x) u->SetCell(x, 0);
    u->Consolidate();
    return u;
}

// Grows `generations` steps from start per iteration and reports the work as rates.
void GrowFrom(benchmark::State& state, CGrowableUniverse& start, int generations) {
    double cells = 0, windows = 0;
    for (auto _ : state) {
        std::unique_ptr<CGrowableUniverse> current;
        CGrowableUniverse* source = &start;
        for (int g = 0; g < generations; ++g) {
            CGrowStatistics statistics;
            cells += source->Population();
            auto next = source->Grow(nullptr, &statistics);
            windows += static_cast<double>(statistics.windowsVisited);
            current = std::move(next);
            source = current.get();
        }
        benchmark::DoNotOptimize(source->Population());
    }
    state.counters["cells/s"] = benchmark::Counter(cells, benchmark::Counter::kIsRate);
    state.counters["windows/s"] = benchmark::Counter(windows, benchmark::Counter::kIsRate);
}

void BM_Soup1000x1000For200Generations(benchmark::State& state) {
    static auto soup = Soup(1000, 0.3, 12345);
    GrowFrom(state, *soup, 200);
}
BENCHMARK(BM_Soup1000x1000For200Generations)->Unit(benchmark::kMillisecond);

void BM_GliderGunStream(benchmark::State& state) {
    static std::unique_ptr<CGrowableUniverse> stream = [] {
        auto u = GliderGun();
        for (int g = 0; g < 3000; ++g) u = u->Grow(nullptr);
        return u;
    }();
    GrowFrom(state, *stream, 200);
}
BENCHMARK(BM_GliderGunStream)->Unit(benchmark::kMillisecond);

void BM_SingleRowOf30000Cells(benchmark::State& state) {
    static auto row = LongRow(30000);
    GrowFrom(state, *row, 1);
}
BENCHMARK(BM_SingleRowOf30000Cells)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tessera
