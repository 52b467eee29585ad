// Millisecond count and its seconds. Below 2^14 s the clock is the count as a
// float divided by 1000 in single precision; its step is 2^-10 s or finer there,
// so every millisecond still moves it. From 2^14 s on its step would be 2^-9 s
// and coarser (31 ms from 72.8 h), so the count is divided in double, which keeps
// the millisecond for 2^52 ms. At 16384000 ms both give exactly 16384.0: the
// clock joins without a step and stays strictly increasing.
#include "app/demo_clock.h"

static uint32_t s_lastReading = 0; // main thread
static uint64_t s_count = 0;       // milliseconds, never wraps

uint64_t tickCount(uint32_t reading) {
    // The step modulo 2^32 is right across the wrap; frames read the clock
    // far more often than every 24.8 days, so a negative step is a reading
    // out of order, not a lap.
    int32_t step = (int32_t)(reading - s_lastReading);
    if (step > 0) {
        s_count += (uint64_t)step;
        s_lastReading = reading;
    }
    return s_count;
}

void placeTickCount(uint64_t ms) {
    s_count = ms;
    s_lastReading = (uint32_t)ms;
}

double ticksToSeconds(uint64_t ms) {
    const uint64_t kDoubleFrom = 16384000; // 2^14 s
    if (ms < kDoubleFrom) return (double)((float)ms / 1000.0f);
    return (double)ms / 1000.0;
}
