// The capture's virtual clock in exact integer arithmetic: pass times and
// millisecond readings, the first demo pass, the device's play position before
// each pass and the soundtrack's length. Rates are a/b passes per second;
// audio is 44100 frames per second pulled in 2048-frame requests. Any thread.
#pragma once
#include <cstdint>

enum { CAPTURE_AUDIO_RATE = 44100, CAPTURE_DEVICE_FRAMES = 2048 };

struct Rate {
    int64_t a = 60, b = 1; // a / b per second, reduced, both positive
};

class CaptureClock {
  public:
    CaptureClock(Rate passRate, int64_t loadingMs);

    Rate rate() const { return rate_; }
    // The virtual millisecond reading of pass j: floor(1000 j b / a).
    int64_t passMs(int64_t j) const;
    // The smallest j whose reading is at least the loading time.
    int64_t firstDemoPass() const { return firstDemo_; }
    bool isLoading(int64_t j) const { return j < firstDemo_; }
    // Device requests served before pass j (each 2048 frames): those made
    // strictly before the pass, counted from the unpause at the first demo pass.
    int64_t requestsBefore(int64_t j) const;
    // Frames of silence while the device is paused: ceil(44100 U).
    int64_t silenceFrames() const;
    // Frames of the soundtrack of n passes: floor(44100 n b / a).
    int64_t soundtrackFrames(int64_t n) const;
    // Passes that cover p / q seconds: ceil(p a / (q b)).
    int64_t passesFor(int64_t p, int64_t q) const;

  private:
    Rate rate_;
    int64_t firstDemo_;
};
