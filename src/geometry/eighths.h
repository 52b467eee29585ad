// Tables over the points the polygonizer passes to a shape function: every
// coordinate it uses is a multiple of 1/8 in [-16, 16) (grid points, and
// probes at n/8 along an edge). A term of one coordinate is computed once per
// such value, with the very expression the shape uses, so a lookup is exact.
#pragma once
#include <cmath>
#include <cstdint>
#include <cstring>

// Index 0..255 of v = k/8 (k in -128..127), or -1 for any other value,
// including -0.0 (the tables hold the terms of +0.0).
inline int eighthIndex(double v) {
    double t = v * 8.0; // exact: a power-of-two scale
    if (!(std::fabs(t + 0.5) <= 127.5)) return -1;
    int k = static_cast<int>(t);
    // Equal bits: t is the integer k, and not -0.0.
    double back = k;
    uint64_t a, b;
    std::memcpy(&a, &back, sizeof a);
    std::memcpy(&b, &t, sizeof b);
    return a == b ? k + 128 : -1;
}

// term(v) for the 256 tabulated values v = (i - 128) / 8, by index i.
template <typename T, T (*term)(double)> struct eighthTable {
    T value[256];
    eighthTable() {
        for (int i = 0; i < 256; i++)
            value[i] = term((i - 128) / 8.0);
    }
    T operator[](int i) const { return value[i]; }
};
