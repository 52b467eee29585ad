// Entry and start-up order: SDL video, the 640x480 GL display, the loading
// picture, textures, meshes and display lists, the audio device, then event
// polling and one frame per pass until Escape or a quit event.
#include "app/startup.h"

#include "app/frame_driver.h"
#include "app/gl_setup.h"
#include "app/solids.h"
#include "app/working_dir.h"
#include "synth/audio_device.h"
#include <cstdio>
#include <string>

SDL_Surface* gScreen = nullptr;

int createSurface(int fullscreen) {
    Uint32 flags = SDL_OPENGL;
    if (fullscreen) flags |= SDL_FULLSCREEN;
    gScreen = SDL_SetVideoMode(640, 480, 0, flags);
    if (!gScreen) {
        fprintf(stderr, "Couldn't set 640x480 OpenGL video mode: %s\n", SDL_GetError());
        SDL_Quit();
        return -1;
    }
    return 0;
}

static void swapBuffers() {
    SDL_GL_SwapBuffers();
}

void initGL() {
    initDisplay(gScreen->w, gScreen->h, swapBuffers);
}

int handleEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) return 0;
        if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE) return 0;
    }
    return 1;
}

extern "C" int SDL_main(int argc, char** argv) {
    // The pack lies next to the real executable, however it was started.
    setWorkingDir(executablePath(argv[0]).c_str());
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        fprintf(stderr, "Couldn't initialize SDL: %s\n", SDL_GetError());
        return 1;
    }
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    startTick = ticksToSeconds(SDL_GetTicks());
    if (createSurface(argc <= 1 ? 1 : 0) != 0) return 2;
    SDL_ShowCursor(0);
    initGL();

    printf("filtering ground radiation..");
    fflush(stdout);
    buildSolids();
    printf("hmm mag die console weg aub?");
    fflush(stdout);

    if (initAudio() != 0) {
        // Leaving without SDL_Quit would strand a full-screen desktop at 640x480.
        SDL_Quit();
        return 1;
    }
    SDL_PauseAudio(0);

    while (handleEvents())
        luz();

    SDL_CloseAudio();
    SDL_Quit();
    return 0;
}
