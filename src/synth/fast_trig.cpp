// The library side of the float-rounded cosine and cotangent: taken when the
// fast polynomial cannot settle the float result on its own.
#include "synth/fast_trig.h"

static unsigned long s_fallbacks = 0; // statistics only, not synchronised

float fast_trig::cosFallback(double x, double a, double b) {
    s_fallbacks++;
    return (float)(std::cos(x) * a + b);
}

float fast_trig::cotFallback(double w) {
    s_fallbacks++;
    return (float)(1.0 / std::tan(w));
}

unsigned long fastTrigFallbacks() {
    return s_fallbacks;
}
