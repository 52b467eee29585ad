// The synth driver: renders one block of the music as
// clip(R3(R2(R1(clip(B + D)))) + B), B the burst voice, D the drum, R1..R3 the
// resonators, and advances the sample clock. Main thread only; no allocation
// after the first call.
#include "synth/synth_driver.h"

#include "synth/burst.h"
#include "synth/drum.h"
#include "synth/events.h"
#include "synth/resonator.h"
#include "synth/sample.h"
#include <cstring>

const int kDrySamples = 8000;

Resonator resonator(321, 0.0f);      // 7.3 ms loop, main thread
Resonator resonator2(463, 0.321f);   // 10.5 ms loop, main thread
Resonator resonator3(12432, 0.431f); // 281.9 ms loop, main thread
static short buffer2[kDrySamples];   // dry lead voice of the current piece, main thread

// One piece of at most kDrySamples samples.
static void renderPiece(short* buf, int count) {
    std::memset(buf, 0, sizeof(short) * (size_t)count);
    burst(buf, (unsigned int)count);
    std::memcpy(buffer2, buf, sizeof(short) * (size_t)count);
    drum(buf, count);
    resonator.process(buf, (unsigned int)count);
    resonator2.process(buf, (unsigned int)count);
    resonator3.process(buf, (unsigned int)count);
    mix(buf, buffer2, 1.0f, count);
    g_bufferPos += (unsigned int)(count / 2);
}

void updateSynth(short* buf, int count) {
    if (!buf) return;
    if (count < 0) count = 0;
    // buffer2 holds 8000 samples: a longer request is rendered as consecutive
    // calls of at most 8000 samples would render it. (The voices draw from the
    // generator block by block, so the piece size is part of the music.)
    do {
        int piece = count < kDrySamples ? count : kDrySamples;
        renderPiece(buf, piece);
        buf += piece;
        count -= piece;
    } while (count > 0);
}
