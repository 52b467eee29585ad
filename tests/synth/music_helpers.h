// Helpers for the synthesizer tests: rendering the music stream in chosen
// call sizes, collecting its events in posting order, and a test signal.
#pragma once
#include "synth/events.h"
#include "synth/synth.h"

#include <cstdint>
#include <cstdio>
#include <vector>

// Renders `frames` stereo frames from the current synthesizer state with
// updateSynth calls of the given sample counts (cycled; each even).
// Events posted meanwhile are moved to `events` in posting order: within one
// call the set holds the bursts first, then the drum hits, each in time order.
inline std::vector<short> renderMusic(unsigned int frames, std::vector<int> callSizes,
                                      std::vector<Event>* events = nullptr) {
    std::vector<short> out(2 * (size_t)frames);
    size_t done = 0, k = 0;
    while (done < out.size()) {
        size_t n = (size_t)callSizes[k++ % callSizes.size()];
        if (n > out.size() - done) n = out.size() - done;
        updateSynth(out.data() + done, (int)n);
        done += n;
        if (events) events->insert(events->end(), g_events.begin(), g_events.end());
        g_events.clear();
    }
    return out;
}

// A deterministic stereo test signal: noise bursts over a slow square wave.
inline std::vector<short> testSignal(unsigned int frames) {
    std::vector<short> s(2 * (size_t)frames);
    uint32_t x = 987654321u;
    for (size_t i = 0; i < s.size(); i++) {
        x = x * 1664525u + 1013904223u;
        int noise = (int)(x >> 20) - 2048;
        int square = ((i / 2) / 300) % 2 ? 9000 : -9000;
        bool burst = ((i / 2) % 7000) < 1500;
        s[i] = (short)(square + (burst ? noise * 8 : 0));
    }
    return s;
}

// Index of the first difference, or -1.
template <typename T> long firstDifference(const std::vector<T>& a, const std::vector<T>& b) {
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; i++)
        if (!(a[i] == b[i])) return (long)i;
    return a.size() == b.size() ? -1 : (long)n;
}
