// The demo's entry in a browser. The page owns the loop: each animation frame
// is one pass. Start-up runs as its steps, one per pass, so the loading
// picture is on screen while the textures and the solids are made (in line:
// no second thread); then every pass drains the events and draws one frame,
// as the native main loop does. A hidden tab stops the clock and the sound
// together, so the show resumes where it was; the sound reopens only after
// the first frame back has refilled the ring. The page sizes the canvas (a
// 4:3 picture at the screen's pixels, smaller when frames come slowly): the
// display takes the canvas's size, and a pass drawn after the page changed it
// draws at the new size.
#include "app/frame_driver.h"
#include "app/gl/startup_steps.h"
#include "app/sdl/display.h"
#include "app/sdl/luz.h"
#include "app/web/draw_size.h"
#include "app/web/show_end.h"
#include "app/web/web_capture.h"
#include "app/web/web_probe_hooks.h"
#include "base/working_dir.h"
#include "synth/ring.h"
#include "synth/sdl/audio_device.h"
#include <SDL.h>
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

void webMixaudio(void* user, unsigned char* stream, int len) {
    probeSoundPull(len / 4);
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

void pass() {
    if (s_startup) {
        if (s_startup->step() != 0) {
            delete s_startup;
            s_startup = nullptr;
            isowebShowFailed("The sound could not be started.");
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
    followCanvasSize();
    probeRingRefill();
    luz();
    if (s_reopenSound) {
        // The ring was just refilled: the device starts inside its lead.
        s_reopenSound = false;
        if (openSound() != 0) isowebShowFailed("The sound could not be started again.");
    }
    probeFrameDrawn();
}

EM_BOOL onVisibility(int, const EmscriptenVisibilityChangeEvent* e, void*) {
    if (e->hidden && !s_hidden) {
        s_hidden = true;
        s_hiddenSince = clockSeconds();
        probeHidden(s_hiddenSince);
        if (s_soundOpen) s_reopenSound = true;
        closeSound();
        emscripten_pause_main_loop();
    } else if (!e->hidden && s_hidden) {
        // Demo time stands still while nobody watches or listens.
        startTick += clockSeconds() - s_hiddenSince;
        s_hidden = false;
        probeShown();
        emscripten_resume_main_loop();
    }
    return EM_TRUE;
}

} // namespace

int main(int argc, char** argv) {
    setWorkingDir("."); // the page puts the picture pack in the working directory
    if (argc > 1 && std::strcmp(argv[1], "capture") == 0) return runWebCapture(argc - 2, argv + 2);
    if (startVideo() != 0 || createSurface(0, 0, 0) != 0) {
        isowebShowFailed("The display could not be opened.");
        return 1;
    }
    isowebOnShowEnd(stopSound);
    emscripten_set_visibilitychange_callback(nullptr, EM_FALSE, onVisibility);
    startDrawSize(gScreen->w, gScreen->h);
    s_startup = new WebStartup(gScreen->w, gScreen->h);
    emscripten_set_main_loop(pass, 0, 0);
    return 0;
}
