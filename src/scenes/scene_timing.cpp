#include "scenes/scene_timing.h"

#include <cmath>
#include <cstdint>

// Truncation toward zero for the clocks below. Within the int range this is
// the plain (int) cast; far outside it (weeks of demo time, or NaN) it stays
// defined: the low bits keep wrapping instead of freezing at INT_MIN.
static int64_t truncToInt64(double v) {
    if (!(std::fabs(v) < 9.0e18)) return 0;
    return (int64_t)v;
}

double wrappedSceneTime(double t) {
    int64_t ms = truncToInt64(t * 1000);
    return (double)(ms & 0xFFFF) / 1000;
}

double reduceTime8(double t) {
    // Below 2^55 every subtraction of 8 is exact, so the loop "while t > 8,
    // t -= 8" ends on the exact remainder, or on 8 for a multiple of 8. The
    // closed form gives that same double and also ends for huge t.
    if (t > 8) {
        double r = std::fmod(t, 8.0);
        t = r == 0 ? 8.0 : r;
    }
    return t;
}

int stripSelector(double t) {
    return (int)(std::sin(t * 3.72) * std::sin(t * 2.3) * 19);
}

int quarterStep(double t) {
    return (int)(truncToInt64(t) & 3);
}

int creditsPage(int n) {
    return (n / 2) % 3;
}

float jitterAngle(double s) {
    return sinf((float)(s * 37)) * 180.0f;
}
