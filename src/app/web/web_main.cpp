// The demo's entry in a browser. The page owns the loop: each animation frame
// is one pass. Start-up runs as its steps, one per pass, so the loading
// picture is on screen while the textures and the solids are made (in line:
// no second thread); then every pass drains the events and draws one frame,
// as the native main loop does. A hidden tab stops the clock and the sound
// together, so the show resumes where it was; the sound reopens only after
// the first frame back has refilled the ring.
#include "app/frame_driver.h"
#include "app/gl/startup_steps.h"
#include "app/sdl/display.h"
#include "app/sdl/luz.h"
#include "app/web/show_end.h"
#include "app/web/web_capture.h"
#include "base/working_dir.h"
#include "synth/ring.h"
#include "synth/sdl/audio_device.h"
#include <SDL.h>
#include <cmath>
#include <cstring>
#include <emscripten.h>
#include <emscripten/html5.h>

EM_JS(void, setQueuedBuffers, (int n), { Module['SDL_numSimultaneouslyQueuedBuffers'] = n; });

namespace {

// SDL's browser audio pulls this many 2048-frame buffers ahead of what is
// heard (five by default). Right after a refill the ring holds at least 6001
// frames past the device's position, so two (4096 frames) never reach a slot
// the frame driver has not refilled, even when the queue fills at once (when
// the sound starts); only a frame slower than the ring's lead underruns, as
// natively.
const int kQueuedBuffers = 2;

bool s_hidden = false;      // the tab is hidden
bool s_soundOpen = false;   // SDL's device is open and playing
bool s_reopenSound = false; // closed while hidden: reopens after the next refill
double s_hiddenSince = 0;   // SDL clock seconds when it was hidden

// What the tests and the benchmark read through the isoweb_* hooks below;
// counting only, nothing here steers the show.
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

void webMixaudio(void* user, unsigned char* stream, int len) {
    s_callbacks += 1;
    uint64_t readPos = audio_readPos.load(std::memory_order_relaxed);
    // The first second is start-up: the ring's first blocks come with the first frame.
    if (readPos >= 44100) {
        double lead = (double)(readPos + (uint64_t)(len / 4)) - (double)audio_writePos;
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
    mixaudio(user, stream, len);
}

int openSound() {
    setQueuedBuffers(kQueuedBuffers);
    if (initAudio(webMixaudio) != 0) return 1;
    SDL_PauseAudio(0);
    s_soundOpen = true;
    return 0;
}

// Closed, not paused: a paused browser device keeps some of its timers and
// pulls on in a busy loop.
void closeSound() {
    if (s_soundOpen) SDL_CloseAudio();
    s_soundOpen = false;
}

class WebStartup : public Startup {
  public:
    using Startup::Startup;

  protected:
    int startAudio() override { return openSound(); }
};

WebStartup* s_startup = nullptr; // until start-up is done

double clockSeconds() {
    return ticksToSeconds(tickCount(SDL_GetTicks()));
}

void stopSound() {
    s_reopenSound = false;
    closeSound();
}

EM_JS(void, tellPageFailed, (const char* what), {
    if (Module.isowebFailed) Module.isowebFailed(UTF8ToString(what));
});

void fail(const char* what) {
    tellPageFailed(what);
    isowebShowEnded();
}

void pass() {
    if (s_startup) {
        if (s_startup->step() != 0) {
            delete s_startup;
            s_startup = nullptr;
            fail("The sound could not be started.");
            return;
        }
        if (s_startup->next() == Startup::DONE) {
            delete s_startup;
            s_startup = nullptr;
        }
        return;
    }
    if (!handleEvents()) {
        isowebShowEnded();
        return;
    }
    luz();
    if (s_reopenSound) {
        // The ring was just refilled: the device starts inside its lead.
        s_reopenSound = false;
        if (openSound() != 0) fail("The sound could not be started again.");
    }
    double now = emscripten_get_now();
    if (s_lastFrameMs > 0 && now - s_lastFrameMs > s_longestGapMs)
        s_longestGapMs = now - s_lastFrameMs;
    s_lastGapMs = s_lastFrameMs > 0 ? now - s_lastFrameMs : 0;
    s_lastFrameMs = now;
    s_framesDrawn += 1;
}

EM_BOOL onVisibility(int, const EmscriptenVisibilityChangeEvent* e, void*) {
    if (e->hidden && !s_hidden) {
        s_hidden = true;
        s_hiddenSince = clockSeconds();
        if (s_soundOpen) s_reopenSound = true;
        closeSound();
        emscripten_pause_main_loop();
    } else if (!e->hidden && s_hidden) {
        // Demo time stands still while nobody watches or listens.
        startTick += clockSeconds() - s_hiddenSince;
        s_hidden = false;
        s_lastFrameMs = 0;
        emscripten_resume_main_loop();
    }
    return EM_TRUE;
}

} // namespace

// Observation hooks for the browser tests and the frame-rate benchmark.
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

int main(int argc, char** argv) {
    setWorkingDir("."); // the page puts the picture pack in the working directory
    if (argc > 1 && std::strcmp(argv[1], "capture") == 0) return runWebCapture(argc - 2, argv + 2);
    if (startVideo() != 0 || createSurface(0) != 0) {
        fail("The display could not be opened.");
        return 1;
    }
    isowebOnShowEnd(stopSound);
    emscripten_set_visibilitychange_callback(nullptr, EM_FALSE, onVisibility);
    s_startup = new WebStartup(gScreen->w, gScreen->h);
    emscripten_set_main_loop(pass, 0, 0);
    return 0;
}
