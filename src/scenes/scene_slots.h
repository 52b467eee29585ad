// The scene table's plain side: which scene a drum-hit count selects, the
// plan of one frame that the scene table draws, and the scenes' short names.
// No GL; main thread (and tools).
#pragma once

enum SceneSlot {
    SCENE_NONE = -1, // counter wrapped: nothing is drawn this frame
    SCENE_1 = 0,     // hits 0..11: the tunnel
    SCENE_CREDITS,   // 12..17
    SCENE_0,         // 18..27: forest and mountain, drawn at t + 8
    SCENE_3,         // 28..37: fractal body
    SCENE_4,         // 38..47: sea-green world
    SCENE_5,         // 48..57: pillars and pyramid
};

// One frame as the frame driver decided it.
struct FramePlan {
    double t;        // demo time handed to the scene (t + 8 for scene 0)
    int scene;       // SceneSlot
    int n;           // incs after this frame's drum events
    float colour[3]; // current colour for glColor3f
    float funk, flexer, offsetaapje;
    int blocks; // ring blocks synthesized this frame
};

// Scene slot for a counter value (SCENE_NONE from 58 up).
int sceneForCount(int n);

// "scene1", "credits", "scene0", "scene3", "scene4", "scene5", or "none".
const char* sceneName(int scene);
