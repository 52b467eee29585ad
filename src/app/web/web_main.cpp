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
#include "app/web/show_end.h"
#include "app/web/web_capture.h"
#include "app/web/web_probe_hooks.h"
#include "base/working_dir.h"
#include "synth/ring.h"
#include "synth/sdl/audio_device.h"
#include <GL/gl.h>
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
int s_drawWidth = 0;        // the viewport's size: the canvas's when last looked
int s_drawHeight = 0;

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

// The page keeps the canvas at 4:3, so the projection (made for 4:3 at
// start-up) stays as it is and only the viewport follows the canvas.
void followCanvasSize() {
    int w = 0, h = 0;
    if (emscripten_get_canvas_element_size("#canvas", &w, &h) != EMSCRIPTEN_RESULT_SUCCESS) return;
    if (w == s_drawWidth && h == s_drawHeight) return;
    s_drawWidth = w;
    s_drawHeight = h;
    glViewport(0, 0, w, h);
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

extern "C" {
// The drawing size the show's frames use now (the tests compare it with the
// canvas's).
EMSCRIPTEN_KEEPALIVE int isoweb_draw_width() {
    return s_drawWidth;
}
EMSCRIPTEN_KEEPALIVE int isoweb_draw_height() {
    return s_drawHeight;
}
// Whether the browser's sound device runs: 1 running, 0 held back (its
// AudioContext suspended, as a browser does without a gesture or a device),
// -1 not opened yet.
EMSCRIPTEN_KEEPALIVE int isoweb_sound_running() {
    return EM_ASM_INT({
        if (typeof SDL != 'object' || !SDL.audioContext) return -1;
        return SDL.audioContext.state == 'running' ? 1 : 0;
    });
}
// Asks the browser again to run the sound (called from a click, which the
// browser may require).
EMSCRIPTEN_KEEPALIVE void isoweb_resume_sound() {
    EM_ASM({
        if (typeof SDL == 'object' && SDL.audioContext && SDL.audioContext.resume)
            SDL.audioContext.resume().catch(function(){});
    });
}
}

int main(int argc, char** argv) {
    setWorkingDir("."); // the page puts the picture pack in the working directory
    if (argc > 1 && std::strcmp(argv[1], "capture") == 0) return runWebCapture(argc - 2, argv + 2);
    if (startVideo() != 0 || createSurface(0, 0, 0) != 0) {
        isowebShowFailed("The display could not be opened.");
        return 1;
    }
    isowebOnShowEnd(stopSound);
    emscripten_set_visibilitychange_callback(nullptr, EM_FALSE, onVisibility);
    s_drawWidth = gScreen->w;
    s_drawHeight = gScreen->h;
    s_startup = new WebStartup(gScreen->w, gScreen->h);
    emscripten_set_main_loop(pass, 0, 0);
    return 0;
}
