// The audio ring: refill counts and catch-up, and a concurrent reader and
// writer for ThreadSanitizer.
#include "synth/ring.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <thread>

// A stand-in synthesizer whose every sample names its stream frame.
static uint32_t entry(uint32_t frame) {
    short lr[2] = {(short)(frame & 0x7fff), (short)-(short)((frame >> 15) & 0x7fff)};
    uint32_t e;
    std::memcpy(&e, lr, 4);
    return e;
}
static uint64_t s_nextFrame = 0;
static int s_calls = 0;
static void countingSynth(short* block, int count) {
    for (int i = 0; i < count / 2; i++) {
        uint32_t e = entry((uint32_t)s_nextFrame++);
        std::memcpy(block + 2 * i, &e, 4);
    }
    s_calls++;
}

// The device gets whole frames only, little-endian, left first; any callback
// size yields the same byte stream, across the ring's wrap.
TEST(RingCallback, WholeFramesLittleEndianWhateverTheCallbackSize) {
    unsigned char silent[8];
    std::memset(silent, 0xAB, sizeof silent);
    ringRead(silent, 0);
    ringRead(silent, 3); // no whole frame: nothing written, nothing read
    EXPECT_EQ(audio_readPos.load(), 0u);
    EXPECT_EQ(silent[0], 0xAB);
    ringRead(silent, 7); // one frame of the ring's initial silence
    EXPECT_EQ(silent[3], 0);
    EXPECT_EQ(silent[4], 0xAB);

    refillRing(0, countingSynth);
    audio_readPos.store(7000); // the stream below crosses entry 7999 -> 0
    std::string bytes;
    for (int len : {4, 7, 4096, 9, 8192}) {
        unsigned char buf[8192];
        ringRead(buf, len);
        bytes.append((const char*)buf, (len / 4) * 4);
    }
    ASSERT_EQ(audio_readPos.load(), 7000u + bytes.size() / 4);
    for (size_t f = 0; f < bytes.size() / 4; f++) {
        uint32_t e = entry((7000 + f) % 8000);
        const unsigned char* b = (const unsigned char*)bytes.data() + 4 * f;
        ASSERT_EQ(b[0] | b[1] << 8, e & 0xffff) << f;
        ASSERT_EQ(b[2] | b[3] << 8, e >> 16) << f;
    }
}

TEST(RingRefill, FourBlocksFirstThenOnePerBlockReadThenCatchUpInOrder) {
    EXPECT_EQ(refillRing(0, countingSynth), 4);
    EXPECT_EQ(audio_writePos, 8000u);
    EXPECT_EQ(refillRing(1999, countingSynth), 0);
    EXPECT_EQ(refillRing(3000, countingSynth), 1);
    EXPECT_EQ(refillRing(15 * 2000 + 5, countingSynth), 14) << "the reader ran 10 blocks ahead";
    EXPECT_EQ(s_calls, 19);
    for (uint32_t k = 15 * 2000; k < 19 * 2000; k++)
        ASSERT_EQ(audio_buffer[k % 8000].load(), entry(k)) << k;
}

// Started a few blocks before 2^32 frames, so both positions cross it. The
// device is paced (faster than real time): a reader that outran the writer
// would make every catch-up longer than the one before.
TEST(RingConcurrency, ReaderAndWriterShareOnlyAtomics) {
    const uint64_t start = ((1ull << 32) / 2000 - 3) * 2000;
    audio_readPos.store(start);
    audio_writePos = s_nextFrame = start;
    std::atomic<bool> stop{false};
    std::thread device([&] {
        unsigned char stream[8192];
        while (!stop.load()) {
            ringRead(stream, sizeof stream);
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
    // An unthrottled frame loop, for 100 callbacks of the device.
    while (audio_readPos.load() < start + 100 * 2048 && !HasFailure()) {
        uint64_t readPos = audio_readPos.load(std::memory_order_acquire);
        refillRing(readPos, countingSynth);
        EXPECT_GE(audio_writePos / 2000, readPos / 2000 + 4);
    }
    stop.store(true);
    device.join();
    EXPECT_EQ(s_nextFrame, audio_writePos); // no block skipped
    EXPECT_GT(audio_readPos.load(), 1ull << 32);
}
