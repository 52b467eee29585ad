// The pitched drum: a cosine whose pitch and volume fall exponentially,
// restarted every 64001, 128001 or 192001 frames with a random pitch.
// Main thread (inside updateSynth).
#pragma once

// Adds the drum to count interleaved stereo samples (count / 2 frames) in
// place, clipping, and posts a type-1 event at the first frame of every hit.
void drum(short* buf, int count);
