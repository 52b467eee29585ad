// SDL 1.2 on this platform leaves main to the program: hand over to SDL_main.
#include "app/sdl/sdl_main.h"
#include "base/console.h"

namespace {
// Before any static object or library of the demo's own can open a descriptor.
__attribute__((constructor(101))) void detachEarly() {
    detachFromStandardStreams();
}
} // namespace

int main(int argc, char** argv) {
    return SDL_main(argc, argv);
}
