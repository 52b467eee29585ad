// The frame driver's GL/SDL side: reads the clock and the play position,
// lets the bookkeeping plan the frame, sets the colour, draws, swaps.
#include "app/frame_pass.h"
#include "app/startup.h"
#include "scenes/scenes.h"
#include "synth/ring.h"
#include <GL/gl.h>

FramePlan drawFrame(double t, uint64_t readPos) {
    FramePlan plan = planFrame(t, readPos);
    glColor3f(plan.colour[0], plan.colour[1], plan.colour[2]);
    drawScene(plan);
    return plan;
}

void luz() {
    double t = ticksToSeconds(tickCount(SDL_GetTicks())) - startTick;
    drawFrame(t, audio_readPos.load(std::memory_order_acquire));
    SDL_GL_SwapBuffers();
}
