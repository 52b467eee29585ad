// Stand-in scenes until the real ones land: each slot clears to its own colour.
#include "scenes/scenes.h"

#include <GL/gl.h>

void drawScene(const FramePlan& plan) {
    static const float colours[6][3] = {{0.8f, 0.1f, 0.1f}, {0.1f, 0.8f, 0.1f}, {0.1f, 0.1f, 0.8f},
                                        {0.8f, 0.8f, 0.1f}, {0.1f, 0.8f, 0.8f}, {0.8f, 0.1f, 0.8f}};
    if (plan.scene < 0 || plan.scene > 5) return;
    const float* c = colours[plan.scene];
    glClearColor(c[0], c[1], c[2], 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}
