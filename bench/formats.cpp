// Pattern file speed: writing and reading a large soup as RLE, as XLife pictures and as a game file
// universe section.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <sstream>

#include "engine/growable_universe.h"
#include "formats/game_format.h"
#include "formats/xl_import.h"
#include "formats/xl_writer.h"
#include "rules/rule_code.h"
#include "text/lex.h"

namespace tessera {
namespace {

std::unique_ptr<CGrowableUniverse> Soup(int size, unsigned seed) {
    auto u = std::make_unique<CGrowableUniverse>();
    u->SetRuleCode(kConwayRuleCode);
    std::mt19937 rng(seed);
    std::bernoulli_distribution alive(0.3);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (alive(rng)) u->SetCell(x, y);
    u->Consolidate();
    return u;
}

void BM_WriteRle(benchmark::State& state) {
    auto soup = Soup(static_cast<int>(state.range(0)), 1);
    for (auto _ : state) {
        std::ostringstream out;
        WriteXLifeRle(*soup, out);
        benchmark::DoNotOptimize(out.str().size());
    }
    state.SetItemsProcessed(state.iterations() * soup->Population());
}
BENCHMARK(BM_WriteRle)->Arg(200)->Arg(1000);

void BM_ReadRle(benchmark::State& state) {
    auto soup = Soup(static_cast<int>(state.range(0)), 2);
    std::ostringstream text;
    WriteXLifeRle(*soup, text);
    for (auto _ : state) {
        CLex lex(text.str());
        auto collection = ReadXLife(lex, "soup", "soup.rle");
        benchmark::DoNotOptimize(collection->UniverseCount());
    }
    // Live cells read per second (items), and cells of the soup's square, live or dead (cells).
    state.SetItemsProcessed(state.iterations() * soup->Population());
    state.counters["cells"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * state.range(0) * state.range(0),
                           benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReadRle)->Arg(200)->Arg(1000);

void BM_ReadPictures(benchmark::State& state) {
    auto soup = Soup(static_cast<int>(state.range(0)), 3);
    std::ostringstream text;
    WriteXLifePictures(*soup, text);
    for (auto _ : state) {
        CLex lex(text.str());
        auto collection = ReadXLife(lex, "soup", "soup.lif");
        benchmark::DoNotOptimize(collection->UniverseCount());
    }
    state.SetItemsProcessed(state.iterations() * soup->Population());
}
BENCHMARK(BM_ReadPictures)->Arg(200);

void BM_GameUniverseRoundTrip(benchmark::State& state) {
    auto soup = Soup(static_cast<int>(state.range(0)), 4);
    for (auto _ : state) {
        std::ostringstream out;
        WriteUniverse(*soup, out);
        CLex lex(out.str());
        CGrowableUniverse copy;
        ReadUniverse(copy, lex);
        benchmark::DoNotOptimize(copy.Population());
    }
    state.SetItemsProcessed(state.iterations() * soup->Population());
}
BENCHMARK(BM_GameUniverseRoundTrip)->Arg(200)->Arg(1000);

}  // namespace
}  // namespace tessera
