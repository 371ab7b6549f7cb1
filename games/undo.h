#pragma once
// Undo and redo of the edits made in a universe window: a bounded list of edit records and one redo
// slot. Each record holds what it needs to invert and to repeat its edit, and calls the window's own
// edit operations to do so.
#include <cstdint>
#include <memory>

#include "engine/transform.h"
#include "foundation/deque.h"
#include "games/generation_list.h"

namespace tessera {

class CUniverse;

// The edit operations of the universe window that undo records call; each applies the edit to the
// universe the window shows and redraws what changed.
class CUndoWindow {
public:
    virtual ~CUndoWindow() = default;
    virtual void SetCell(int32_t x, int32_t y) = 0;
    virtual void ClearCell(int32_t x, int32_t y) = 0;
    // Puts down any floating object first, then adds the cells passed through the transform; cells
    // that were already alive become the window's collision cells.
    virtual void PasteCells(CUniverse& cells, const CTransform& transform) = 0;
    // Kills the cells passed through the transform.
    virtual void RemoveCells(CUniverse& cells, const CTransform& transform) = 0;
    // Brings back cells that an edit had covered.
    virtual void RestoreCells(CUniverse& cells) = 0;
};

// One undoable edit. The universe is the one the window showed when the edit was made (not owned).
class CUndoItem : public CDequeElement<CUndoItem> {
public:
    explicit CUndoItem(CUniverse* universe) : universe_(universe) {}
    CUndoItem(const CUndoItem&) = delete;
    CUndoItem& operator=(const CUndoItem&) = delete;
    ~CUndoItem() override = default;

    virtual void Undo(CUndoWindow& window) = 0;
    virtual void Redo(CUndoWindow& window) = 0;
    virtual bool IsCopy() const { return false; }
    CUniverse* Universe() const { return universe_; }

private:
    CUniverse* universe_;
};

class CUndoAddPoint : public CUndoItem {
public:
    CUndoAddPoint(CUniverse* universe, int32_t x, int32_t y) : CUndoItem(universe), x_(x), y_(y) {}
    void Undo(CUndoWindow& window) override { window.ClearCell(x_, y_); }
    void Redo(CUndoWindow& window) override { window.SetCell(x_, y_); }

private:
    int32_t x_, y_;
};

class CUndoDeletePoint : public CUndoItem {
public:
    CUndoDeletePoint(CUniverse* universe, int32_t x, int32_t y) : CUndoItem(universe), x_(x), y_(y) {}
    void Undo(CUndoWindow& window) override { window.SetCell(x_, y_); }
    void Redo(CUndoWindow& window) override { window.ClearCell(x_, y_); }

private:
    int32_t x_, y_;
};

// Cells moved through a transform: the moved cells are held in their new place, with the cells they
// landed on (none when they covered nothing).
class CUndoTransform : public CUndoItem {
public:
    CUndoTransform(CUniverse* universe, const CTransform& transform, CUniverse& moved, CUniverse* covered);
    void Undo(CUndoWindow& window) override;
    void Redo(CUndoWindow& window) override;

protected:
    CTransform transform_;
    UniverseRef moved_;
    UniverseRef covered_;
};

// Cells copied through a transform: undoing removes the copy and brings back what it covered; the
// source cells never moved.
class CUndoCopy : public CUndoTransform {
public:
    CUndoCopy(CUniverse* universe, const CTransform& transform, CUniverse& copied, CUniverse& covered)
        : CUndoTransform(universe, transform, copied, &covered) {}
    void Redo(CUndoWindow& window) override;
    bool IsCopy() const override { return true; }
};

// Any other bulk edit: cells added, cells removed, cells covered by the added ones (each may be none).
class CUndoGeneral : public CUndoItem {
public:
    CUndoGeneral(CUniverse* universe, CUniverse* added, CUniverse* removed, CUniverse* covered);
    void Undo(CUndoWindow& window) override;
    void Redo(CUndoWindow& window) override;

private:
    UniverseRef added_;
    UniverseRef removed_;
    UniverseRef covered_;
};

// The undo list of one universe window, oldest edit first, and its redo slot. It owns its records.
class CUndoList {
public:
    // The list holds at most "UndoListSize" records (read when the list is made).
    CUndoList();
    CUndoList(const CUndoList&) = delete;
    CUndoList& operator=(const CUndoList&) = delete;
    ~CUndoList() { Clear(); }

    // The window calls these after applying the edit, with the universe it shows. A record that cannot
    // be made for want of memory is lost; the edit stays applied.
    void RecordAddPoint(CUniverse* universe, int32_t x, int32_t y);
    void RecordDeletePoint(CUniverse* universe, int32_t x, int32_t y);
    void RecordTransform(CUniverse* universe, const CTransform& transform, CUniverse& moved,
                         CUniverse* covered);
    void RecordCopy(CUniverse* universe, const CTransform& transform, CUniverse& copied, CUniverse& covered);
    void RecordGeneral(CUniverse* universe, CUniverse* added, CUniverse* removed, CUniverse* covered);

    // Appends a record (none when it could not be made), drops the oldest beyond the limit and
    // empties the redo slot.
    void Push(std::unique_ptr<CUndoItem> item);
    // Undoes the newest edit, which then waits in the redo slot (replacing what was there).
    void UndoLast(CUndoWindow& window);
    // Repeats the edit in the redo slot, which becomes the newest record again.
    void RedoLast(CUndoWindow& window);
    bool CanUndo() const { return !items_.IsEmpty(); }
    bool CanRedo() const { return redo_ != nullptr; }
    // Forgets every record (the window shows another universe, or closes).
    void Clear();

    int Count() const { return count_; }
    uint32_t Limit() const { return limit_; }

private:
    template <class Make>
    void PushMade(Make&& make);

    CDeque<CUndoItem> items_;
    std::unique_ptr<CUndoItem> redo_;
    int count_ = 0;
    uint32_t limit_;
};

}  // namespace tessera
