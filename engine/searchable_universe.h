#pragma once
// CSearchableUniverse: live cells in a hash set of points, for constant-time membership tests wherever
// the cells are. Whatever needs sorted rows goes to a growable copy made on demand.
#include <cstdint>
#include <memory>

#include "engine/growable_universe.h"
#include "engine/universe.h"
#include "foundation/far_pool.h"
#include "foundation/hash_set.h"

namespace tessera {

class CSearchableUniverse : public CUniverse {
public:
    using hash_t = CHashSet<CLPoint, CFarPoolAllocator<CHashEntry<CLPoint>>>;

    // Empty, with room for about sizeHint cells; generation 0 and the default rule.
    explicit CSearchableUniverse(int32_t sizeHint = 32);
    // Empty, with the rule of like.
    [[nodiscard]] static std::unique_ptr<CSearchableUniverse> EmptyLike(const CUniverse& like);
    // The cells of source (pasted, so the new universe is marked modified), optionally transformed.
    explicit CSearchableUniverse(CUniverse& source);
    CSearchableUniverse(CUniverse& source, const CTransform& transform);
    ~CSearchableUniverse() override;

    bool IsGrowable() const override { return false; }
    CGrowableUniverse& GetGrowable() override;
    [[nodiscard]] std::unique_ptr<CGrowableUniverse> Clone() override;
    uint32_t GetSignature() override { return GetGrowable().GetSignature(); }
    bool SetCell(int32_t x, int32_t y) override;
    bool ClearCell(int32_t x, int32_t y) override;
    bool IsAlive(int32_t x, int32_t y) override { return cells_.Contains({x, y}); }
    CLPoint FirstCellIn(const CLRect& area) override;
    CLPoint FirstCell() override;
    [[nodiscard]] std::unique_ptr<CGrowableUniverse> Grow(CGrowListener* listener) override {
        return GetGrowable().Grow(listener);
    }
    int CheckGrowable() override { return GetGrowable().CheckGrowable(); }
    CLRect GetBounds() override;
    // Every cell in hash order: the area is recorded but not applied.
    [[nodiscard]] ExplorePtr ExploreArea(const CLRect& area) override;
    [[nodiscard]] ExplorePtr ExploreAll() override;
    [[nodiscard]] ExplorePtr ExploreSorted() override { return GetGrowable().ExploreSorted(); }
    [[nodiscard]] ExploreRowPtr ExploreRows(const CLRect& area) override {
        return GetGrowable().ExploreRows(area);
    }
    [[nodiscard]] ExploreRowPtr ExploreAllRows() override { return GetGrowable().ExploreAllRows(); }
    void RenderBits(uint8_t* buffer, const CLRect& rect, int bytesPerLine, int scale) override {
        GetGrowable().RenderBits(buffer, rect, bytesPerLine, scale);
    }
    void Consolidate() override {}

    size_t BucketCount() const { return cells_.BucketCount(); }
    bool HasGrowableCopy() const { return growable_ != nullptr; }

private:
    // An edit makes the growable copy out of date: it is dropped and made again when next needed.
    void CellsChanged();

    hash_t cells_;
    std::unique_ptr<CGrowableUniverse> growable_;
    // Bounds stay stale after a removal until recomputed, even if cells are added meanwhile.
    bool boundsStale_ = false;
};

// The 8-connected group of live cells of universe that holds start and lies inside area; empty (a
// growable universe) when start is dead.
[[nodiscard]] std::unique_ptr<CUniverse> ConnectedCells(CUniverse& universe, CLPoint start,
                                                        const CLRect& area);
// The union of the objects of universe that hold a cell of seeds; every seed must be alive in universe.
[[nodiscard]] std::unique_ptr<CGrowableUniverse> ObjectsContaining(CUniverse& universe, CUniverse& seeds);

}  // namespace tessera
