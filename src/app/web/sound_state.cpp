#include "app/web/sound_state.h"

#include <emscripten.h>

extern "C" {
EMSCRIPTEN_KEEPALIVE int isoweb_sound_running() {
    return EM_ASM_INT({
        if (typeof SDL != 'object' || !SDL.audioContext) return -1;
        return SDL.audioContext.state == 'running' ? 1 : 0;
    });
}
EMSCRIPTEN_KEEPALIVE void isoweb_resume_sound() {
    EM_ASM({
        if (typeof SDL == 'object' && SDL.audioContext && SDL.audioContext.resume)
            SDL.audioContext.resume().catch(function(){});
    });
}
}
