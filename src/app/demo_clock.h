// The demo's millisecond clock: SDL's 32-bit millisecond readings, which wrap
// every 49.7 days, counted on in 64 bits, and the count turned into seconds.
// Plain code; the caller reads SDL. Main thread.
#pragma once
#include <cstdint>

// The count of milliseconds after this reading: grows by the reading's step
// since the last call, across the 32-bit wrap. A reading that steps back is
// held at the count reached.
uint64_t tickCount(uint32_t reading);

// Resumes the count at ms, as if the last reading had been ms mod 2^32.
void placeTickCount(uint64_t ms);

// Seconds of a millisecond count: ms as float / 1000 in single precision,
// widened, below 16384000 ms (4.55 h); ms / 1000 in double from there on.
double ticksToSeconds(uint64_t ms);
