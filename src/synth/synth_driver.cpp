// Stand-in synthesizer: renders silence and advances the sample clock, so the
// frame driver's timeline runs before the voices exist.
#include "synth/synth.h"

#include "synth/events.h"
#include <cstring>

void updateSynth(short* buf, int count) {
    if (!buf) return;
    std::memset(buf, 0, sizeof(short) * (count > 0 ? count : 0));
    g_bufferPos += count / 2;
}
