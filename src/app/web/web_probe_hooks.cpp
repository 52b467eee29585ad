#include "app/web/web_probe_hooks.h"

#include "app/demo_clock.h"
#include "app/frame_driver.h"
#include "synth/ring.h"
#include <SDL.h>
#include <cmath>
#include <cstdint>
#include <emscripten.h>

namespace {

double s_framesDrawn = 0;
double s_callbacks = 0;
// Largest (end of a pull) - audio_writePos once a second of sound has played:
// above zero the device was handed a frame the frame driver had not written.
double s_maxLead = -INFINITY;
double s_maxLeadAt = 0;   // audio_readPos at that pull
double s_stalePulls = 0;  // pulls that ended past the last written frame
double s_lastFrameMs = 0; // when the last show frame was drawn
double s_lastGapMs = 0;   // time between the last two show frames
// Pulls past the written ring with no slow frame to explain them: the frames
// around the pull both came within two device buffers' time (92.9 ms).
double s_unexplainedStale = 0;
double s_longestGapMs = 0; // longest time between two show frames, hidden time aside
bool s_hidden = false;
double s_hiddenSince = 0; // SDL clock seconds

double clockSeconds() {
    return ticksToSeconds(tickCount(SDL_GetTicks()));
}

} // namespace

void probeSoundPull(int frames) {
    s_callbacks += 1;
    uint64_t readPos = audio_readPos.load(std::memory_order_relaxed);
    // The first second is start-up: the ring's first blocks come with the first frame.
    if (readPos < 44100) return;
    double lead = (double)(readPos + (uint64_t)frames) - (double)audio_writePos;
    if (lead > 0) {
        s_stalePulls += 1;
        const double slowMs = 2 * 2048 * 1000.0 / 44100;
        if (emscripten_get_now() - s_lastFrameMs < slowMs && s_lastGapMs < slowMs)
            s_unexplainedStale += 1;
    }
    if (lead > s_maxLead) {
        s_maxLead = lead;
        s_maxLeadAt = (double)readPos;
    }
}

void probeFrameDrawn() {
    double now = emscripten_get_now();
    if (s_lastFrameMs > 0 && now - s_lastFrameMs > s_longestGapMs)
        s_longestGapMs = now - s_lastFrameMs;
    s_lastGapMs = s_lastFrameMs > 0 ? now - s_lastFrameMs : 0;
    s_lastFrameMs = now;
    s_framesDrawn += 1;
}

void probeHidden(double clockSeconds) {
    s_hidden = true;
    s_hiddenSince = clockSeconds;
}

void probeShown() {
    s_hidden = false;
    s_lastFrameMs = 0;
}

extern "C" {
EMSCRIPTEN_KEEPALIVE double isoweb_frames() {
    return s_framesDrawn;
}
EMSCRIPTEN_KEEPALIVE double isoweb_unexplained_stale() {
    return s_unexplainedStale;
}
EMSCRIPTEN_KEEPALIVE double isoweb_callbacks() {
    return s_callbacks;
}
EMSCRIPTEN_KEEPALIVE double isoweb_read_pos() {
    return (double)audio_readPos.load();
}
EMSCRIPTEN_KEEPALIVE double isoweb_write_pos() {
    return (double)audio_writePos;
}
EMSCRIPTEN_KEEPALIVE double isoweb_max_lead() {
    return s_maxLead;
}
EMSCRIPTEN_KEEPALIVE double isoweb_max_lead_at() {
    return s_maxLeadAt;
}
EMSCRIPTEN_KEEPALIVE double isoweb_stale_pulls() {
    return s_stalePulls;
}
EMSCRIPTEN_KEEPALIVE double isoweb_longest_gap_ms() {
    return s_longestGapMs;
}
EMSCRIPTEN_KEEPALIVE int isoweb_incs() {
    return incs;
}
// Demo time as the next frame would see it: stands still while hidden.
EMSCRIPTEN_KEEPALIVE double isoweb_show_time() {
    return s_hidden ? s_hiddenSince - startTick : clockSeconds() - startTick;
}
}
