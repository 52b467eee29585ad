// The frame driver's bookkeeping, free of SDL and GL: the refill step, the
// pulses, the drum-hit counter and the scene choice. The caller supplies the
// demo time and the audio play position, so a virtual clock can drive it.
#pragma once
#include "app/demo_clock.h"
#include "synth/ring.h"
#include "synth/synth.h"
#include <cstdint>

enum SceneSlot {
    SCENE_NONE = -1, // counter wrapped: nothing is drawn this frame
    SCENE_1 = 0,     // hits 0..11: the tunnel
    SCENE_CREDITS,   // 12..17
    SCENE_0,         // 18..27: forest and mountain, drawn at t + 8
    SCENE_3,         // 28..37: fractal body
    SCENE_4,         // 38..47: sea-green world
    SCENE_5,         // 48..57: pillars and pyramid
};

struct FramePlan {
    double t;        // demo time handed to the scene (t + 8 for scene 0)
    int scene;       // SceneSlot
    int n;           // incs after this frame's drum events
    float colour[3]; // current colour for glColor3f
    float funk, flexer, offsetaapje;
    int blocks; // ring blocks synthesized this frame
};

extern double startTick; // origin of demo time, seconds
extern int incs;         // drum hits consumed since the last wrap; selects the scene

// The slow tint the frames carry while the burst pulse is below 1.
void tintColour(double t, float colour[3]);

// Steps 2 to 7 of a frame at demo time t with the device at readPos; synth
// renders the blocks the ring lacks (a stand-in can tag them).
FramePlan planFrame(double t, uint64_t readPos, SynthFn synth = updateSynth);

// Scene slot for a counter value (SCENE_NONE from 58 up).
int sceneForCount(int n);

// The pulses kept between frames (for tests and the offline renderer).
void framePulses(float* funk, float* flexer, float* offsetaapje);
