// Sample arithmetic shared by every voice: signed 16-bit samples, full scale
// +-32767 (the value -32768 never comes out of clip).
#pragma once

// Inline: every voice and resonator clips each sample it writes.
inline short clip(int v) {
    if (v > 32767) return 32767;
    if (v < -32767) return -32767;
    return (short)v;
}

// dst[i] = clip(truncate(dst[i] + src[i] * gain)), in single precision.
void mix(short* dst, const short* src, float gain, int count);
