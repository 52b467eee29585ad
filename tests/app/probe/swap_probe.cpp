// A preloaded probe for end-to-end runs of the real demo binary. It wraps
// SDL_GL_SwapBuffers and SDL_Quit, logs each call ("swap k ms", "quit k ms",
// then "peak N kB" of resident memory), names the SDL in use at the first of
// them ("driver NAME", then "lib PATH" for each SDL library mapped), saves the
// first swapped picture (the loading picture) as a PPM, and can push key
// events at chosen swaps. Times are milliseconds since the probe was loaded,
// before the program's own code.
//   ISOLOOP_PROBE_LOG     log file (required)
//   ISOLOOP_PROBE_PPM     where to save the first picture (optional)
//   ISOLOOP_PROBE_KEYS    "swap:kind,..." with kind down-esc, up-esc, down-a
//   ISOLOOP_PROBE_FRAMES  when set, also "swapped k ms main_cpu_ms cpu_ms faults
//                         incs scene" once each swap returns: CPU time of the
//                         calling (main) thread and of the process, the
//                         process's minor page faults, the demo's drum-hit
//                         counter (-1 when the program has no such symbol) and
//                         the name of the scene it selects in the demo's table
//   ISOLOOP_PROBE_LISTS   when set, "<glGenLists>" is written to standard
//                         output where the program reserves display lists
#include "scenes/scene_slots.h"

#include <GL/gl.h>
#include <SDL.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dlfcn.h>
#include <elf.h>
#include <link.h>
#include <sys/resource.h>
#include <unistd.h>
#include <set>
#include <string>
#include <vector>

static const auto s_start = std::chrono::steady_clock::now(); // when the probe was loaded
static FILE* s_log = nullptr;
static int s_swaps = 0;

__attribute__((constructor)) static void probeInit() {
    // Appending: helpers started with the same environment (xvfb-run, xauth)
    // open the log too, before and after the demo.
    if (const char* path = getenv("ISOLOOP_PROBE_LOG")) s_log = fopen(path, "a");
}

static void logLine(const char* what) {
    std::chrono::duration<double, std::milli> ms = std::chrono::steady_clock::now() - s_start;
    if (s_log) fprintf(s_log, "%s %d %.1f\n", what, s_swaps, ms.count()), fflush(s_log);
}

// sdl12-compat maps SDL2 beside itself; SDL 1.2 maps only itself.
static void logSdlOnce() {
    static bool done = false;
    if (done || !s_log) return;
    done = true;
    char name[64];
    fprintf(s_log, "driver %s\n", SDL_VideoDriverName(name, sizeof name) ? name : "none");
    if (FILE* maps = fopen("/proc/self/maps", "r")) {
        std::set<std::string> seen;
        char line[4096];
        while (fgets(line, sizeof line, maps)) {
            const char* path = strchr(line, '/');
            if (path && strstr(path, "/libSDL") && seen.insert(path).second)
                fprintf(s_log, "lib %s", path);
        }
        fclose(maps);
    }
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
        for (int y = vp[3] - 1; y >= 0; y--) // PPM rows run top down
            fwrite(&rgb[(size_t)y * vp[2] * 3], 1, vp[2] * 3, f);
        fclose(f);
    }
}

static void pushKeys(const char* keys) {
    for (const char* p = keys; p; p = strchr(p, ',') ? strchr(p, ',') + 1 : nullptr) {
        const char* kind = strchr(p, ':');
        if (!kind || atoi(p) != s_swaps) continue;
        bool down = !strncmp(++kind, "down", 4);
        SDL_Event e;
        memset(&e, 0, sizeof e);
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.sym = !strncmp(kind + (down ? 4 : 2), "-esc", 4) ? SDLK_ESCAPE : SDLK_a;
        SDL_PushEvent(&e);
    }
}

static int mainProgramBias(dl_phdr_info* info, size_t, void* bias) {
    *static_cast<ElfW(Addr)*>(bias) = info->dlpi_addr; // the first object is the program
    return 1;
}

