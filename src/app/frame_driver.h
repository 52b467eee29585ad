// The frame driver's bookkeeping, free of SDL and GL: the refill step, the
// pulses, the drum-hit counter and the scene choice. The caller supplies the
// demo time and the audio play position, so a virtual clock can drive it.
// Main thread.
#pragma once
#include "app/demo_clock.h"
#include "scenes/scene_slots.h"
#include "synth/ring.h"
#include "synth/synth_driver.h"
#include <cstdint>

extern double startTick; // origin of demo time, seconds
extern int incs;         // drum hits consumed since the last wrap; selects the scene

// Steps 2 to 7 of a frame at demo time t with the device at readPos; synth
// renders the blocks the ring lacks (a stand-in can tag them).
FramePlan planFrame(double t, uint64_t readPos, SynthFn synth = updateSynth);

// The frame for drum-hit count n at demo time t with the given pulses: the
// scene n selects, the time it is drawn at, and the current colour (the slow
// tint below a burst pulse of 1, else the strobe: white when strobeWhite).
// Touches no state: the frame tool and the benchmarks draw through it.
FramePlan planScene(double t, int n, float funk, float flexer, float offsetaapje,
                    bool strobeWhite = false);
