// The burst voice. Every draw from the shared generator happens in a fixed
// order (the music depends on it). State lives in function-local statics for
// the whole run; allocates only its two echo lines, on the first call. Main
// thread only.
#include "synth/burst.h"

#include "base/exact_trig.h"
#include "synth/delay_line.h"
#include "synth/events.h"
#include "synth/filter.h"
#include "synth/random.h"
#include "synth/sample.h"
#include "synth/trig_near.h"
#include <cmath>

int modeBurstLength(int mode, int& beatidx, float& p) {
    int len = 0;
    switch (mode) {
    case 0:
        len = (int)(norf_rand() % 2) * 4000 + 4000;
        p = 0.1f;
        break;
    case 1:
        len = (int)(norf_rand() % 3) * 1000 + 2000;
        p = 0.05f;
        break;
    case 2:
        len = beatidx % 3 == 0 ? 16000 : 32000;
        p = 0.8f;
        beatidx += 1;
        break;
    default:
        len = beatidx % 3 == 0 ? (int)(norf_rand() % 3) * 1000 + 2000 : 32000;
        p = 0.8f;
        beatidx += 1;
        break;
    }
    return len;
}

short echoFeed(int m) {
    return clip((int)((float)m * 0.9f));
}

float nextColourPhase(float phase0) {
    return (float)((double)phase0 + 0.0001);
}

namespace {

// Everything the colour pass needs for one frame that depends on phase0
// alone. It is computed for a run of frames ahead of the sample loop, so the
// cosines of many frames can overlap.
struct ColourFrame {
    float fb;  // feedback depth, 0..0.6
    float wet; // echo level, -0.8..0.8
    float res; // resonance of both filters, 0.5..0.9
    float cl;  // cutoff term of the left filter (500..5500 Hz)
    float cr;  // cutoff term of the right filter
    FilterCoeffs kl, kr;
};

const unsigned int kColourRun = 2000;
ColourFrame s_colour[kColourRun]; // main thread

// Fills mod[0..n) for the frames from phase0 on; returns the phase after them.
float colourModulation(float phase0, unsigned int n, ColourFrame* mod) {
    fast_trig::TrigNear wetNear, leftNear, rightNear, resNear, leftCot, rightCot;
    float held = -1; // phase0 of the previous frame
    for (unsigned int k = 0; k < n; k++) {
        ColourFrame& m = mod[k];
        if (phase0 == held) {
            // Once phase0 has stalled at 2048 every frame repeats the last.
            m = mod[k - 1];
            continue;
        }
        m.fb = (float)std::fabs((double)exactCosf(phase0) * 0.6);
        m.wet = cosScaledNear(wetNear, (double)phase0 * 3.543, 0.8, 0);
        m.cl = cutoffTermNear(leftCot, cosScaledNear(leftNear, (double)phase0 * 0.652, 2500, 3000));
        m.cr =
            cutoffTermNear(rightCot, cosScaledNear(rightNear, (double)phase0 * 0.712, 2500, 3000));
        m.res = cosScaledNear(resNear, (double)phase0 * 2.32, 0.2, 0.7);
        m.kl = filterCoeffs(m.cl, m.res);
        m.kr = filterCoeffs(m.cr, m.res);
        held = phase0;
        phase0 = nextColourPhase(phase0);
    }
    return phase0;
}

// One channel of the colour pass: echo line, then the swept low-pass.
// m = x - d fb; line <- 0.9 m; out = lowpass(0.5 m + d wet)
inline short colour(short x, float fb, float wet, DelayLine& line, Filter& f,
                    const FilterCoeffs& k) {
    short d = line.read();
    int m = (int)((float)x - (float)d * fb);
    int mixed = (int)((double)m * 0.5 + (double)((float)d * wet));
    line.write(echoFeed(m));
    return f.step(k, clip(mixed));
}

} // namespace

void burst(short* buf, unsigned int samples) {
    static float phase = 0;     // tone phase, radians; never reset
    static int count = 0;       // frames into the current burst
    static float volume = 0;    // amplitude factor
    static int burstlen = 0;    // frames in the current burst
    static float decay = 0;     // amplitude factor per frame
    static float w = 0;         // share of noise in the blend
    static float freq = 0;      // tone phase increment, radians per frame
    static int mode = 0;        // rhythm mode, 0..3
    static int beatidx = 0;     // bursts started in modes 2 and 3
    static float phase0 = 0;    // colour-pass modulation phase, radians
    static float p = 0.1f;      // probability of a new mode at the next burst
    static Filter f_l, f_r;     // colour-pass low-passes
    static DelayLine dl_l(140); // left echo, 3.2 ms
    static DelayLine dl_r(127); // right echo, 2.9 ms

    unsigned int frames = samples / 2;
    for (unsigned int i = 0; i < frames; i++) {
        if (count == 0) {
            if (frand() < p) mode = (int)(norf_rand() % 4);
            volume = (float)((double)frand() * 0.5 + 0.5);
            postSynthEvent(0, g_bufferPos + i);
            burstlen = modeBurstLength(mode, beatidx, p);
            double r = frand();
            decay = (float)(r * 0.99 + (1 - r) * 0.9999);
            w = frand();
            freq = frand() / 100.0f;
        }
        volume = volume * decay;
        float nL = (float)((int)(norf_rand() & 0xFFFF) - 32767);
        float nR = (float)((int)(norf_rand() & 0xFFFF) - 32767);
        // noise * w + tone * (1 - w), full scale 32768, times the envelope. The
        // float cosine is rounded correctly, not by the C library's cosf, whose
        // last bit differs between C libraries: every build makes the same music.
        double tone = (1.0 - (double)w) * (double)exactCosf(phase) * 32768;
        buf[2 * i] = (short)(int)(((double)(nL * w) + tone) * (double)volume);
        buf[2 * i + 1] = (short)(int)(((double)(nR * w) + tone) * (double)volume);
        phase = phase + freq;
        if (++count == burstlen) count = 0;
    }

    for (unsigned int done = 0; done < frames;) {
        unsigned int n = frames - done < kColourRun ? frames - done : kColourRun;
        phase0 = colourModulation(phase0, n, s_colour);
        short* b = buf + 2 * done;
        Filter left = f_l, right = f_r; // working copies, kept in registers
        for (unsigned int k = 0; k < n; k++) {
            const ColourFrame& m = s_colour[k];
            b[2 * k] = colour(b[2 * k], m.fb, m.wet, dl_l, left, m.kl);
            b[2 * k + 1] = colour(b[2 * k + 1], m.fb, m.wet, dl_r, right, m.kr);
        }
        const ColourFrame& last = s_colour[n - 1];
        f_l = left;
        f_r = right;
        f_l.setTerms(last.cl, last.res, last.kl);
        f_r.setTerms(last.cr, last.res, last.kr);
        done += n;
    }
}
