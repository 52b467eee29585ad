// Entry and start-up order: SDL video, the 640x480 GL display, the loading
// picture, textures, meshes and display lists, the audio device, then event
// polling and one frame per pass until Escape or a quit event.
#include "app/startup.h"

#include "app/frame_driver.h"
#include "app/loading_picture.h"
#include "app/solids.h"
#include "app/working_dir.h"
#include "synth/audio_device.h"
#include "texture/pack_reader.h"
#include "texture/texture_atlas.h"
#include <GL/gl.h>
#include <GL/glu.h>
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

void initGL() {
    static const float fog_color[4] = {1.0f, 0.5f, 0.0f, 1.0f};
    int w = gScreen->w, h = gScreen->h;
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    gluPerspective(60.0, (float)w / (float)h, 0.1, 256.0);

    // A missing pack leaves the picture black.
    static unsigned int pixels[256 * 64];
    read_bmp8("julia.3ds", pixels, 0, 256, 64);
    drawLoadingPicture(pixels);
    SDL_GL_SwapBuffers();

    glDepthFunc(GL_LESS);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, GL_EXP);
    glFogf(GL_FOG_DENSITY, 0.05f);
    glFogfv(GL_FOG_COLOR, fog_color);
    glFrontFace(GL_CCW);
    glEnable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    generateTexture();
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
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
