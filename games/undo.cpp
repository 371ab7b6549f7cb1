#include "games/undo.h"

#include <new>

#include "config/parameters.h"
#include "engine/universe.h"
#include "foundation/errors.h"

namespace tessera {
namespace {

// Cells stay where they are.
constexpr CTransform kInPlace{};

UniverseRef CopyOf(CUniverse* universe) { return universe ? Owned(universe->Clone()) : UniverseRef(); }

}  // namespace

CUndoTransform::CUndoTransform(CUniverse* universe, const CTransform& transform, CUniverse& moved,
                               CUniverse* covered)
    : CUndoItem(universe), transform_(transform), moved_(CopyOf(&moved)), covered_(CopyOf(covered)) {}

void CUndoTransform::Undo(CUndoWindow& window) {
    window.RemoveCells(*moved_, kInPlace);
    window.PasteCells(*moved_, transform_.Inverse());
    if (covered_) window.RestoreCells(*covered_);
}

void CUndoTransform::Redo(CUndoWindow& window) {
    window.RemoveCells(*moved_, transform_.Inverse());
    window.PasteCells(*moved_, kInPlace);
}

void CUndoCopy::Redo(CUndoWindow& window) { window.PasteCells(*moved_, kInPlace); }

CUndoGeneral::CUndoGeneral(CUniverse* universe, CUniverse* added, CUniverse* removed, CUniverse* covered)
    : CUndoItem(universe), added_(CopyOf(added)), removed_(CopyOf(removed)), covered_(CopyOf(covered)) {}

void CUndoGeneral::Undo(CUndoWindow& window) {
    if (added_) window.RemoveCells(*added_, kInPlace);
    if (removed_) window.PasteCells(*removed_, kInPlace);
    if (covered_) window.RestoreCells(*covered_);
}

void CUndoGeneral::Redo(CUndoWindow& window) {
    if (removed_) window.RemoveCells(*removed_, kInPlace);
    if (added_) window.PasteCells(*added_, kInPlace);
}

CUndoList::CUndoList() : limit_(params::UndoListSize.GetUInt()) {}

template <class Make>
void CUndoList::PushMade(Make&& make) {
    std::unique_ptr<CUndoItem> item;
    try {
        item = make();
    } catch (const std::bad_alloc&) {
    } catch (const CMemoryException&) {
    }
    Push(std::move(item));
}

void CUndoList::RecordAddPoint(CUniverse* universe, int32_t x, int32_t y) {
    PushMade([&] { return std::make_unique<CUndoAddPoint>(universe, x, y); });
}

void CUndoList::RecordDeletePoint(CUniverse* universe, int32_t x, int32_t y) {
    PushMade([&] { return std::make_unique<CUndoDeletePoint>(universe, x, y); });
}

void CUndoList::RecordTransform(CUniverse* universe, const CTransform& transform, CUniverse& moved,
                                CUniverse* covered) {
    PushMade([&] { return std::make_unique<CUndoTransform>(universe, transform, moved, covered); });
}

void CUndoList::RecordCopy(CUniverse* universe, const CTransform& transform, CUniverse& copied,
                           CUniverse& covered) {
    PushMade([&] { return std::make_unique<CUndoCopy>(universe, transform, copied, covered); });
}

void CUndoList::RecordGeneral(CUniverse* universe, CUniverse* added, CUniverse* removed, CUniverse* covered) {
    PushMade([&] { return std::make_unique<CUndoGeneral>(universe, added, removed, covered); });
}

void CUndoList::Push(std::unique_ptr<CUndoItem> item) {
    if (item) {
        items_.PushBack(item.release());
        ++count_;
    }
    while (count_ > 0 && uint32_t(count_) > limit_) {
        CUndoItem* oldest = items_.First();
        oldest->Unlink();
        delete oldest;
        --count_;
    }
    redo_.reset();
}

void CUndoList::UndoLast(CUndoWindow& window) {
    CUndoItem* newest = items_.Last();
    if (!newest) return;
    newest->Undo(window);
    newest->Unlink();
    --count_;
    redo_.reset(newest);
}

void CUndoList::RedoLast(CUndoWindow& window) {
    if (!redo_) return;
    redo_->Redo(window);
    items_.PushBack(redo_.release());
    ++count_;
}

void CUndoList::Clear() {
    items_.DeleteAll();
    count_ = 0;
    redo_.reset();
}

}  // namespace tessera
