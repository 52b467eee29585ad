// The synthesizer's entry point: renders count interleaved stereo samples.
#pragma once

void updateSynth(short* buf, int count);
