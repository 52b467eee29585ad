// Products go through 128 bits so a year of passes at any rate the
// options accept stays exact; nothing is accumulated.
#include "capture/capture_clock.h"

#include <cstdint>

namespace {

// floor(x * y / z) and ceil(x * y / z) for non-negative x, y and positive z.
int64_t mulDivFloor(int64_t x, int64_t y, int64_t z) {
    return (int64_t)((__int128)x * y / z);
}
int64_t mulDivCeil(int64_t x, int64_t y, int64_t z) {
    return (int64_t)(((__int128)x * y + z - 1) / z);
}

} // namespace

CaptureClock::CaptureClock(Rate passRate, int64_t loadingMs)
    : rate_(passRate), firstDemo_(mulDivCeil(loadingMs, passRate.a, 1000 * passRate.b)) {}

int64_t CaptureClock::passMs(int64_t j) const {
    return mulDivFloor(j, 1000 * rate_.b, rate_.a);
}

int64_t CaptureClock::requestsBefore(int64_t j) const {
    if (j <= firstDemo_) return 0;
    // ceil((T_j - U) 44100 / 2048) with T_j - U = (j - j_f) b / a.
    return mulDivCeil(j - firstDemo_, rate_.b * CAPTURE_AUDIO_RATE,
                      rate_.a * CAPTURE_DEVICE_FRAMES);
}

int64_t CaptureClock::silenceFrames() const {
    return mulDivCeil(firstDemo_, rate_.b * CAPTURE_AUDIO_RATE, rate_.a);
}

int64_t CaptureClock::soundtrackFrames(int64_t n) const {
    return mulDivFloor(n, rate_.b * CAPTURE_AUDIO_RATE, rate_.a);
}

int64_t CaptureClock::passesFor(int64_t p, int64_t q) const {
    return mulDivCeil(p, rate_.a, q * rate_.b);
}
