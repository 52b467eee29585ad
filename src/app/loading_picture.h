// The loading picture: pack image 0 (256 x 64) drawn as coloured quads, row 0
// at the bottom, centred, over a black backdrop. Leaves GL_PROJECTION current.
#pragma once

void drawLoadingPicture(const unsigned int* pixels);
