#include <benchmark/benchmark.h>

#include <string>

#include "text/lex.h"
#include "rules/rule_notation.h"
#include "rules/rules.h"

using namespace tessera;

namespace {

// An RLE-like body: runs of cells over many lines, as large pattern files have.
std::string PatternText(int lines) {
    std::string text = "#N big\nx = 2000, y = 2000, rule = B3/S23\n";
    for (int i = 0; i < lines; ++i) text += "12bo3b2o$bo$3o45b2obo12b3o7bo2bo4bo$24bo3bo2bo!\n";
    return text;
}

}  // namespace

// Tokens per second over a pattern file body.
static void BM_LexPatternText(benchmark::State& state) {
    const std::string text = PatternText(static_cast<int>(state.range(0)));
    int64_t tokens = 0;
    for (auto _ : state) {
        CLex lex(text);
        while (lex.Kind() != TokEndOfFile) {
            lex.NextToken();
            ++tokens;
        }
    }
    state.SetItemsProcessed(tokens);
    state.SetBytesProcessed(static_cast<int64_t>(text.size()) * state.iterations());
}
BENCHMARK(BM_LexPatternText)->Arg(10000);

static void BM_ParseRuleText(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(ParseRuleText("B3678/S34678"));
}
BENCHMARK(BM_ParseRuleText);

// Growth asks for its rule once per generation: the same code again and again, or two games taking
// turns with two codes (the one-entry cache misses, and the dictionary is walked).
static void BM_GetRuleSameCode(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(&GetRule(kConwayRuleCode));
}
BENCHMARK(BM_GetRuleSameCode);

static void BM_GetRuleAlternatingCodes(benchmark::State& state) {
    const RuleCode highLife = ParseRuleText("23/36");
    for (auto _ : state) {
        benchmark::DoNotOptimize(&GetRule(kConwayRuleCode));
        benchmark::DoNotOptimize(&GetRule(highLife));
    }
}
BENCHMARK(BM_GetRuleAlternatingCodes);
