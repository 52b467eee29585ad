// The capture's progress line on a terminal: passes done and the total (an
// estimate from the drum-hit counter while the length is set in loops), video
// time, the scene, speed in x real time and the time left. Main thread.
#pragma once
#include "capture/capture_run.h"
#include <chrono>

class CaptureProgress {
  public:
    // total: the fixed pass count, or 0 for a count of loops.
    CaptureProgress(bool shown, const CaptureClock& clock, int64_t total, int loops);
    void message(const char* text);
    void update(const PassRecord& pass);
    void finish(int64_t passes);

  private:
    using Clock = std::chrono::steady_clock;
    bool shown_;
    CaptureClock clock_;
    int64_t total_;
    int loops_, wraps_ = 0;
    Clock::time_point start_, next_;
};
