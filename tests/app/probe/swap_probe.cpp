// A preloaded probe for end-to-end runs of the real demo binary. It wraps
// SDL_GL_SwapBuffers and SDL_Quit, logs each call with the milliseconds since
// the probe was loaded, saves the first swapped picture (the loading picture)
// as a PPM, and can push key events at chosen swaps.
//   ISOLOOP_PROBE_LOG   log file (required)
//   ISOLOOP_PROBE_PPM   where to save the first picture (optional)
//   ISOLOOP_PROBE_KEYS  "swap:kind,..." with kind down-esc, up-esc, down-a
#include <GL/gl.h>
#include <SDL.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dlfcn.h>
#include <vector>

static double s_start = 0;
static FILE* s_log = nullptr;
static int s_swaps = 0;

static double nowMs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

__attribute__((constructor)) static void probeInit() {
    s_start = nowMs();
    if (const char* path = getenv("ISOLOOP_PROBE_LOG")) s_log = fopen(path, "w");
}

static void logLine(const char* what) {
    if (!s_log) return;
    fprintf(s_log, "%s %d %.1f\n", what, s_swaps, nowMs() - s_start);
    fflush(s_log);
}

static void savePicture(const char* path) {
    GLint vp[4];
    glGetIntegerv(GL_VIEWPORT, vp);
    std::vector<unsigned char> rgb((size_t)vp[2] * vp[3] * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, vp[2], vp[3], GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    if (FILE* f = fopen(path, "wb")) {
        fprintf(f, "P6\n%d %d\n255\n", vp[2], vp[3]);
        for (int y = vp[3] - 1; y >= 0; y--)
            fwrite(&rgb[(size_t)y * vp[2] * 3], 1, vp[2] * 3, f);
        fclose(f);
    }
}

static void pushKeys() {
    const char* keys = getenv("ISOLOOP_PROBE_KEYS");
    if (!keys) return;
    for (const char* p = keys; p && *p;) {
        int at = atoi(p);
        const char* colon = strchr(p, ':');
        if (!colon) break;
        const char* kind = colon + 1;
        if (at == s_swaps) {
            SDL_Event e;
            memset(&e, 0, sizeof e);
            bool down = !strncmp(kind, "down", 4);
            e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
            e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
            e.key.keysym.sym = strstr(kind, "-esc") == kind + (down ? 4 : 2) ? SDLK_ESCAPE : SDLK_a;
            SDL_PushEvent(&e);
            logLine(down ? "keydown" : "keyup");
        }
        p = strchr(kind, ',');
        if (p) p++;
    }
}

extern "C" void SDL_GL_SwapBuffers(void) {
    static void (*real)(void) = (void (*)(void))dlsym(RTLD_NEXT, "SDL_GL_SwapBuffers");
    s_swaps++;
    if (s_swaps == 1)
        if (const char* ppm = getenv("ISOLOOP_PROBE_PPM")) savePicture(ppm);
    logLine("swap");
    pushKeys();
    real();
}

extern "C" void SDL_Quit(void) {
    static void (*real)(void) = (void (*)(void))dlsym(RTLD_NEXT, "SDL_Quit");
    logLine("quit");
    // Peak resident memory of the whole run, for the start-up benchmark.
    if (FILE* st = fopen("/proc/self/status", "r")) {
        char line[256];
        while (fgets(line, sizeof line, st))
            if (!strncmp(line, "VmHWM:", 6) && s_log) fprintf(s_log, "peak %s", line + 6);
        fclose(st);
    }
    real();
}
