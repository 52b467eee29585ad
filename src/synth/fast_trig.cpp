// The exact side of the float-rounded cosine and cotangent: taken when the
// fast polynomial cannot settle the float result on its own.
#include "synth/fast_trig.h"

#include "base/exact_trig.h"

float fast_trig::cosFallback(double x, double a, double b) {
    return (float)(exactCos(x) * a + b);
}

float fast_trig::cotFallback(double w) {
    return (float)(1.0 / exactTan(w));
}
