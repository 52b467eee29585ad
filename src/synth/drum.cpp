// The drum voice: mono, added to both channels. Its hits are the events that
// advance the scene counter. State lives in function-local statics for the
// whole run; no allocation, main thread only.
#include "synth/drum.h"

#include "base/exact_trig.h"
#include "synth/events.h"
#include "synth/random.h"
#include "synth/sample.h"
#include <cmath>

// v[n] = cos(phase[n]) vol[n] fades; phase += freq; freq *= 0.9995; vol *= 0.9999
void drum(short* buf, int count) {
    static float s_drumVolume = 0;        // amplitude, 1 at the start of a hit
    static float s_drumFreq = 0;          // radians per frame
    static float s_drumPhase = 0;         // radians
    static unsigned int s_drumCount = 0;  // frames since the hit started
    static unsigned int s_length = 64000; // last value of s_drumCount in this hit
    // cos of s_drumPhase, kept while the phase stalls: once the pitch has
    // died away, adding s_drumFreq no longer changes the float phase. Rounded
    // correctly (not the C library's cosf) so every build agrees.
    static float s_cosPhase = 0, s_cos = 1;

    int frames = count / 2;
    for (int i = 0; i < frames; i++) {
        if (s_drumCount == 0) {
            postSynthEvent(1, g_bufferPos + (unsigned int)i);
            s_drumVolume = 1.0f;
            s_drumFreq = (float)((double)frand() * 0.1);
            s_drumPhase = 0;
            s_length = (norf_rand() % 3) * 64000 + 64000;
        }
        if (s_drumPhase != s_cosPhase) {
            s_cosPhase = s_drumPhase;
            s_cos = exactCosf(s_drumPhase);
        }
        float v = s_cos * s_drumVolume;
        if (s_drumCount < 20) v = v * (float)((double)s_drumCount / 20);
        unsigned int left = s_length - s_drumCount;
        if (left < 800) v = v * (float)((double)left / 800);
        short s = (short)(int)(v * 20000.0f);
        buf[2 * i] = clip(buf[2 * i] + s);
        buf[2 * i + 1] = clip(buf[2 * i + 1] + s);
        s_drumPhase = s_drumPhase + s_drumFreq;
        s_drumFreq = (float)((double)s_drumFreq * 0.9995);
        s_drumVolume = (float)((double)s_drumVolume * 0.9999);
        if (++s_drumCount > s_length) s_drumCount = 0;
    }
}
