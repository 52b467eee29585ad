// The pass loop's soundtrack against a model of the device: silence while
// loading, then request after request, each reading the ring exactly as the
// last pass before it left it. At 60 passes a second every frame is the fresh
// block; at 5 the player overtakes the writer and replays stale slots, and the
// soundtrack carries them, as a slow machine plays them. The frame driver's
// bookkeeping runs for real; nothing is drawn (the scenes draw no random
// numbers, so the sound does not depend on the pictures).
#include "capture/capture_run.h"
#include "capture/capture_text.h"
#include "synth/ring.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

struct AfterPass {
    std::vector<uint32_t> ring;
    int64_t writePos;
};

struct Recorder : CaptureHooks {
    std::vector<unsigned char> track;
    std::vector<PassRecord> passes;
    std::vector<AfterPass> after;

    bool sound(const unsigned char* s16le, int64_t frames) override {
        track.insert(track.end(), s16le, s16le + frames * 4);
        return true;
    }
    FramePlan drawPass(double t, uint64_t readPos) override { return planFrame(t, readPos); }
    bool passDone(const PassRecord& pass) override {
        passes.push_back(pass);
        AfterPass a{std::vector<uint32_t>(RING_FRAMES), (int64_t)audio_writePos};
        for (int i = 0; i < RING_FRAMES; i++)
            a.ring[i] = audio_buffer[i].load();
        after.push_back(std::move(a));
        return true;
    }
};

uint32_t trackFrame(const std::vector<unsigned char>& track, int64_t i) {
    const unsigned char* p = &track[4 * i];
    short lr[2] = {(short)(p[0] | p[1] << 8), (short)(p[2] | p[3] << 8)};
    uint32_t entry;
    std::memcpy(&entry, lr, 4);
    return entry;
}

// Runs `seconds` of capture at `rate` and checks the soundtrack frame by
// frame against the model; returns how many device frames were stale.
int64_t staleFramesOfCapture(const char* rate, int64_t seconds) {
    Rate r;
    EXPECT_TRUE(parseRate(rate, &r));
    CaptureClock clock(r, 400);
    CaptureLength length;
    length.passes = clock.passesFor(seconds, 1);
    Recorder rec;
    int64_t n = runCapture(clock, length, rec);
    EXPECT_EQ(n, length.passes);
    EXPECT_EQ((int64_t)rec.track.size(), 4 * clock.soundtrackFrames(n));

    const int64_t silence = clock.silenceFrames(), jf = clock.firstDemoPass();
    for (int64_t i = 0; i < silence && i < (int64_t)rec.track.size() / 4; i++)
        if (trackFrame(rec.track, i) != 0) {
            ADD_FAILURE() << "sound during loading at frame " << i;
            break;
        }
    int64_t stale = 0;
    int64_t lastPass = 0;
    for (int64_t q = 0; silence + q < (int64_t)rec.track.size() / 4; q++) {
        int64_t k = q / 2048;
        // The last pass made before request k: the largest j with
        // (j - j_f) b 44100 <= 2048 k a, never past the last pass.
        while (lastPass + 1 < n && (lastPass + 1 - jf) * r.b * 44100 <= 2048 * k * r.a)
            lastPass++;
        const AfterPass& a = rec.after[lastPass];
        uint32_t expected = a.ring[q % RING_FRAMES];
        uint32_t got = trackFrame(rec.track, silence + q);
        if (got != expected) {
            ADD_FAILURE() << rate << ": device frame " << q << " is not the ring's";
            break;
        }
        // Fresh: block q / 2000 written and not yet overwritten by block + 4.
        int64_t block = q / 2000, written = a.writePos / 2000;
        if (block >= written || block < written - 4) stale++;
    }
    // The log's play position is the device's at the start of each pass.
    for (const PassRecord& p : rec.passes)
        if (!p.loading) {
            EXPECT_EQ((int64_t)p.readPos, 2048 * clock.requestsBefore(p.pass));
        }
    return stale;
}

TEST(CaptureSoundtrack, IsTheDeviceStreamWithNoStaleFramesAt60) {
    EXPECT_EQ(staleFramesOfCapture("60", 20), 0);
}

TEST(CaptureSoundtrack, CarriesTheStaleSlotsOfAnUnderrunAt5) {
    // A pass every 8820 frames, the ring holds 8000: some slots play twice.
    EXPECT_GT(staleFramesOfCapture("5", 20), 0);
}

TEST(CaptureSoundtrack, FirstDemoPassRefillsBeforeTheFirstRequest) {
    Rate r;
    ASSERT_TRUE(parseRate("60", &r));
    CaptureClock clock(r, 400);
    CaptureLength length;
    length.passes = 30;
    Recorder rec;
    ASSERT_EQ(runCapture(clock, length, rec), 30);
    const PassRecord& first = rec.passes[24];
    EXPECT_FALSE(first.loading);
    EXPECT_TRUE(rec.passes[23].loading);
    EXPECT_EQ(first.ms, 400);
    EXPECT_EQ(first.t, (double)0.4f);
    EXPECT_EQ(first.readPos, 0u);
    EXPECT_EQ(first.plan.blocks, 4);
    // The music is heard from its first frame, right after the silence.
    EXPECT_EQ(trackFrame(rec.track, 17640), rec.after[24].ring[0]);
}

} // namespace