// Address of a data symbol of the running program, from its own symbol table
// (the program exports none); null when the file has no such symbol.
static const void* programSymbol(const char* name) {
    FILE* f = fopen("/proc/self/exe", "rb");
    if (!f) return nullptr;
    std::vector<char> file;
    char chunk[65536];
    for (size_t n; (n = fread(chunk, 1, sizeof chunk, f)) > 0;)
        file.insert(file.end(), chunk, chunk + n);
    fclose(f);
    const void* found = nullptr;
    const auto* eh = reinterpret_cast<const ElfW(Ehdr)*>(file.data());
    if (file.size() < sizeof *eh || memcmp(eh->e_ident, ELFMAG, SELFMAG) ||
        eh->e_shoff + (size_t)eh->e_shnum * sizeof(ElfW(Shdr)) > file.size())
        return nullptr;
    const auto* sh = reinterpret_cast<const ElfW(Shdr)*>(file.data() + eh->e_shoff);
    for (int i = 0; i < eh->e_shnum && !found; i++) {
        if (sh[i].sh_type != SHT_SYMTAB || sh[i].sh_link >= eh->e_shnum) continue;
        const ElfW(Shdr)& strs = sh[sh[i].sh_link];
        if (sh[i].sh_offset + sh[i].sh_size > file.size() ||
            strs.sh_offset + strs.sh_size > file.size())
            continue;
        const auto* sym = reinterpret_cast<const ElfW(Sym)*>(file.data() + sh[i].sh_offset);
        for (size_t k = 0; k < sh[i].sh_size / sizeof *sym; k++)
            if (ELF64_ST_TYPE(sym[k].st_info) == STT_OBJECT && sym[k].st_name < strs.sh_size &&
                !strncmp(file.data() + strs.sh_offset + sym[k].st_name, name,
                         strs.sh_size - sym[k].st_name)) {
                ElfW(Addr) bias = 0;
                dl_iterate_phdr(mainProgramBias, &bias);
                found = reinterpret_cast<const void*>(bias + sym[k].st_value);
                break;
            }
    }
    return found;
}

static double cpuMs(clockid_t clock) {
    timespec ts;
    clock_gettime(clock, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec * 1e-6;
}

static void logSwapped() {
    static const int* incs = static_cast<const int*>(programSymbol("incs"));
    std::chrono::duration<double, std::milli> ms = std::chrono::steady_clock::now() - s_start;
    rusage ru;
    getrusage(RUSAGE_SELF, &ru);
    if (s_log)
        fprintf(s_log, "swapped %d %.2f %.2f %.2f %ld %d %s\n", s_swaps, ms.count(),
                cpuMs(CLOCK_THREAD_CPUTIME_ID), cpuMs(CLOCK_PROCESS_CPUTIME_ID), ru.ru_minflt,
                incs ? *incs : -1, incs ? sceneName(sceneForCount(*incs)) : "-"),
            fflush(s_log);
}

extern "C" void SDL_GL_SwapBuffers(void) {
    static void (*real)(void) = (void (*)(void))dlsym(RTLD_NEXT, "SDL_GL_SwapBuffers");
    static const bool frames = getenv("ISOLOOP_PROBE_FRAMES") != nullptr;
    const char* ppm = getenv("ISOLOOP_PROBE_PPM");
    if (++s_swaps == 1 && ppm) savePicture(ppm);
    logSdlOnce();
    logLine("swap");
    if (const char* keys = getenv("ISOLOOP_PROBE_KEYS")) pushKeys(keys);
    real();
    if (frames) logSwapped();
}

extern "C" GLuint glGenLists(GLsizei range) {
    static GLuint (*real)(GLsizei) = (GLuint(*)(GLsizei))dlsym(RTLD_NEXT, "glGenLists");
    static const bool mark = getenv("ISOLOOP_PROBE_LISTS") != nullptr;
    // Straight to the descriptor: the program flushes its console lines as it
    // prints them, so the marker lands between them where the call happens.
    if (mark) (void)!write(1, "<glGenLists>", 12);
    return real(range);
}

extern "C" void SDL_Quit(void) {
    static void (*real)(void) = (void (*)(void))dlsym(RTLD_NEXT, "SDL_Quit");
    logSdlOnce();
    logLine("quit");
    if (FILE* st = fopen("/proc/self/status", "r")) {
        char line[256];
        while (fgets(line, sizeof line, st))
            if (!strncmp(line, "VmHWM:", 6) && s_log) fprintf(s_log, "peak %s", line + 6);
        fclose(st);
    }
    real();
}
