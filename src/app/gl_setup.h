// The GL state every scene relies on, shared by the demo's start-up and the
// offline frame renderer. Needs a current GL context; no SDL.
#pragma once

// Viewport and perspective (60 degrees, 0.1..256) for a w x h picture. Leaves
// GL_PROJECTION as the current matrix mode.
void setProjection(int w, int h);

// Start-up's display steps: projection, the loading picture from the pack,
// shown by present(), then the fixed state and all textures.
void initDisplay(int w, int h, void (*present)());

// Depth test, exponential fog, culling, 2-D texturing, all eighteen textures
// and sphere-map texture generation modes.
void setFixedState();
