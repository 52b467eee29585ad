// Heap memory whose pages are faulted in ahead of use, for the GL driver's
// start-up allocations. A fresh page costs one page fault (tens of
// microseconds on a virtual machine); uploading the textures and compiling the
// display lists take thousands of them on the main thread. A block taken from
// the heap early, touched on another thread and freed just before that GL work
// serves the driver's allocations with pages already in place. Any thread.
#pragma once
#include <atomic>
#include <cstddef>

// Keeps large blocks on the heap and freed heap memory in the process, so a
// freed block serves later allocations instead of going back to the system.
// Call once, on the main thread, before the blocks are taken (glibc; a no-op
// elsewhere).
void keepHeapMemory();

// Uninitialised bytes from the heap (free them with std::free), with huge
// pages asked for where the block spans whole ones.
void* heapBlock(size_t bytes);

// Writes one byte per page, so each page is faulted in now; the contents are
// left undefined. Stops early once *stop is set (the pages are only wanted
// if they come in time).
void touchPages(void* block, size_t bytes, const std::atomic<bool>* stop);
