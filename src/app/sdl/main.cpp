// SDL 1.2 on this platform leaves main to the program: hand over to SDL_main.
#include "app/sdl/sdl_main.h"

int main(int argc, char** argv) {
    return SDL_main(argc, argv);
}
