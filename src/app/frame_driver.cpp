// One frame's bookkeeping: refill the ring, decay the pulses, consume due
// events, choose the colour and the scene. Main thread.
#include "app/frame_driver.h"

#include "synth/events.h"
#include "synth/random.h"
#include "synth/ring.h"
#include "synth/synth_driver.h"
#include <cmath>

double startTick = 0.0;
int incs = 0;

// Pulses: funk is the burst pulse, flexer the drum pulse, offsetaapje a
// random offset redrawn at every burst. They live for the whole run.
static float funk = 0.0f;
static float flexer = 0.0f;
static float offsetaapje = 0.0f;

// The slow tint the frames carry while the burst pulse is below 1.
static void tintColour(double t, float colour[3]) {
    colour[0] = 1.0f;
    colour[1] = (float)(std::sin(t / 5) * 0.2 + 0.8);
    colour[2] = (float)(std::sin(t / 4) * 0.3 + 0.7);
}

FramePlan planScene(double t, int n, float funk, float flexer, float offsetaapje,
                    bool strobeWhite) {
    FramePlan plan;
    if (funk < 1.0f) {
        tintColour(t, plan.colour);
    } else {
        float c = strobeWhite ? 1.0f : 0.0f;
        plan.colour[0] = plan.colour[1] = plan.colour[2] = c;
    }
    plan.n = n;
    plan.scene = sceneForCount(n);
    plan.t = plan.scene == SCENE_0 ? t + 8.0 : t;
    plan.funk = funk;
    plan.flexer = flexer;
    plan.offsetaapje = offsetaapje;
    plan.blocks = 0;
    return plan;
}

FramePlan planFrame(double t, uint64_t readPos, SynthFn synth) {
    int blocks = refillRing(readPos, synth);

    funk = (float)(funk * 0.96);
    flexer = (float)(flexer * 0.99);

    // An event due exactly now waits for the next frame: strictly later only.
    while (const Event* e = getSynthEvent(1, t)) {
        if (!(t > e->time)) break;
        consumeSynthEvent(*e);
        incs += 1;
        flexer += 1.0f;
    }
    while (const Event* e = getSynthEvent(0, t)) {
        if (!(t > e->time)) break;
        consumeSynthEvent(*e);
        funk += 1.0f;
        offsetaapje = norf_frand();
    }

    // Strobe: white with probability 21/256, else black. Drawn only while
    // the burst pulse is high, so the generator's sequence depends on it.
    bool white = funk >= 1.0f && (norf_rand() & 255) <= 20;
    FramePlan plan = planScene(t, incs, funk, flexer, offsetaapje, white);
    plan.blocks = blocks;
    if (plan.scene == SCENE_NONE) incs = 0;
    return plan;
}
