#include "app/sdl/display.h"

#include "app/frame_driver.h"
#include <cstdio>

SDL_Surface* gScreen = nullptr;

int startVideo() {
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        fprintf(stderr, "Couldn't initialize SDL: %s\n", SDL_GetError());
        return 1;
    }
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    startTick = ticksToSeconds(tickCount(SDL_GetTicks()));
    return 0;
}

int createSurface(int fullscreen, int width, int height) {
    Uint32 flags = SDL_OPENGL;
    if (fullscreen) flags |= SDL_FULLSCREEN;
    gScreen = SDL_SetVideoMode(width, height, 0, flags);
    if (!gScreen) {
        fprintf(stderr, "Couldn't set %dx%d OpenGL video mode: %s\n", width, height,
                SDL_GetError());
        SDL_Quit();
        return -1;
    }
    return 0;
}

int handleEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) return 0;
        if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE) return 0;
    }
    return 1;
}
