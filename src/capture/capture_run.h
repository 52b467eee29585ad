// Passes of the demo's main loop on the capture's virtual clock: before each
// pass the virtual device takes every 2048-frame request that fell due, read
// from the ring by the device's own reader, and the soundtrack (silence while
// loading, then the device stream) is handed on in order, never past the end
// the passes so far guarantee. No GL here: the pictures are the hooks' job.
// Main thread.
#pragma once
#include "app/frame_driver.h"
#include "capture/capture_clock.h"
#include <cstdint>
#include <cstdio>
#include <vector>

struct PassRecord {
    int64_t pass = 0;
    int64_t ms = 0;       // the virtual clock's reading
    bool loading = false; // the loading picture is shown, the frame driver idles
    double t = 0;         // demo time (before scene 0's + 8)
    uint64_t readPos = 0; // play position at the start of the pass, frames
    FramePlan plan{};     // demo passes only
};

class CaptureHooks {
  public:
    virtual ~CaptureHooks() = default;
    // The next frames of the soundtrack, little-endian S16 stereo.
    virtual bool sound(const unsigned char* s16le, int64_t frames) = 0;
    // One frame of the demo at demo time t with the device at readPos.
    virtual FramePlan drawPass(double t, uint64_t readPos) = 0;
    // The pass is drawn (or shows the loading picture). False stops the run.
    virtual bool passDone(const PassRecord& pass) = 0;
};

struct CaptureLength {
    int64_t passes = 0; // a fixed count, or 0: run until the counter wraps `loops` times
    int loops = 1;
    int64_t group = 1; // the count is rounded up to whole groups (frame blending)
};

// Runs the capture; returns the number of passes, or -1 when a hook stopped it.
int64_t runCapture(const CaptureClock& clock, const CaptureLength& length, CaptureHooks& hooks);

// The pass log: a header line, then one tab-separated row per pass.
void writeLogHeader(FILE* f);
void writeLogRow(FILE* f, const PassRecord& pass);
const char* sceneName(const PassRecord& pass);
