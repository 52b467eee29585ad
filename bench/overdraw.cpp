// Overdraw per scene at 640 x 480 under Mesa: how many fragments each scene
// rasterizes in a frame (every one a fragment shader runs for, unless the
// depth test rejects it early) and how many pass the depth test, per pixel
// on screen. Counted in the stencil buffer of a framebuffer of our own (the
// demo never touches the stencil), each fragment incrementing its pixel's
// count; the frames are the frame tool's (a scene's drum-hit count at 30 s,
// a warm-up pass, then the counted one).
//   overdraw_bench   (the picture pack next to it)
#define GL_GLEXT_PROTOTYPES
#include "app/egl/offscreen_gl.h"
#include "app/frame_driver.h"
#include "app/gl/frame_pass.h"
#include "app/gl/startup_steps.h"
#include "base/working_dir.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <cstdio>
#include <vector>

namespace {

const int W = 640, H = 480;

struct Count {
    double fragments = 0; // per pixel on screen
    double covered = 0;   // share of pixels with at least one fragment
};

// One counted pass of the plan: `passed` counts only fragments that pass the
// depth test, else every fragment rasterized.
Count countPass(const FramePlan& plan, bool passed) {
    drawPlan(plan); // the frame before, whose state the scene inherits
    glClearStencil(0);
    glClear(GL_STENCIL_BUFFER_BIT);
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_ALWAYS, 0, 0xff);
    glStencilOp(GL_KEEP, passed ? GL_KEEP : GL_INCR, GL_INCR);
    drawPlan(plan);
    glDisable(GL_STENCIL_TEST);
    glFinish();
    std::vector<unsigned char> s((size_t)W * H);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, W, H, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE, s.data());
    Count c;
    for (unsigned char v : s) {
        c.fragments += v;
        c.covered += v > 0;
    }
    c.fragments /= (double)s.size();
    c.covered /= (double)s.size();
    return c;
}

} // namespace

int main() {
    OffscreenGL gl(W, H);
    if (!gl.ok()) {
        fprintf(stderr, "overdraw_bench: no offscreen GL context: %s\n", gl.error().c_str());
        return 1;
    }
    // The counts live in a framebuffer with a stencil buffer (the pbuffer has none).
    GLuint fbo = 0, colour = 0, depthStencil = 0;
    glGenFramebuffers(1, &fbo);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo);
    glGenRenderbuffers(1, &colour);
    glBindRenderbuffer(GL_RENDERBUFFER, colour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, W, H);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    glGenRenderbuffers(1, &depthStencil);
    glBindRenderbuffer(GL_RENDERBUFFER, depthStencil);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, W, H);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                              depthStencil);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        fprintf(stderr, "overdraw_bench: no framebuffer with a stencil buffer\n");
        return 1;
    }
    setWorkingDir(executablePath("").c_str());
    runStartupQuietly(W, H);

    static const struct {
        const char* name;
        int incs;
    } scenes[] = {{"tunnel", 5},   {"credits", 14}, {"scene 0", 22},
                  {"scene 3", 32}, {"scene 4", 42}, {"scene 5", 52}};
    printf("scene     fragments/pixel  depth-passed/pixel  pixels covered\n");
    for (const auto& s : scenes) {
        FramePlan plan = planScene(30.0, s.incs, 0, 0, 0);
        Count all = countPass(plan, false);
        Count passed = countPass(plan, true);
        printf("%-9s %15.2f %19.2f %14.1f%%\n", s.name, all.fragments, passed.fragments,
               all.covered * 100);
    }
    return 0;
}
