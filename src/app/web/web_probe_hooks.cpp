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
// Pulls past the written ring with no slow frame to explain them (see
// probeSoundPull).
double s_unexplainedStale = 0;
double s_refillMs = 0;       // when the frame driver last refilled the ring
double s_refillDeviceMs = 0; // the sound device's clock then (-1: none)
double s_refillGapMs = 0;    // time between the last two refills
double s_longestGapMs = 0;   // longest time between two show frames, hidden time aside
bool s_hidden = false;
double s_hiddenSince = 0; // SDL clock seconds

double clockSeconds() {
    return ticksToSeconds(tickCount(SDL_GetTicks()));
}

// Two device buffers of 2048 frames (92.9 ms): after a refill the ring holds
// at least 6001 frames past the device's position, and the device keeps its
// queue full to within one buffer, so a third pull before the next refill
// needs at least this much played since the refill.
const double kSlowMs = 2 * 2048 * 1000.0 / 44100;

// The time of SDL's browser audio device (its Web Audio clock), ms; -1 when
// it has none.
EM_JS(double, deviceClockMs, (), {
    return typeof SDL == 'object' && SDL.audioContext ? SDL.audioContext.currentTime * 1000 : -1;
});

} // namespace

void probeSoundPull(int frames) {
    s_callbacks += 1;
    uint64_t readPos = audio_readPos.load(std::memory_order_relaxed);
    // The first second is start-up: the ring's first blocks come with the first frame.
    if (readPos < 44100) return;
    double lead = (double)(readPos + (uint64_t)frames) - (double)audio_writePos;
    if (lead > 0) {
        s_stalePulls += 1;
        // A frame slower than the ring's lead explains it, as natively: the
        // page's clock or the device's ran two buffers since the frame driver
        // last refilled the ring, or the refill before came that late (the
        // device catches up after an underrun).
        double device = deviceClockMs();
        bool slow = emscripten_get_now() - s_refillMs >= kSlowMs || s_refillGapMs >= kSlowMs ||
                    (device >= 0 && s_refillDeviceMs >= 0 && device - s_refillDeviceMs >= kSlowMs);
        if (!slow) s_unexplainedStale += 1;
    }
    if (lead > s_maxLead) {
        s_maxLead = lead;
        s_maxLeadAt = (double)readPos;
    }
}

void probeRingRefill() {
    double now = emscripten_get_now();
    s_refillGapMs = s_refillMs > 0 ? now - s_refillMs : 0;
    s_refillMs = now;
    s_refillDeviceMs = deviceClockMs();
}

void probeFrameDrawn() {
    double now = emscripten_get_now();
    if (s_lastFrameMs > 0 && now - s_lastFrameMs > s_longestGapMs)
        s_longestGapMs = now - s_lastFrameMs;
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
    s_refillMs = 0;
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
