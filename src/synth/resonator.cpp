// Feedback comb with a swept loop filter and a drifting feedback gain. No
// allocation after construction; main thread only, because the cutoff sweep
// is shared between instances through a static memo.
#include "synth/resonator.h"

#include "synth/random.h"
#include "synth/sample.h"
#include "synth/trig_near.h"
#include <cmath>

namespace {

const unsigned int kSweepFrames = 4000;

const float kLoopRes = 1.1f; // resonance of both loop filters

// The loop filters' cutoff and coefficients depend only on sweepPhase and
// sweepStep, and every resonator starts at phase 0 with the same step and
// processes the same frames. So the first resonator over a block computes
// them, and the ones after it in the chain find the same values here.
struct SweepMemo {
    double startPhase;
    double step;
    unsigned int frames;          // valid entries; 0 = empty
    double phase[kSweepFrames];   // sweepPhase after each frame
    float c[kSweepFrames];        // cutoff term of each frame
    FilterCoeffs k[kSweepFrames]; // coefficients from c and kLoopRes
};

SweepMemo s_sweep; // main thread

const SweepMemo& sweepFor(double phase, double step, unsigned int frames) {
    SweepMemo& m = s_sweep;
    if (m.frames >= frames && m.startPhase == phase && m.step == step) return m;
    m.startPhase = phase;
    m.step = step;
    m.frames = frames;
    fast_trig::TrigNear sweep, cot;
    for (unsigned int i = 0; i < frames; i++) {
        // f = cos(phase) * 3500 + 4000, 500..7500 Hz
        float f = cosScaledNear(sweep, phase, 3500, 4000);
        phase += step;
        m.phase[i] = phase;
        m.c[i] = cutoffTermNear(cot, f);
        m.k[i] = filterCoeffs(m.c[i], kLoopRes);
    }
    return m;
}

float s_gain[kSweepFrames]; // feedback gains of a run of frames, main thread

// The feedback gain of n frames from phase on, 0.69..0.91; returns the phase
// after them. g = 0.5 cos(phase) + 0.5, then g = 0.91 g + 0.69 (1 - g).
double feedbackGains(double phase, double step, unsigned int n, float* gain) {
    fast_trig::TrigNear near;
    for (unsigned int i = 0; i < n; i++) {
        float g = cosScaledNear(near, phase, 0.5, 0.5);
        phase += step;
        gain[i] = (float)((double)g * 0.91 + (1.0 - (double)g) * 0.69);
    }
    return phase;
}

} // namespace

Resonator::Resonator(int length, float)
    : delayRight((unsigned int)length), delayLeft((unsigned int)length), sweepPhase(0),
      gainPhase(0), gainStep(0.00001), sweepStep(0.00001), count(0), period(8000) {}

void Resonator::process(short* buf, unsigned int samples) {
    unsigned int frames = samples / 2;
    for (unsigned int done = 0; done < frames;) {
        unsigned int n = frames - done < kSweepFrames ? frames - done : kSweepFrames;
        const SweepMemo& sw = sweepFor(sweepPhase, sweepStep, n);
        for (unsigned int k = 0; k < n;) {
            // A run of frames up to the end of the drift period, whose gains
            // are known before the loop.
            unsigned int run = n - k;
            if ((unsigned int)(period - count) < run) run = (unsigned int)(period - count);
            gainPhase = feedbackGains(gainPhase, gainStep, run, s_gain);
            processRun(buf + 2 * (done + k), run, sw.k + k, s_gain);
            k += run;
            unsigned int last = k - 1;
            sweepPhase = sw.phase[last];
            filterLeft.setTerms(sw.c[last], kLoopRes, sw.k[last]);
            filterRight.setTerms(sw.c[last], kLoopRes, sw.k[last]);
            count += (int)run;
            if (count == period) {
                count = 0;
                period = (int)(norf_rand() % 8) * 4000 + 4000;
                gainStep = ((double)frand() * 0.9 + 0.1) * 0.00001;
            }
        }
        done += n;
    }
}

void Resonator::processRun(short* p, unsigned int n, const FilterCoeffs* k, const float* gain) {
    // Working copies of the filters stay in registers; stored back below.
    Filter left = filterLeft, right = filterRight;
    for (unsigned int i = 0; i < n; i++) {
        float g = gain[i];

        short d = delayLeft.read();
        short y = left.step(k[i], (short)(int)((float)d * g));
        short out = clip((int)((double)p[2 * i] * 0.4 + (double)y));
        p[2 * i] = out;
        delayLeft.write(out);

        d = delayRight.read();
        y = right.step(k[i], (short)(int)((float)d * g));
        out = clip((int)((double)p[2 * i + 1] * 0.4 + (double)y));
        p[2 * i + 1] = out;
        delayRight.write(out);
    }
    filterLeft = left;
    filterRight = right;
}
