// Start-up, display and main loop of the demo (main thread).
#pragma once
#include <SDL.h>

extern SDL_Surface* gScreen; // the display surface; initGL reads its size

int createSurface(int fullscreen);
void initGL();
int handleEvents();
void luz();
extern "C" int SDL_main(int argc, char** argv);
