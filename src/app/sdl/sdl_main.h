// The demo's entry: SDL video, the display, start-up behind the loading
// picture, the sound device, then event drains and frames until the user
// quits. Main thread.
#pragma once

// The projection, the loading picture on screen, the fixed state and the
// textures: start-up's first steps once the display exists.
void initGL();

// 0 after a normal quit, 1 when SDL or the sound device failed, 2 when the
// video mode could not be set.
extern "C" int SDL_main(int argc, char** argv);
