#include "capture/capture_progress.h"

#include <cstdio>

CaptureProgress::CaptureProgress(bool shown, const CaptureClock& clock, int64_t total, int loops)
    : shown_(shown), clock_(clock), total_(total), loops_(loops), start_(Clock::now()),
      next_(start_) {}

void CaptureProgress::message(const char* text) {
    if (shown_) fprintf(stderr, "\r%s\033[K", text);
}

void CaptureProgress::update(const PassRecord& p) {
    if (!p.loading && p.plan.scene == SCENE_NONE) wraps_++;
    Clock::time_point now = Clock::now();
    if (!shown_ || now < next_) return;
    if (p.pass == 0) start_ = now; // start-up is not part of the speed
    next_ = now + std::chrono::milliseconds(250);

    double wall = std::chrono::duration<double>(now - start_).count();
    double video = (double)(p.pass + 1) * clock_.rate().b / clock_.rate().a;
    // Share of the work done: exact for a pass count, from the counter for loops.
    double done = total_ > 0 ? (double)(p.pass + 1) / total_
                             : (wraps_ + (p.loading ? 0 : p.plan.n) / 58.0) / loops_;
    char total[32];
    if (total_ > 0)
        snprintf(total, sizeof total, "%lld", (long long)total_);
    else
        snprintf(total, sizeof total, "~%lld", done > 0 ? (long long)((p.pass + 1) / done) : 0LL);
    double left = done > 0 && wall > 0 ? wall * (1 - done) / done : 0;
    fprintf(stderr, "\rpass %lld/%s  video %.1f s  %-7s  %.2fx  ETA %d:%02d\033[K",
            (long long)p.pass + 1, total, video, sceneName(p), wall > 0 ? video / wall : 0.0,
            (int)left / 60, (int)left % 60);
}

void CaptureProgress::finish(int64_t passes) {
    if (!shown_) return;
    double wall = std::chrono::duration<double>(Clock::now() - start_).count();
    double video = (double)passes * clock_.rate().b / clock_.rate().a;
    fprintf(stderr, "\r%lld passes, %.2f s of video in %.1f s (%.2fx)\033[K\n", (long long)passes,
            video, wall, wall > 0 ? video / wall : 0.0);
}
