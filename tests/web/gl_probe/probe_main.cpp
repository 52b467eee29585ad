// The probe as a program. Natively it opens an SDL 1.2 window and, with
// --dump FILE, writes frame t = 0 as a binary PPM and exits. In the browser it
// hands frame t = 0 to the page (Module.probePixels, bottom row first, RGBA)
// and then animates, counting frames in Module.probeFrames.
#include "probe_scene.h"

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <cstdio>
#include <cstring>
#include <vector>
#ifdef __EMSCRIPTEN__
#include "app/web/show_end.h"
#include <emscripten.h>
#endif

namespace {

std::vector<unsigned char> readFrame() {
    std::vector<unsigned char> px((size_t)kProbeWidth * kProbeHeight * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kProbeWidth, kProbeHeight, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    return px;
}

#ifdef __EMSCRIPTEN__
double startMs = 0;
bool probeLargeBatch = true;
int frames = 0;

void frame() {
    probeDraw((emscripten_get_now() - startMs) / 1000.0, probeLargeBatch);
    frames++;
    EM_ASM(Module.probeFrames = $0;, frames);
}
#else
bool writePpm(const char* path, const std::vector<unsigned char>& px) {
    FILE* f = std::fopen(path, "wb");
    if (!f) return false;
    std::fprintf(f, "P6\n%d %d\n255\n", kProbeWidth, kProbeHeight);
    for (int y = kProbeHeight - 1; y >= 0; y--) // GL reads bottom row first
        for (int x = 0; x < kProbeWidth; x++)
            std::fwrite(&px[((size_t)y * kProbeWidth + x) * 4], 1, 3, f);
    return std::fclose(f) == 0;
}
#endif

} // namespace

int main(int argc, char** argv) {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "gl_probe: SDL_Init: %s\n", SDL_GetError());
        return 1;
    }
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    if (!SDL_SetVideoMode(kProbeWidth, kProbeHeight, 0, SDL_OPENGL)) {
        std::fprintf(stderr, "gl_probe: SDL_SetVideoMode: %s\n", SDL_GetError());
        return 1;
    }
    ProbePicture picture;
    if (!readProbePicture("probe.ppm", picture)) {
        std::fprintf(stderr, "gl_probe: cannot read probe.ppm\n");
#ifdef __EMSCRIPTEN__
        isowebShowFailed("The probe's picture (probe.ppm) is not a 4x4 PPM.");
#endif
        return 1;
    }
    probeSetup(picture);
    probeDraw(0.0);
    std::vector<unsigned char> px = readFrame();
#ifdef __EMSCRIPTEN__
    (void)argc, (void)argv;
    EM_ASM(Module.probePixels = HEAPU8.slice($0, $0 + $1);, px.data(), (int)px.size());
    // "?probe=light" in the page's address leaves the large batch out of the
    // animation, to tell its cost from the rest.
    probeLargeBatch = !EM_ASM_INT(return location.search.indexOf("probe=light") >= 0;);
    startMs = emscripten_get_now();
    emscripten_set_main_loop(frame, 0, 0);
    return 0;
#else
    if (argc == 3 && std::strcmp(argv[1], "--dump") == 0) {
        bool ok = writePpm(argv[2], px);
        SDL_Quit();
        return ok ? 0 : 1;
    }
    Uint32 start = SDL_GetTicks();
    for (;;) {
        SDL_Event e;
        while (SDL_PollEvent(&e))
            if (e.type == SDL_QUIT || (e.type == SDL_KEYDOWN && e.key.keysym.sym == SDLK_ESCAPE)) {
                SDL_Quit();
                return 0;
            }
        probeDraw((SDL_GetTicks() - start) / 1000.0, true);
        SDL_GL_SwapBuffers();
    }
#endif
}
