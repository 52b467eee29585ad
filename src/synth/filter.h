// Two-pole resonant low-pass on 16-bit samples at 44100 Hz. Cutoff in Hz,
// resonance as a damping term (smaller is sharper); both may change every
// sample. Main thread; no allocation.
#pragma once

// The five coefficients a filter recomputes from its cutoff and resonance
// terms at every sample. Filters that share c and r share them too.
struct FilterCoeffs {
    float a1, a2, a3, b1, b2;
};

// a1 = 1 / (r c + 1 + c c), b1 = 2 (1 - c c) a1, b2 = (1 - r c + c c) a1.
FilterCoeffs filterCoeffs(float c, float r);

// c = 1 / tan(3.1415825 f / 44100) for a cutoff f in Hz.
float cutoffTerm(float f);

// y[n] = a1 x[n] + a2 x[n-1] + a3 x[n-2] - b1 y[n-1] - b2 y[n-2], x and y in
// units of full scale (sample / 32768).
class Filter {
  public:
    float a1, a2, a3;
    float b1, b2;
    float in1, in2;
    float out1, out2;
    float c; // cutoff term, see cutoffTerm
    float r; // resonance term

    Filter();
    void setFreq(float f) { c = cutoffTerm(f); }
    void setRes(float res) { r = res; }
    void setCutoffTerm(float term) { c = term; }
    short filter(short s) { return filterWith(filterCoeffs(c, r), s); }
    // filter() with coefficients already computed from this filter's c and r.
    inline short filterWith(const FilterCoeffs& k, short s);
};

// Float to sample: truncation toward zero, then clipping to +-32767. Values
// beyond the int range (or NaN, from a cutoff of 0 Hz) saturate instead of
// reaching an undefined conversion.
inline short truncClip(float v) {
    if (v >= 32767.0f) return 32767;
    if (v <= -32767.0f) return -32767;
    if (v != v) return 0;
    return (short)(int)v;
}

short Filter::filterWith(const FilterCoeffs& k, short s) {
    float x = (float)s / 32768.0f;
    a1 = k.a1;
    a2 = k.a2;
    a3 = k.a3;
    b1 = k.b1;
    b2 = k.b2;
    float y = a1 * x + a2 * in1 + a3 * in2 - b1 * out1 - b2 * out2;
    in2 = in1;
    in1 = x;
    out2 = out1;
    out1 = y;
    return truncClip(y * 32768.0f);
}
