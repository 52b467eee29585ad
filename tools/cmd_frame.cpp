// frame: renders one frame of the scene that a drum-hit count selects, with
// given time and pulses, in a window-less GL context after the demo's own
// start-up (projection, fixed state, textures, meshes, lists), as a PNG.
#include "commands.h"

#include "app/frame_driver.h"
#include "app/gl_setup.h"
#include "app/solids.h"
#include "app/working_dir.h"
#include "offscreen_gl.h"
#include "scenes/scenes.h"
#include <GL/gl.h>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <png.h>
#include <string>
#include <unistd.h>

namespace {

struct FrameArgs {
    int incs = -1;
    double time = NAN;
    float funk = 0, flexer = 0, offset = 0;
    const char* out = nullptr;
    int width = 640, height = 480;
};

bool parseDouble(const char* s, double* v) {
    char* end = nullptr;
    errno = 0;
    double d = std::strtod(s, &end);
    if (end == s || *end || errno == ERANGE || !std::isfinite(d)) return false;
    *v = d;
    return true;
}

bool parseInt(const char* s, long lo, long hi, int* v, char stop = '\0',
              const char** rest = nullptr) {
    char* end = nullptr;
    errno = 0;
    long l = std::strtol(s, &end, 10);
    if (end == s || *end != stop || errno == ERANGE || l < lo || l > hi) return false;
    *v = (int)l;
    if (rest) *rest = end + 1;
    return true;
}

bool parseFloat(const char* s, float* v) {
    double d;
    if (!parseDouble(s, &d) || std::fabs(d) > 1e30) return false;
    *v = (float)d;
    return true;
}

bool parseSize(const char* s, int* w, int* h) {
    const char* rest = nullptr;
    return parseInt(s, 1, 4096, w, 'x', &rest) && parseInt(rest, 1, 4096, h);
}

int usage(const char* problem) {
    fprintf(stderr, "isoloop-tool frame: %s\n", problem);
    fprintf(stderr, "usage: isoloop-tool frame --incs N --time T [--funk F --flexer X --offset O]"
                    " --out FILE.png [--size WxH]\n"
                    "  N: drum-hit count 0..57, which selects the scene; T: demo time in seconds\n"
                    "  (scene 0 is drawn at T + 8, as in the demo); pulses default to 0\n");
    return 2;
}

// Returns 0 when parsed, else the exit status of a usage error.
int parseArgs(int argc, char** argv, FrameArgs* a) {
    for (int i = 0; i < argc; i += 2) {
        const char* key = argv[i];
        if (i + 1 >= argc) return usage((std::string("missing value after ") + key).c_str());
        const char* val = argv[i + 1];
        bool ok;
        if (!std::strcmp(key, "--incs"))
            ok = parseInt(val, 0, 57, &a->incs);
        else if (!std::strcmp(key, "--time"))
            ok = parseDouble(val, &a->time);
        else if (!std::strcmp(key, "--funk"))
            ok = parseFloat(val, &a->funk);
        else if (!std::strcmp(key, "--flexer"))
            ok = parseFloat(val, &a->flexer);
        else if (!std::strcmp(key, "--offset"))
            ok = parseFloat(val, &a->offset);
        else if (!std::strcmp(key, "--out"))
            ok = *(a->out = val) != '\0';
        else if (!std::strcmp(key, "--size"))
            ok = parseSize(val, &a->width, &a->height);
        else
            return usage((std::string("unknown option ") + key).c_str());
        if (!ok) return usage((std::string("bad value for ") + key + ": " + val).c_str());
    }
    if (a->incs < 0) return usage("--incs is required");
    if (std::isnan(a->time)) return usage("--time is required");
    if (!a->out) return usage("--out is required");
    return 0;
}

// The frame driver's current colour: the slow tint, or for a high burst pulse
// the strobe's usual black (its white frames are a random 21 in 256).
void setFrameColour(double t, float funk) {
    if (funk < 1.0f)
        glColor3f(1.0f, (float)(std::sin(t / 5) * 0.2 + 0.8), (float)(std::sin(t / 4) * 0.3 + 0.7));
    else
        glColor3f(0, 0, 0);
}

// libpng reports errors by longjmp: nothing here needs unwinding.
bool encodePng(png_structp png, png_infop info, FILE* f, const std::string& rgb, int w, int h) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, f);
    png_set_IHDR(png, info, w, h, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < h; y++)
        png_write_row(png, (png_const_bytep)&rgb[(size_t)y * w * 3]);
    png_write_end(png, nullptr);
    return true;
}

bool writePng(const char* path, const std::string& rgb, int w, int h, std::string* error) {
    FILE* f = std::fopen(path, "wb");
    if (!f) {
        *error = std::string("cannot write ") + path + ": " + std::strerror(errno);
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = png && info && encodePng(png, info, f, rgb, w, h);
    png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
    if (std::fclose(f) != 0) ok = false;
    if (!ok) *error = std::string("cannot write ") + path;
    return ok;
}

} // namespace

int cmdFrame(int argc, char** argv) {
    FrameArgs a;
    if (int status = parseArgs(argc, argv, &a)) return status;

    OffscreenGL gl(a.width, a.height);
    if (!gl.ok()) {
        fprintf(stderr, "isoloop-tool frame: no offscreen GL context: %s\n", gl.error().c_str());
        return 1;
    }
    // The picture pack lies next to the tool, as it does next to the demo.
    setWorkingDir(executablePath("").c_str());
    setProjection(a.width, a.height);
    setFixedState();
    buildSolids();

    FramePlan plan{};
    plan.scene = sceneForCount(a.incs);
    plan.t = plan.scene == SCENE_0 ? a.time + 8.0 : a.time;
    plan.n = a.incs;
    plan.funk = a.funk;
    plan.flexer = a.flexer;
    plan.offsetaapje = a.offset;
    // Scenes inherit state from the frame before: one warm-up frame of the
    // same scene gives the state of every frame but a segment's first.
    for (int pass = 0; pass < 2; pass++) {
        setFrameColour(a.time, a.funk);
        drawScene(plan);
    }
    glFinish();
    std::string rgb = readPixelsTopDown(a.width, a.height);

    std::string tmp = std::string(a.out) + ".tmp" + std::to_string((long)getpid());
    std::string error;
    if (!writePng(tmp.c_str(), rgb, a.width, a.height, &error)) {
        std::remove(tmp.c_str());
        fprintf(stderr, "isoloop-tool frame: %s\n", error.c_str());
        return 1;
    }
    if (std::rename(tmp.c_str(), a.out) != 0) {
        fprintf(stderr, "isoloop-tool frame: cannot write %s: %s\n", a.out, std::strerror(errno));
        std::remove(tmp.c_str());
        return 1;
    }
    return 0;
}
