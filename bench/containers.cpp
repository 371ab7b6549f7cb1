#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "foundation/dict.h"
#include "foundation/hash_set.h"

using namespace tessera;

namespace {

struct PointNode : CDictScalarNode<PointNode, CLPoint> {
    using CDictScalarNode::CDictScalarNode;
};

std::vector<CLPoint> RandomPoints(size_t n) {
    std::mt19937 rng(5);
    std::vector<CLPoint> points(n);
    for (CLPoint& p : points)
        p = CLPoint{static_cast<int32_t>(rng() % 4096), static_cast<int32_t>(rng() % 4096)};
    return points;
}

}  // namespace

// Fill a point dictionary, look every point up, then empty it again node by node.
static void BM_PointDictInsertFindRemove(benchmark::State& state) {
    const auto points = RandomPoints(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        CDictScalar<PointNode, CLPoint> dict;
        for (CLPoint p : points) {
            auto* node = new PointNode(p);
            if (dict.Insert(node)) delete node;
        }
        for (CLPoint p : points) benchmark::DoNotOptimize(dict.Find(p));
        for (CLPoint p : points) {
            if (PointNode* node = dict.Find(p)) {
                dict.Remove(node);
                delete node;
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PointDictInsertFindRemove)->Arg(1000)->Arg(100000);

static void BM_PointDictWalk(benchmark::State& state) {
    CDictScalar<PointNode, CLPoint> dict;
    for (CLPoint p : RandomPoints(static_cast<size_t>(state.range(0)))) {
        auto* node = new PointNode(p);
        if (dict.Insert(node)) delete node;
    }
    for (auto _ : state) {
        int64_t sum = 0;
        for (PointNode* n = dict.First(); n; n = dict.Next(n)) sum += n->key.x;
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PointDictWalk)->Arg(100000);

static void BM_HashSetInsertFindRemove(benchmark::State& state) {
    const auto points = RandomPoints(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        CHashSet<CLPoint> set(static_cast<int32_t>(state.range(0) / 2));
        for (CLPoint p : points) set.Insert(p);
        for (CLPoint p : points) benchmark::DoNotOptimize(set.Find(p));
        for (CLPoint p : points) set.Remove(p);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_HashSetInsertFindRemove)->Arg(1000)->Arg(100000);
