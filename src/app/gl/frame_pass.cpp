#include "app/gl/frame_pass.h"

#include "scenes/gl/scene_table.h"
#include <GL/gl.h>

FramePlan drawFrame(double t, uint64_t readPos) {
    FramePlan plan = planFrame(t, readPos);
    drawPlan(plan);
    return plan;
}

void drawPlan(const FramePlan& plan) {
    glColor3f(plan.colour[0], plan.colour[1], plan.colour[2]);
    drawScene(plan);
}
