// The SDL audio device: 44100 Hz, S16LSB stereo, 2048-frame device buffer,
// pulled by mixaudio on SDL's audio thread.
#pragma once

int initAudio();
void mixaudio(void* userdata, unsigned char* stream, int len);
