#include "capture/capture_run.h"

#include "synth/ring.h"
#include <algorithm>
#include <cstring>

namespace {

const int kFrameBytes = 4;

// The soundtrack as a stream: silenceFrames of silence, then every request
// the device served, handed on up to a limit.
class Soundtrack {
  public:
    explicit Soundtrack(int64_t silence) : silence_(silence) {}

    int64_t requests() const { return requests_; }
    int64_t available() const { return silence_ + requests_ * CAPTURE_DEVICE_FRAMES; }

    // One device request: 2048 frames through the callback's ring reader.
    void serve() {
        size_t at = pending_.size();
        pending_.resize(at + CAPTURE_DEVICE_FRAMES * kFrameBytes);
        ringRead(&pending_[at], CAPTURE_DEVICE_FRAMES * kFrameBytes);
        requests_++;
    }

    bool emit(int64_t limit, CaptureHooks& hooks) {
        static const unsigned char zeros[4096 * kFrameBytes] = {};
        while (emitted_ < limit && emitted_ < silence_) {
            int64_t n = std::min({limit, silence_, emitted_ + 4096}) - emitted_;
            if (!hooks.sound(zeros, n)) return false;
            emitted_ += n;
        }
        int64_t n = std::min(limit, available()) - emitted_;
        if (n <= 0) return true;
        if (!hooks.sound(pending_.data(), n)) return false;
        pending_.erase(pending_.begin(), pending_.begin() + n * kFrameBytes);
        emitted_ += n;
        return true;
    }

  private:
    int64_t silence_;
    int64_t requests_ = 0;
    int64_t emitted_ = 0;
    std::vector<unsigned char> pending_; // served, not yet handed on
};

int64_t roundUp(int64_t n, int64_t group) {
    return (n + group - 1) / group * group;
}

} // namespace

int64_t runCapture(const CaptureClock& clock, const CaptureLength& length, CaptureHooks& hooks) {
    startTick = ticksToSeconds(0);
    Soundtrack track(clock.silenceFrames());
    int64_t end = length.passes > 0 ? roundUp(length.passes, length.group) : INT64_MAX;
    int wraps = 0;
    for (int64_t j = 0; j < end; j++) {
        for (int64_t k = clock.requestsBefore(j); track.requests() < k;)
            track.serve();
        // Pass j runs, so the soundtrack lasts at least until its end.
        if (!track.emit(clock.soundtrackFrames(j + 1), hooks)) return -1;

        PassRecord rec;
        rec.pass = j;
        rec.ms = clock.passMs(j);
        rec.loading = clock.isLoading(j);
        if (!rec.loading) {
            rec.t = ticksToSeconds((uint64_t)rec.ms) - startTick;
            rec.readPos = audio_readPos.load(std::memory_order_acquire);
            rec.plan = hooks.drawPass(rec.t, rec.readPos);
            if (length.passes == 0 && rec.plan.scene == SCENE_NONE && ++wraps == length.loops)
                end = roundUp(j + 1, length.group);
        }
        if (!hooks.passDone(rec)) return -1;
    }
    // Requests after the last pass read the ring as that pass left it.
    int64_t total = clock.soundtrackFrames(end);
    while (track.available() < total)
        track.serve();
    if (!track.emit(total, hooks)) return -1;
    return end;
}

const char* sceneName(const PassRecord& pass) {
    return pass.loading ? "loading" : sceneName(pass.plan.scene);
}

void writeLogHeader(FILE* f) {
    fprintf(f, "pass\tms\tt\tscene\tn\tfunk\tflexer\toffsetaapje\tblocks\tread_pos\n");
}

void writeLogRow(FILE* f, const PassRecord& p) {
    if (p.loading) {
        fprintf(f, "%lld\t%lld\t-\tloading\t-\t-\t-\t-\t0\t0\n", (long long)p.pass,
                (long long)p.ms);
        return;
    }
    fprintf(f, "%lld\t%lld\t%.17g\t%s\t%d\t%.9g\t%.9g\t%.9g\t%d\t%llu\n", (long long)p.pass,
            (long long)p.ms, p.t, sceneName(p), p.plan.n, p.plan.funk, p.plan.flexer,
            p.plan.offsetaapje, p.plan.blocks, (unsigned long long)p.readPos);
}
