// The lead voice: back-to-back decaying bursts of noise blended with a sine,
// timed by a four-mode random rhythm, then coloured in stereo by two echo
// lines and two swept resonant low-passes. Main thread (inside updateSynth).
#pragma once

// Writes count interleaved stereo samples (count / 2 frames) at buf and posts
// a type-0 event at the first frame of every burst.
void burst(short* buf, unsigned int count);

// The rhythm table, applied at a burst start after the mode draw: returns the
// burst length in frames for `mode`, sets the next mode-change probability p
// and counts the bursts of modes 2 and 3 in beatidx. Modes 0, 1 and (when
// beatidx mod 3 is 0) 3 draw from the shared generator.
int modeBurstLength(int mode, int& beatidx, float& p);

// What a channel of the colour pass feeds back into its echo line, from its
// dry-minus-echo value m: clip(truncate(m * 0.9)), single precision.
short echoFeed(int m);

// The slow modulation phase of the colour pass, one frame on: + 0.0001 in
// double, kept as float, so it stalls once it reaches 2048.
float nextColourPhase(float phase0);
