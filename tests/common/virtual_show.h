// The show on a virtual clock, placed at any moment of a run: a millisecond
// count read through its 32-bit reading, a device pulling 2048-frame
// callbacks through the real reader in step with that clock, and one pass of
// the real frame driver every 1/60 s. Main thread; tests and the soak.
#pragma once
#include "app/frame_driver.h"
#include "synth/events.h"
#include "synth/ring.h"

#include <cstdint>
#include <vector>

class VirtualShow {
  public:
    // The ring, the synthesizer's clock and the device at frame (a multiple of
    // 2000: nothing rendered yet), the millisecond count at ms; demo time
    // counts from millisecond 0, as when the show started at that reading.
    VirtualShow(uint64_t frame, uint64_t ms) : ms0_(ms), ms_(ms), frame0_(frame) {
        audio_readPos.store(frame);
        audio_writePos = frame;
        g_bufferPos = frame;
        placeTickCount(ms);
        startTick = ticksToSeconds(0);
    }

    // One 60 Hz pass: the clock moves on by 16 or 17 ms, the device takes
    // the callbacks that fell due (their bytes are appended to heard), then
    // the frame driver runs at demo time t.
    FramePlan pass(SynthFn synth = updateSynth) {
        passes_++;
        ms_ = ms0_ + passes_ * 1000 / 60;
        uint64_t due = (ms_ - ms0_) * 441 / 10;
        while (pulled_ + 2048 <= due) {
            unsigned char stream[8192];
            ringRead(stream, sizeof stream);
            heard.insert(heard.end(), stream, stream + sizeof stream);
            pulled_ += 2048;
        }
        t = ticksToSeconds(tickCount((uint32_t)ms_)) - startTick;
        return planFrame(t, audio_readPos.load(std::memory_order_acquire), synth);
    }

    uint64_t ms() const { return ms_; }
    uint64_t firstFrame() const { return frame0_; }

    double t = 0;                     // demo time of the last pass
    std::vector<unsigned char> heard; // device bytes not yet taken by the caller

  private:
    uint64_t ms0_, ms_, frame0_;
    uint64_t passes_ = 0, pulled_ = 0;
};

// The frame in step with millisecond count ms, rounded down to a block.
inline uint64_t frameAtMs(uint64_t ms) {
    return ms * 441 / 10 / 2000 * 2000;
}
