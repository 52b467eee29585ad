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

static uint32_t entry(int i) {
    return audio_buffer[i].load();
}
static uint32_t expectedEntry(uint32_t frame) {
    short lr[2] = {(short)(frame & 0x7fff), (short)-(short)((frame >> 15) & 0x7fff)};
    uint32_t e;
    std::memcpy(&e, lr, 4);
    return e;
}

TEST(RingCallback, StartsSilentAndLenZeroWritesNothing) {
    unsigned char stream[16];
    std::memset(stream, 0xAB, sizeof stream);
    ringRead(stream, 0);
    EXPECT_EQ(audio_readPos.load(), 0u);
    EXPECT_EQ(stream[0], 0xAB);
    ringRead(stream, 16);
    EXPECT_EQ(audio_readPos.load(), 4u);
    for (unsigned char b : stream)
        EXPECT_EQ(b, 0);
}

TEST(RingCallback, PartialFramesAreNotWritten) {
    for (int len = 1; len <= 7; len++) {
        unsigned char stream[8];
        std::memset(stream, 0xCD, sizeof stream);
        uint32_t before = audio_readPos.load();
        ringRead(stream, len);
        EXPECT_EQ(audio_readPos.load() - before, (uint32_t)(len / 4)) << len;
        for (int i = (len / 4) * 4; i < 8; i++)
            EXPECT_EQ(stream[i], 0xCD) << len;
    }
}

TEST(RingCallback, SamplesGoOutLittleEndianLeftFirst) {
    short lr[2] = {0x1234, -2};
    uint32_t e;
    std::memcpy(&e, lr, 4);
    audio_buffer[0].store(e);
    unsigned char stream[4];
    ringRead(stream, 4);
    EXPECT_EQ(stream[0], 0x34);
    EXPECT_EQ(stream[1], 0x12);
    EXPECT_EQ(stream[2], 0xFE);
    EXPECT_EQ(stream[3], 0xFF);
}

TEST(RingCallback, SameStreamWhateverTheCallbackSize) {
    refillRing(0, countingSynth);
    std::vector<unsigned char> reference(4 * 6000);
    ringRead(reference.data(), (int)reference.size());
    for (int chunk : {4, 7, 4096, 8192, 9}) {
        audio_readPos.store(0);
        std::vector<unsigned char> got;
        while (got.size() < reference.size()) {
            unsigned char buf[8192];
            int len = chunk;
            ringRead(buf, len);
            got.insert(got.end(), buf, buf + (len / 4) * 4);
        }
        got.resize(reference.size());
        EXPECT_EQ(got, reference) << "chunk " << chunk;
    }
}

TEST(RingCallback, ReadPositionWrapsAroundTheRing) {
    refillRing(0, countingSynth);
    audio_readPos.store(7998);
    unsigned char stream[16];
    ringRead(stream, 16);
    EXPECT_EQ(audio_readPos.load(), 8002u);
    uint32_t third;
    std::memcpy(&third, stream + 8, 4); // entry 0 after the wrap
    EXPECT_EQ(third, expectedEntry(0));
}

TEST(RingRefill, FirstRefillMakesFourBlocks) {
    EXPECT_EQ(refillRing(0, countingSynth), 4);
    EXPECT_EQ(s_calls, 4);
    EXPECT_EQ(audio_writePos, 8000u);
    for (int k = 0; k < 8000; k++)
        ASSERT_EQ(entry(k), expectedEntry(k)) << k;
    EXPECT_EQ(refillRing(1999, countingSynth), 0); // still in block 0
}

TEST(RingRefill, ReaderOneBlockOnMakesOneBlockIntoSlotZero) {
    refillRing(0, countingSynth);
    EXPECT_EQ(refillRing(3000, countingSynth), 1);
    EXPECT_EQ(audio_writePos, 10000u);
    for (int k = 0; k < 2000; k++)
        ASSERT_EQ(entry(k), expectedEntry(8000 + k)) << k;
    EXPECT_EQ(entry(2000), expectedEntry(2000)); // slot 1 untouched
}

TEST(RingRefill, CatchUpSynthesizesEveryMissingBlockInOrder) {
    refillRing(0, countingSynth); // blocks 0..3, w = 4
    s_calls = 0;
    uint32_t r = 14; // the reader ran 10 blocks past the writer
    EXPECT_EQ(refillRing(r * 2000 + 5, countingSynth), 14);
    EXPECT_EQ(s_calls, 14);
    EXPECT_EQ(audio_writePos / 2000, r + 4);
    EXPECT_EQ(s_nextFrame, (r + 4) * 2000);
    // Frame k of the stream sits at entry k mod 8000 for the blocks now held.
    for (uint32_t k = r * 2000; k < (r + 4) * 2000; k++)
        ASSERT_EQ(entry(k % 8000), expectedEntry(k)) << k;
}

TEST(RingRefill, SteadyStateKeepsFourBlocksAhead) {
    uint32_t readPos = 0;
    for (int frame = 0; frame < 500; frame++) {
        refillRing(readPos, countingSynth);
        uint32_t r = readPos / 2000;
        ASSERT_EQ(audio_writePos / 2000, r + 4);
        ASSERT_GE(audio_writePos - readPos, 6001u);
        ASSERT_LE(audio_writePos - readPos, 8000u);
        readPos += 2048 * (frame % 3); // 0 to 2 device callbacks per frame
    }
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
        ASSERT_GE(readPos, lastRead);
        lastRead = readPos;
        refillRing(readPos, countingSynth);
        ASSERT_GE((int32_t)(audio_writePos / 2000), (int32_t)(readPos / 2000 + 4));
    }
    stop.store(true);
    device.join();
    EXPECT_EQ(s_nextFrame, audio_writePos); // no block skipped
}
