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
#include "texture/art/png_io.h"
#include <GL/gl.h>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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
    float c[3] = {0, 0, 0};
    if (funk < 1.0f) tintColour(t, c);
    glColor3f(c[0], c[1], c[2]);
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
    RgbaImage image(a.width, a.height);
    for (size_t i = 0; i < (size_t)a.width * a.height; i++) {
        for (int c = 0; c < 3; c++)
            image.px[4 * i + c] = (unsigned char)rgb[3 * i + c];
        image.px[4 * i + 3] = 255;
    }
    std::string error;
    if (!writePng(a.out, image, false, &error)) {
        fprintf(stderr, "isoloop-tool frame: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
