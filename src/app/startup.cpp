// Entry and start-up order: SDL video, the 640x480 GL display, the loading
// picture, textures, meshes and display lists, the audio device, then event
// polling and one frame per pass until Escape or a quit event. What needs no
// GL (texture bytes, meshes) is built meanwhile on a second thread; its
// console lines are printed here, where the work used to print them.
#include "app/startup.h"

#include "app/frame_driver.h"
#include "app/gl_setup.h"
#include "app/solids.h"
#include "app/startup_work.h"
#include "base/working_dir.h"
#include "synth/audio_device.h"
#include <cstdio>
#include <string>

SDL_Surface* gScreen = nullptr;

static StartupWork* s_work = nullptr; // the work SDL_main started, if any

static void printLines(const std::string& lines) {
    fputs(lines.c_str(), stdout);
    fflush(stdout);
}

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

void initGL() {
    // The driver's first allocations come from warmed pages when the worker
    // has them ready.
    if (s_work) s_work->releaseEarlyWarmMemory();
    drawLoadingScreen(gScreen->w, gScreen->h);
    SDL_GL_SwapBuffers();

    if (!s_work) {
        setFixedState();
        return;
    }
    s_work->finish();
    s_work->releaseWarmMemory();
    printLines(s_work->textureLines());
    setFixedState(s_work->textureBytes());
    s_work->releaseTextureBytes();
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
    StartupWork work; // joined on every way out of here
    work.start();
    s_work = &work;
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        fprintf(stderr, "Couldn't initialize SDL: %s\n", SDL_GetError());
        return 1;
    }
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    startTick = ticksToSeconds(tickCount(SDL_GetTicks()));
    // The driver's start-up allocations are served from warmed pages when the
    // worker has them ready; otherwise the next chance is the loading picture.
    work.releaseEarlyWarmMemory();
    if (createSurface(argc <= 1 ? 1 : 0) != 0) return 2;
    SDL_ShowCursor(0);
    initGL();
    s_work = nullptr;

    printf("filtering ground radiation..");
    fflush(stdout);
    printLines(work.solidLines());
    bakeSolids();
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
