#include "app/warm_heap.h"

#include <cstdint>
#include <cstdlib>
#include <new>
#include <sys/mman.h>
#include <unistd.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {
const size_t kHugePage = size_t(2) << 20;
}

void keepHeapMemory() {
#if defined(__GLIBC__)
    // Blocks up to the largest the threshold allows come from the heap, not
    // from a fresh mapping of their own; the top of the heap is never trimmed.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
#endif
}

void* heapBlock(size_t bytes) {
    void* p = std::malloc(bytes);
    if (!p) throw std::bad_alloc();
#if defined(MADV_HUGEPAGE)
    // One fault per 2 MiB instead of per page where the system allows it.
    uintptr_t begin = (reinterpret_cast<uintptr_t>(p) + kHugePage - 1) & ~(kHugePage - 1);
    uintptr_t end = (reinterpret_cast<uintptr_t>(p) + bytes) & ~(kHugePage - 1);
    if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#endif
    return p;
}

void touchPages(void* block, size_t bytes, const std::atomic<bool>* stop) {
    static const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    volatile unsigned char* p = static_cast<unsigned char*>(block);
    for (size_t at = 0; at < bytes; at += page) {
        if (at % (64 * page) == 0 && stop->load(std::memory_order_relaxed)) return;
        p[at] = 0;
    }
}
