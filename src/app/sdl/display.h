// The demo's SDL display and events: the 640x480 OpenGL video mode, full
// screen or a window, and the event drain that tells when to quit. Main thread.
#pragma once
#include <SDL.h>

extern SDL_Surface* gScreen; // the display surface; start-up reads its size

// SDL video, a 16-bit depth buffer and double buffering asked for, and the
// start clock read (before the display exists: demo time counts all of
// start-up). 0, or 1 with the message printed.
int startVideo();

// Sets the video mode, 640x480 unless told otherwise (the browser's page
// sizes its canvas itself: 0x0 there takes the canvas's size); 0, or -1 with
// the message printed and SDL shut down.
int createSurface(int fullscreen, int width = 640, int height = 480);

// Drains the event queue: 0 on Escape pressed or a quit event, else 1.
int handleEvents();
