// The audio ring: callback byte handling, slot placement, refill counts and
// catch-up, and a concurrent reader/writer run for ThreadSanitizer.
#include "synth/ring.h"

#include <atomic>
#include <cstring>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

// A synthesizer stand-in whose every sample names its stream frame, so each
// ring entry tells which block and frame wrote it.
static uint32_t s_nextFrame = 0;
static int s_calls = 0;
static void countingSynth(short* block, int count) {
    for (int i = 0; i < count / 2; i++) {
        uint32_t f = s_nextFrame + i;
        block[2 * i] = (short)(f & 0x7fff);
        block[2 * i + 1] = (short)-(short)((f >> 15) & 0x7fff);
    }
    s_nextFrame += count / 2;
    s_calls++;
}

static uint32_t expectedEntry(uint32_t frame) {
    short lr[2] = {(short)(frame & 0x7fff), (short)-(short)((frame >> 15) & 0x7fff)};
    uint32_t e;
    std::memcpy(&e, lr, 4);
    return e;
}

TEST(RingCallback, SilentStartWholeFramesOnlyLittleEndianLeftFirst) {
    unsigned char stream[16];
    std::memset(stream, 0xAB, sizeof stream);
    ringRead(stream, 16);
    EXPECT_EQ(audio_readPos.load(), 4u);
    for (unsigned char b : stream)
        EXPECT_EQ(b, 0);
    for (int len = 0; len <= 7; len++) { // a partial frame is neither written nor counted
        std::memset(stream, 0xCD, sizeof stream);
        uint32_t before = audio_readPos.load();
        ringRead(stream, len);
        EXPECT_EQ(audio_readPos.load() - before, (uint32_t)(len / 4)) << len;
        EXPECT_EQ(stream[(len / 4) * 4], 0xCD) << len;
    }
    short lr[2] = {0x1234, -2};
    uint32_t e;
    std::memcpy(&e, lr, 4);
    audio_buffer[audio_readPos.load()].store(e);
    ringRead(stream, 4);
    EXPECT_EQ(std::vector<int>(stream, stream + 4), (std::vector<int>{0x34, 0x12, 0xFE, 0xFF}));
}

TEST(RingCallback, SameStreamWhateverTheCallbackSizeAndAcrossTheWrap) {
    refillRing(0, countingSynth);
    std::vector<unsigned char> reference(4 * 6000);
    ringRead(reference.data(), (int)reference.size());
    for (int chunk : {4, 7, 4096, 8192, 9}) {
        audio_readPos.store(0);
        std::vector<unsigned char> got;
        while (got.size() < reference.size()) {
            unsigned char buf[8192];
            ringRead(buf, chunk);
            got.insert(got.end(), buf, buf + (chunk / 4) * 4);
        }
        got.resize(reference.size());
        EXPECT_EQ(got, reference) << "chunk " << chunk;
    }
    audio_readPos.store(7998);
    unsigned char stream[16];
    ringRead(stream, 16);
    EXPECT_EQ(audio_readPos.load(), 8002u);
    uint32_t third;
    std::memcpy(&third, stream + 8, 4);
    EXPECT_EQ(third, expectedEntry(0)) << "entry 0 after the wrap";
}

TEST(RingRefill, FirstRefillMakesFourBlocksThenOneBlockPerBlockRead) {
    EXPECT_EQ(refillRing(0, countingSynth), 4);
    EXPECT_EQ(s_calls, 4);
    EXPECT_EQ(audio_writePos, 8000u);
    for (int k = 0; k < 8000; k++)
        ASSERT_EQ(audio_buffer[k].load(), expectedEntry(k)) << k;
    EXPECT_EQ(refillRing(1999, countingSynth), 0); // still in block 0
    EXPECT_EQ(refillRing(3000, countingSynth), 1);
    EXPECT_EQ(audio_writePos, 10000u);
    for (int k = 0; k < 2000; k++)
        ASSERT_EQ(audio_buffer[k].load(), expectedEntry(8000 + k)) << k;
    EXPECT_EQ(audio_buffer[2000].load(), expectedEntry(2000)); // slot 1 untouched
}

TEST(RingRefill, CatchUpSynthesizesEveryMissingBlockInOrder) {
    refillRing(0, countingSynth); // blocks 0..3, w = 4
    s_calls = 0;
    uint32_t r = 14; // the reader ran 10 blocks past the writer
    EXPECT_EQ(refillRing(r * 2000 + 5, countingSynth), 14);
    EXPECT_EQ(s_calls, 14);
    EXPECT_EQ(audio_writePos / 2000, r + 4);
    EXPECT_EQ(s_nextFrame, (r + 4) * 2000);
    for (uint32_t k = r * 2000; k < (r + 4) * 2000; k++)
        ASSERT_EQ(audio_buffer[k % 8000].load(), expectedEntry(k)) << k;
}

// The device thread drains the ring while the main thread refills it, with
// stalls that force catch-up passes. Run under ThreadSanitizer.
TEST(RingConcurrency, ReaderAndWriterShareOnlyAtomics) {
    std::atomic<bool> stop{false};
    std::thread device([&] {
        unsigned char stream[8192];
        while (!stop.load())
            ringRead(stream, sizeof stream);
    });
    uint32_t lastRead = 0;
    for (int frame = 0; frame < 3000; frame++) {
        uint32_t readPos = audio_readPos.load(std::memory_order_acquire);
        EXPECT_GE(readPos, lastRead);
        lastRead = readPos;
        refillRing(readPos, countingSynth);
        EXPECT_GE((int32_t)(audio_writePos / 2000), (int32_t)(readPos / 2000 + 4));
        if (HasFailure()) break; // still join the device thread
    }
    stop.store(true);
    device.join();
    EXPECT_EQ(s_nextFrame, audio_writePos); // no block skipped
}
