#include "app/startup_work.h"

#include "base/console.h"
#include "geometry/solids.h"
#include "app/warm_heap.h"
#include "texture/texture_builder.h"
#include <algorithm>
#include <cstdlib>
#include <system_error>

namespace {
// Enough for what the GL driver allocates while it sets up the window and
// draws the loading picture.
const size_t kEarlyBytes = size_t(16) << 20;
// Enough, with the working buffer and then the upload bytes, for what the GL
// driver allocates while uploading the textures and compiling the lists.
const size_t kWarmBytes = size_t(10) << 20;
} // namespace

StartupWork::~StartupWork() {
    finish();
    releaseWarmMemory();
    releaseTextureBytes();
}

void StartupWork::start() {
    keepHeapMemory();
    // Taken here, on the main thread, so that freeing them returns their
    // (by then touched) pages to the heap the GL driver allocates from.
    early = static_cast<unsigned char*>(heapBlock(kEarlyBytes));
    work = static_cast<unsigned int*>(heapBlock(WORK_WORDS * sizeof(unsigned int)));
    warm = static_cast<unsigned char*>(heapBlock(kWarmBytes));
    bytes = static_cast<unsigned char*>(heapBlock(textureBytesOffset(TEXTURE_SLOTS)));
    try {
        worker = std::thread(&StartupWork::run, this);
    } catch (const std::system_error&) {
        run(); // no second thread: the same work, in line
    }
}

void StartupWork::run() {
    touchPages(early, kEarlyBytes, &hurry);
    earlyReady.store(true, std::memory_order_release);
    {
        ConsoleCapture capture(&textureLog);
        // Zero-filled: the first noise term reads word 0.
        std::fill_n(work, WORK_WORDS, 0u);
        buildTextureBytes(work, bytes);
    }
    {
        ConsoleCapture capture(&solidLog);
        buildSolidMeshes();
    }
    touchPages(warm, kWarmBytes, &hurry);
}

void StartupWork::finish() {
    hurry.store(true, std::memory_order_relaxed); // the results are wanted now
    if (worker.joinable()) worker.join();
}

void StartupWork::releaseEarlyWarmMemory() {
    // Only once the worker is done with it: it is never waited for here.
    if (!early || !earlyReady.load(std::memory_order_acquire)) return;
    std::free(early);
    early = nullptr;
}

void StartupWork::releaseWarmMemory() {
    std::free(early);
    early = nullptr;
    std::free(work);
    std::free(warm);
    work = nullptr;
    warm = nullptr;
}

void StartupWork::releaseTextureBytes() {
    std::free(bytes);
    bytes = nullptr;
}
