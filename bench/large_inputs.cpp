// Inputs with very many items: the time per item must not grow with their number. A file of many "#B"
// blocks listed for the user's choice, a file of many "#N" lines each with its own name, a chain of
// blocks each inserting the next, a configuration file with many named rules read at start-up.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "formats/xl_import.h"
#include "rules/rule_persistence.h"
#include "rules/rule_registry.h"
#include "text/lex.h"

namespace tessera {
namespace {

// Reads the text and lists every universe by its index, as the "Select Universe" dialog does.
void ReadAndList(benchmark::State& state, const std::string& text) {
    for (auto _ : state) {
        CLex lex(text);
        auto collection = ReadXLife(lex, "many", "many.lif");
        size_t listed = 0;
        for (int i = 1; i <= collection->UniverseCount(); ++i)
            listed += collection->NameAt(i).size() + (collection->UniverseAt(i) ? 1 : 0);
        benchmark::DoNotOptimize(listed);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ListManyBlocks(benchmark::State& state) {
    std::string text;
    for (int64_t i = 0; i < state.range(0); ++i) text += "#B block" + std::to_string(i) + "\n*\n#E\n";
    ReadAndList(state, text);
}
BENCHMARK(BM_ListManyBlocks)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ManyNameLines(benchmark::State& state) {
    std::string text;
    for (int64_t i = 0; i < state.range(0); ++i)
        text += "#N pattern" + std::to_string(i) + "\n" + std::to_string(i % 7) + " 0\n";
    ReadAndList(state, text);
}
BENCHMARK(BM_ManyNameLines)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond);

// Block i inserts block i + 1 and the last holds a cell: taken in dictionary order, most blocks wait
// for the one after them.
void BM_InsertionChain(benchmark::State& state) {
    std::string text;
    for (int64_t i = 0; i + 1 < state.range(0); ++i)
        text += "#B b" + std::to_string(i) + "\n#I b" + std::to_string(i + 1) + "\n#E\n";
    text += "#B b" + std::to_string(state.range(0) - 1) + "\n*\n#E\n";
    ReadAndList(state, text);
}
BENCHMARK(BM_InsertionChain)->Arg(8000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Rule notation for a number below 2 to the 17th: survival counts from its low bits, births from the rest.
std::string Notation(int64_t n) {
    std::string survival, birth;
    for (int count = 0; count <= 8; ++count)
        if (n >> count & 1) survival += static_cast<char>('0' + count);
    for (int count = 1; count <= 8; ++count)
        if (n >> (8 + count) & 1) birth += static_cast<char>('0' + count);
    return survival + "/" + birth;
}

void BM_LoadManyRules(benchmark::State& state) {
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "tessera-bench-rules.ini";
    {
        std::ofstream out(file);
        out << "[Rules]\n";
        for (int64_t i = 1; i <= state.range(0); ++i) out << "Rule" << i << "=" << Notation(i) << "\n";
    }
    ::setenv("TESSERA_INI", file.c_str(), 1);
    for (auto _ : state) {
        ResetRuleRegistry();
        LoadRules();
        benchmark::DoNotOptimize(TheRuleRegistry().Rules().Count());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    std::filesystem::remove(file);
}
BENCHMARK(BM_LoadManyRules)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tessera
