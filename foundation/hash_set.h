#pragma once
// The chained hash set of points behind the searchable universe. The bucket count is fixed when the set
// is made (no rehash: chains just grow), entries come one at a time from an allocator, and the buckets
// that hold entries are kept on a list so that a walk over the set never scans empty buckets.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>

#include "foundation/errors.h"
#include "foundation/far_pool.h"
#include "foundation/geometry.h"

namespace tessera {

template <class K>
struct CHashEntry;

template <>
struct CHashEntry<CLPoint> {
    CHashEntry* next;
    int32_t x;
    int32_t y;

    CLPoint Point() const { return CLPoint{x, y}; }
};

// The pool every point hash entry comes from, "CSearchableUniverse::hash_t::entry_t".
CFarPool& HashEntryPool();

template <class K, class A = CFarPoolAllocator<CHashEntry<K>>>
class CHashSet;

// A = an allocator of entries: `CHashEntry<CLPoint>* Allocate()` (raw storage, throws when memory is
// out) and `void Free(CHashEntry<CLPoint>*)`. By default entries come from HashEntryPool().
template <class A>
class CHashSet<CLPoint, A> {
public:
    using Entry = CHashEntry<CLPoint>;

    struct CBucket {
        Entry* first = nullptr;
        // Next bucket of the non-empty list as an address, kEndOfList after the last one, kNotListed
        // when the bucket is not on the list.
        uintptr_t link = kNotListed;
    };
    static constexpr uintptr_t kNotListed = 0;
    static constexpr uintptr_t kEndOfList = 1;
    static constexpr uint32_t kHashModulus = 2147483549;  // 0x7FFFFF9D

    // Buckets: max(8, 2 x the largest power of two not above sizeHint).
    explicit CHashSet(int32_t sizeHint) : CHashSet(sizeHint, DefaultAllocator()) {}
    CHashSet(int32_t sizeHint, A allocator)
        : allocator_(std::move(allocator)),
          bucketCount_(BucketCountFor(sizeHint)),
          mask_(static_cast<uint32_t>(bucketCount_ - 1)) {
        try {
            buckets_ = std::make_unique<CBucket[]>(bucketCount_);
        } catch (const std::bad_alloc&) {
            throw CMemoryException();
        }
    }
    CHashSet(const CHashSet&) = delete;
    CHashSet& operator=(const CHashSet&) = delete;
    ~CHashSet() { FreeEntries(); }

    static size_t BucketCountFor(int32_t sizeHint) {
        size_t power = 1;
        while (sizeHint > 0 && power <= static_cast<size_t>(sizeHint) / 2) power *= 2;
        return sizeHint > 0 ? std::max<size_t>(8, 2 * power) : 8;
    }

    size_t BucketCount() const { return bucketCount_; }
    size_t Count() const { return count_; }
    bool IsEmpty() const { return count_ == 0; }

    // x XOR y as an unsigned number, reduced by a prime and masked.
    uint32_t BucketIndex(CLPoint p) const {
        const uint32_t mixed = static_cast<uint32_t>(p.x) ^ static_cast<uint32_t>(p.y);
        return (mixed % kHashModulus) & mask_;
    }

    // The stored entry equal to p, or none.
    const Entry* Find(CLPoint p) const {
        for (const Entry* e = buckets_[BucketIndex(p)].first; e; e = e->next)
            if (e->x == p.x && e->y == p.y) return e;
        return nullptr;
    }
    bool Contains(CLPoint p) const { return Find(p) != nullptr; }

    // None when inserted, else the entry already holding p (nothing inserted).
    const Entry* Insert(CLPoint p) {
        CBucket& bucket = buckets_[BucketIndex(p)];
        for (const Entry* e = bucket.first; e; e = e->next)
            if (e->x == p.x && e->y == p.y) return e;
        Entry* entry = ::new (static_cast<void*>(allocator_.Allocate())) Entry{bucket.first, p.x, p.y};
        bucket.first = entry;
        if (bucket.link == kNotListed) {
            bucket.link = listHead_;
            listHead_ = Address(bucket);
        }
        ++count_;
        return nullptr;
    }

    // False, changing nothing, when p is not in the set.
    bool Remove(CLPoint p) {
        CBucket& bucket = buckets_[BucketIndex(p)];
        for (Entry** link = &bucket.first; *link; link = &(*link)->next) {
            Entry* e = *link;
            if (e->x != p.x || e->y != p.y) continue;
            *link = e->next;
            allocator_.Free(e);
            --count_;
            // Empty buckets leave the list lazily: here only from its head, elsewhere when a walk
            // passes them.
            while (listHead_ != kEndOfList && BucketAt(listHead_)->first == nullptr) {
                CBucket* emptied = BucketAt(listHead_);
                listHead_ = emptied->link;
                emptied->link = kNotListed;
            }
            return true;
        }
        return false;
    }

    // Frees every entry; the buckets stay, all empty.
    void Clear() {
        FreeEntries();
        for (size_t i = 0; i < bucketCount_; ++i) buckets_[i] = CBucket{};
        listHead_ = kEndOfList;
        count_ = 0;
    }

    // The first entry of the first bucket on the non-empty list, or none.
    const Entry* First() const { return listHead_ == kEndOfList ? nullptr : BucketAt(listHead_)->first; }

    // Visits the entries in the order of the non-empty list (most recently first-filled bucket first),
    // each chain from its most recently inserted entry. Empty buckets met on the way are taken off the
    // list. The walk stays valid while points other than its current one are inserted or removed.
    class CWalk {
    public:
        explicit CWalk(CHashSet& set) : set_(&set) {}

        // Moves to the next entry (the first one on the first call); false at the end.
        bool Next() {
            if (!started_) {
                started_ = true;
                if (set_->listHead_ == kEndOfList) return false;
                bucket_ = BucketAt(set_->listHead_);
                entry_ = bucket_->first;
                return entry_ != nullptr;
            }
            if (!entry_) return false;
            entry_ = entry_->next;
            while (!entry_) {
                // A bucket taken off the list since it was reached has no successor to follow.
                if (bucket_->link == kEndOfList || bucket_->link == kNotListed) return false;
                CBucket* following = BucketAt(bucket_->link);
                if (!following->first) {
                    bucket_->link = following->link;
                    following->link = kNotListed;
                    continue;
                }
                bucket_ = following;
                entry_ = following->first;
            }
            return true;
        }
        bool AtEnd() const { return entry_ == nullptr; }
        const Entry* Current() const { return entry_; }

    private:
        CHashSet* set_;
        CBucket* bucket_ = nullptr;
        const Entry* entry_ = nullptr;
        bool started_ = false;
    };

private:
    static A DefaultAllocator() {
        if constexpr (std::is_same_v<A, CFarPoolAllocator<Entry>>)
            return A(HashEntryPool());
        else
            return A();
    }
    static uintptr_t Address(CBucket& bucket) { return reinterpret_cast<uintptr_t>(&bucket); }
    static CBucket* BucketAt(uintptr_t link) { return reinterpret_cast<CBucket*>(link); }

    void FreeEntries() {
        for (uintptr_t link = listHead_; link != kEndOfList; link = BucketAt(link)->link) {
            for (Entry* e = BucketAt(link)->first; e;) {
                Entry* next = e->next;
                allocator_.Free(e);
                e = next;
            }
        }
    }

    A allocator_;
    size_t bucketCount_;
    std::unique_ptr<CBucket[]> buckets_;
    uintptr_t listHead_ = kEndOfList;
    uint32_t mask_;
    size_t count_ = 0;
};

}  // namespace tessera
