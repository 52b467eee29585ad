// Helpers for the synthesizer tests: the music stream rendered in chosen
// call sizes with its events in posting order, and golden hash checks.
#pragma once
#include "golden.h"
#include "synth/events.h"
#include "synth/synth_driver.h"

#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <vector>

// `frames` stereo frames from the current state, in updateSynth calls of the
// given sample counts (cycled).
inline std::vector<short> renderMusic(unsigned int frames, std::vector<int> callSizes,
                                      std::vector<Event>* events = nullptr) {
    std::vector<short> out(2 * (size_t)frames);
    for (size_t done = 0, k = 0; done < out.size();) {
        size_t n = std::min((size_t)callSizes[k++ % callSizes.size()], out.size() - done);
        updateSynth(out.data() + done, (int)n);
        done += n;
        if (events) events->insert(events->end(), g_events.begin(), g_events.end());
        g_events.clear();
    }
    return out;
}

inline bool operator==(const Event& a, const Event& b) {
    return a.type == b.type && a.time == b.time;
}

// On mismatch saves the samples as "<name>.actual".
inline void expectGoldenSamples(const char* name, const std::vector<short>& s, uint64_t golden) {
    uint64_t h = fnv1a(s.data(), s.size() * sizeof(short));
    if (savingGoldens()) std::printf("golden %s: 0x%016llxull\n", name, (unsigned long long)h);
    if (h != golden)
        ADD_FAILURE() << name << " differs from its golden hash; actual samples in "
                      << saveActual(name, s.data(), s.size() * sizeof(short));
}
