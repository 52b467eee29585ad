// Opens the sound device; the callback only forwards to the ring reader.
#include "synth/sdl/audio_device.h"

#include "synth/ring.h"
#include <SDL.h>
#include <cstdio>

void mixaudio(void*, unsigned char* stream, int len) {
    ringRead(stream, len);
}

int initAudio(void (*callback)(void*, unsigned char*, int)) {
    SDL_AudioSpec desired;
    desired.freq = 44100;
    desired.format = AUDIO_S16LSB;
    desired.channels = 2;
    desired.samples = 2048;
    desired.callback = callback;
    desired.userdata = nullptr;
    if (SDL_OpenAudio(&desired, nullptr) < 0) {
        fprintf(stderr, "Unable to open audio: %s\n", SDL_GetError());
        return 1;
    }
    return 0;
}
