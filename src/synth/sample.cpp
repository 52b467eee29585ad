// Block mixing for the synth driver: adds a gain-scaled block with clipping,
// in single precision with truncation toward zero. Main thread.
#include "synth/sample.h"

void mix(short* dst, const short* src, float gain, int count) {
    for (int i = 0; i < count; i++) {
        float sum = (float)dst[i] + (float)src[i] * gain;
        // Out-of-range floats must not reach the int conversion (undefined).
        if (sum >= 2147483520.0f) sum = 2147483520.0f;
        if (sum <= -2147483520.0f) sum = -2147483520.0f;
        dst[i] = clip((int)sum);
    }
}
