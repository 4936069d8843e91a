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

#if defined(__SANITIZE_ADDRESS__)
#define TXDB_ADDRESS_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TXDB_ADDRESS_SANITIZED 1
#endif
#endif
#ifndef TXDB_ADDRESS_SANITIZED
#define TXDB_ADDRESS_SANITIZED 0
#endif

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

    // Any two free what the other made.
    template <class U> bool operator==(const RecordAllocator<U> &) const { return true; }
    template <class U> bool operator!=(const RecordAllocator<U> &) const { return false; }

private:
    static constexpr size_t KEPT = 4;
    static constexpr bool ADDRESS_SANITIZED = TXDB_ADDRESS_SANITIZED != 0;

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
    // A thread whose first record of the kind is let go in its last
    // destructors, after its thread-local objects are gone, makes the list
    // then, and the block it keeps is not freed: a few kilobytes at exit.
    static Kept &kept() {
        thread_local Kept blocks;
        return blocks;
    }
    static bool keeping() { return !ADDRESS_SANITIZED && !ended(); }
};

// A new record of kind R in memory of the allocator above.
template <class R, class... Args> std::shared_ptr<R> newRecord(Args &&...args) {
    return std::allocate_shared<R>(RecordAllocator<R>(), std::forward<Args>(args)...);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
