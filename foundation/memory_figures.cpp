#include "foundation/memory_figures.h"

#include "foundation/block_heap.h"
#include "foundation/far_pool.h"

namespace tessera {

CMemoryFigures MemoryFigures(const CBlockHeap& heap) {
    CMemoryFigures total = heap.GetFigures();
    for (const CFarPool* pool = AllFarPools().First(); pool; pool = pool->Next()) total += pool->Figures();
    return total;
}

CMemoryFigures ApplicationMemoryFigures() { return MemoryFigures(TheBlockHeap()); }

}  // namespace tessera
