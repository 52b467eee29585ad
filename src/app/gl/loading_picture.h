// The loading picture: pack image 0 (256 x 64) drawn as coloured quads, row 0
// at the bottom, centred, over a black backdrop. Leaves GL_PROJECTION current.
// Main thread, GL context current.
#pragma once

void drawLoadingPicture(const unsigned int* pixels);

// Start-up's first picture: the projection for a w x h picture, then the
// loading picture from the pack, drawn but not yet shown (a missing pack
// leaves it black).
void drawLoadingScreen(int w, int h);
