// Helpers for the synthesizer tests: rendering the music stream in chosen
// call sizes with its events in posting order, a test signal, float bits
// and golden hash checks of sample streams.
#pragma once
#include "golden.h"
#include "synth/events.h"
#include "synth/synth.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <ostream>
#include <vector>

// Renders `frames` stereo frames from the current synthesizer state with
// updateSynth calls of the given sample counts (cycled; each even).
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

// A deterministic stereo test signal: noise bursts over a slow square wave.
inline std::vector<short> testSignal(unsigned int frames) {
    std::vector<short> s(2 * (size_t)frames);
    uint32_t x = 987654321u;
    for (size_t i = 0; i < s.size(); i++) {
        x = x * 1664525u + 1013904223u;
        int noise = (int)(x >> 20) - 2048;
        int square = ((i / 2) / 300) % 2 ? 9000 : -9000;
        s[i] = (short)(square + (((i / 2) % 7000) < 1500 ? noise * 8 : 0));
    }
    return s;
}

inline bool operator==(const Event& a, const Event& b) {
    return a.type == b.type && a.time == b.time;
}
inline std::ostream& operator<<(std::ostream& o, const Event& e) {
    return o << "{" << e.type << ", " << e.time << "}";
}

inline uint32_t bits(float f) {
    uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

// Compares the hash of a sample stream with its golden value; on mismatch
// saves the samples as "<name>.actual".
inline void expectGoldenSamples(const char* name, const std::vector<short>& s, uint64_t golden) {
    uint64_t h = fnv1a(s.data(), s.size() * sizeof(short));
    if (savingGoldens()) std::printf("golden %s: 0x%016llxull\n", name, (unsigned long long)h);
    if (h != golden)
        ADD_FAILURE() << name << " differs from its golden hash; actual samples in "
                      << saveActual(name, s.data(), s.size() * sizeof(short));
}
