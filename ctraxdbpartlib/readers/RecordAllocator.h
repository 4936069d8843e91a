#pragma once

// The memory of the records a reader makes. A host reads records one
// after another and lets each go before it asks for the next, so the block
// of the record it let go is kept for the next record of that kind instead
// of going back to malloc: records of the larger kinds hold several
// kilobytes of text buffers, beyond the sizes malloc serves quickly, and a
// library read makes one per row.
//
// Each thread keeps at most KEPT blocks of each kind; what is kept is
// freed when the thread ends. An address-sanitized build keeps none, so
// that a record used after it was let go is still reported.

#include <cstddef>
#include <memory>
#include <new>
#include <utility>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

template <class T> class RecordAllocator {
public:
    using value_type = T;

    RecordAllocator() = default;
    template <class U> RecordAllocator(const RecordAllocator<U> &) {}

    T *allocate(size_t n) {
        if (n == 1 && keeping() && kept().count > 0)
            return static_cast<T *>(kept().blocks[--kept().count]);
        return static_cast<T *>(::operator new(n * sizeof(T)));
    }
    void deallocate(T *block, size_t n) {
        if (n == 1 && keeping() && kept().count < KEPT) {
            kept().blocks[kept().count++] = block;
            return;
        }
        ::operator delete(block);
    }

    friend bool operator==(const RecordAllocator &, const RecordAllocator &) { return true; }
    friend bool operator!=(const RecordAllocator &, const RecordAllocator &) { return false; }

private:
    static constexpr size_t KEPT = 4;

    struct Kept {
        void *blocks[KEPT] = {};
        size_t count = 0;
        ~Kept() {
            while (count > 0)
                ::operator delete(blocks[--count]);
            ended() = true;
        }
    };
    // Set once the thread's blocks are freed: a record let go later, in the
    // thread's last destructors, goes straight back to malloc.
    static bool &ended() {
        thread_local bool value = false;
        return value;
    }
    static Kept &kept() {
        thread_local Kept blocks;
        return blocks;
    }
    static bool keeping() {
#if defined(__SANITIZE_ADDRESS__)
        return false;
#else
        return !ended();
#endif
    }
};

// A new record of kind R in memory of the allocator above.
template <class R, class... Args> std::shared_ptr<R> newRecord(Args &&...args) {
    return std::allocate_shared<R>(RecordAllocator<R>(), std::forward<Args>(args)...);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
