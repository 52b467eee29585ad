// The SDL audio device: 44100 Hz, S16LSB stereo, 2048-frame device buffer,
// pulled by mixaudio on SDL's audio thread.
#pragma once

void mixaudio(void* userdata, unsigned char* stream, int len);

// Opens the device, paused, with callback pulling it (mixaudio, or a host's
// wrapper around it); 0, or 1 with the message printed.
int initAudio(void (*callback)(void*, unsigned char*, int) = mixaudio);
