#include "app/web/show_end.h"

#include <emscripten.h>

static void (*stopHook)() = nullptr;
static bool ended = false;

void isowebOnShowEnd(void (*stop)()) {
    stopHook = stop;
}

static void stopAll() {
    if (ended) return;
    ended = true;
    emscripten_cancel_main_loop();
    if (stopHook) stopHook();
}

void isowebShowEnded() {
    stopAll();
    EM_ASM(if (Module.isowebEnded) Module.isowebEnded(););
}

void isowebShowFailed(const char* sentence) {
    stopAll();
    EM_ASM(if (Module.isowebFailed) Module.isowebFailed(UTF8ToString($0));, sentence);
}

// Exported to the page, which ends the show on Escape.
extern "C" EMSCRIPTEN_KEEPALIVE void isoweb_end_show() {
    stopAll();
}
