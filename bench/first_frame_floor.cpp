// isoloop-floor: what the demo's start-up cannot avoid, for first_frame.sh to
// time the demo against. The same SDL video start, GL attributes and 640x480
// GL window, the same loading picture (read from the pack, drawn by the demo's
// own code), then one cleared frame, and out. Main thread only.
#include "app/gl/loading_picture.h"
#include "base/working_dir.h"

#include <GL/gl.h>
#include <SDL.h>
#include <cstdio>

int main(int argc, char** argv) {
    setWorkingDir(executablePath(argv[0]).c_str());
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        fprintf(stderr, "isoloop-floor: SDL_Init: %s\n", SDL_GetError());
        return 1;
    }
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_Surface* screen =
        SDL_SetVideoMode(640, 480, 0, SDL_OPENGL | (argc > 1 ? 0 : SDL_FULLSCREEN));
    if (!screen) {
        fprintf(stderr, "isoloop-floor: SDL_SetVideoMode: %s\n", SDL_GetError());
        SDL_Quit();
        return 2;
    }
    SDL_ShowCursor(0);
    drawLoadingScreen(screen->w, screen->h);
    SDL_GL_SwapBuffers();

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SDL_GL_SwapBuffers();
    SDL_Quit();
    return 0;
}
