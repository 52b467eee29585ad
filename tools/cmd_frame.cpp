// frame: renders one frame of the scene that a drum-hit count selects, with
// given time and pulses, in a window-less GL context after the demo's own
// start-up (projection, fixed state, textures, meshes, lists), as a PNG.
#include "args.h"
#include "commands.h"
#include "output_files.h"
#include "show_pack.h"

#include "app/egl/offscreen_gl.h"
#include "app/frame_driver.h"
#include "app/gl/frame_pass.h"
#include "app/gl/startup_steps.h"
#include "base/working_dir.h"
#include "capture/capture_text.h"
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
    std::string out;
    int width = 640, height = 480;
};

const CommandSyntax kSyntax{
    "frame",
    "usage: isoloop-tool frame --incs N --time T [--funk F --flexer X --offset O]"
    " --out FILE.png [--size WxH]\n"
    "  N: drum-hit count 0..57, which selects the scene; T: demo time in seconds\n"
    "  (scene 0 is drawn at T + 8, as in the demo); pulses default to 0\n",
    {"--incs", "--time", "--funk", "--flexer", "--offset", "--out", "--size"},
    {}};

// Returns -1 when parsed, else the exit status to end with.
int parseFrameArgs(int argc, char** argv, FrameArgs* a) {
    ParsedArgs parsed;
    if (int status = parseArgs(kSyntax, argc, argv, &parsed); status >= 0) return status;
    if (!parsed.operands.empty())
        return usageError(kSyntax, "unexpected argument '" + parsed.operands[0] + "'");
    for (const auto& [key, text] : parsed.options) {
        const char* val = text.c_str();
        bool ok;
        if (key == "--incs")
            ok = parseInt(val, 0, 57, &a->incs);
        else if (key == "--time")
            ok = parseDouble(val, &a->time);
        else if (key == "--funk")
            ok = parseFloat(val, &a->funk);
        else if (key == "--flexer")
            ok = parseFloat(val, &a->flexer);
        else if (key == "--offset")
            ok = parseFloat(val, &a->offset);
        else if (key == "--out") // PNGs are written under a temporary name, not to a pipe
            ok = !(a->out = text).empty() && text != "-";
        else
            ok = parseSize(val, &a->width, &a->height);
        if (!ok) return usageError(kSyntax, "bad value for " + key + ": " + text);
    }
    if (a->incs < 0) return usageError(kSyntax, "--incs is required");
    if (std::isnan(a->time)) return usageError(kSyntax, "--time is required");
    if (a->out.empty()) return usageError(kSyntax, "--out is required");
    return -1;
}

} // namespace

int cmdFrame(int argc, char** argv) {
    FrameArgs a;
    if (int status = parseFrameArgs(argc, argv, &a); status >= 0) return status;
    // The output first, so a name that cannot be written costs no start-up.
    OutputFiles outputs({OUTPUT_STOP_SIGNALS});
    std::string why;
    int fd = openOutput(outputs, a.out, false, &why);
    FILE* out = fd < 0 ? nullptr : streamOf(fd);
    if (!out) {
        if (fd >= 0) why = std::strerror(errno);
        fprintf(stderr, "isoloop-tool frame: cannot write '%s': %s\n", a.out.c_str(), why.c_str());
        return 1;
    }
    struct Closer {
        FILE*& f;
        ~Closer() {
            if (f) fclose(f);
        }
    } closeOut{out};

    // The picture pack lies next to the tool, as it does next to the demo;
    // without it the picture would not be the show's.
    setWorkingDir(executablePath("").c_str());
    std::string packError;
    if (!showPackReady(&packError)) {
        fprintf(stderr, "isoloop-tool frame: %s\n", packError.c_str());
        return 1;
    }
    OffscreenGL gl(a.width, a.height);
    if (!gl.ok()) {
        fprintf(stderr, "isoloop-tool frame: no offscreen GL context: %s\n", gl.error().c_str());
        return 1;
    }
    // Start-up's console lines belong to the demo's console, not the tool's.
    runStartupQuietly(a.width, a.height);

    // A high burst pulse shows the strobe's usual black (its white frames are
    // a random 21 in 256).
    FramePlan plan = planScene(a.time, a.incs, a.funk, a.flexer, a.offset);
    // Scenes inherit state from the frame before: one warm-up frame of the
    // same scene gives the state of every frame but a segment's first.
    for (int pass = 0; pass < 2; pass++)
        drawPlan(plan);
    glFinish();
    std::string rgb = readPixelsTopDown(a.width, a.height);
    RgbaImage image(a.width, a.height);
    for (size_t i = 0; i < (size_t)a.width * a.height; i++) {
        for (int c = 0; c < 3; c++)
            image.px[4 * i + c] = (unsigned char)rgb[3 * i + c];
        image.px[4 * i + 3] = 255;
    }
    std::string error, failed;
    bool written = writePngTo(out, a.out, image, false, &error);
    FILE* f = out;
    out = nullptr;
    if (!written) {
        fclose(f);
        fprintf(stderr, "isoloop-tool frame: %s\n", error.c_str());
        return 1;
    }
    if (!closeOutput(f, &why) || !outputs.commit(&failed)) {
        if (why.empty()) why = std::strerror(errno);
        fprintf(stderr, "isoloop-tool frame: cannot write '%s': %s\n", a.out.c_str(), why.c_str());
        return 1;
    }
    return 0;
}
