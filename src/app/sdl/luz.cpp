#include "app/sdl/luz.h"

#include "app/gl/frame_pass.h"
#include "synth/ring.h"
#include <SDL.h>

void luz() {
    double t = ticksToSeconds(tickCount(SDL_GetTicks())) - startTick;
    drawFrame(t, audio_readPos.load(std::memory_order_acquire));
    SDL_GL_SwapBuffers();
}
