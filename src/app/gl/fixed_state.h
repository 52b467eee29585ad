// The GL state every scene relies on: the projection, and the fixed state
// with the eighteen textures. Needs a current GL context; no SDL.
#pragma once

// Viewport and perspective (60 degrees, 0.1..256) for a w x h picture. Leaves
// GL_PROJECTION as the current matrix mode.
void setProjection(int w, int h);

// Depth test, exponential fog, culling, 2-D texturing, all eighteen textures
// and sphere-map texture generation modes. The textures are made here, or
// uploaded from textureBytes when buildTextureBytes has made them already.
void setFixedState(const unsigned char* textureBytes = nullptr);
