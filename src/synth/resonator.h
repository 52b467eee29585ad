// Stereo feedback comb: per channel, the dry input at 0.4 plus the low-passed,
// gain-scaled output of `length` frames earlier. Cutoff (500..7500 Hz) and
// feedback gain (0.69..0.91) drift slowly; the gain's drift rate is redrawn
// from the shared generator every 4000..32000 frames. Main thread only.
#pragma once
#include "synth/delay_line.h"
#include "synth/filter.h"

// out[n] = clip(0.4 x[n] + lowpass(g[n] out[n - length]))
class Resonator {
  public:
    DelayLine delayRight;
    DelayLine delayLeft;
    Filter filterRight;
    Filter filterLeft;
    double sweepPhase; // radians
    double gainPhase;  // radians
    double gainStep;   // radians per frame, redrawn at the end of each period
    double sweepStep;  // radians per frame
    int count;         // frames since gainStep last changed
    int period;        // frames between changes of gainStep

    // The second argument is accepted and has no effect.
    Resonator(int length, float unused);
    virtual ~Resonator() = default;

    // Processes count interleaved stereo samples (count / 2 frames) in place.
    void process(short* buf, unsigned int count);

  private:
    // The samples of n frames with their loop-filter coefficients and
    // feedback gains; the caller brings the counters and filter terms along.
    void processRun(short* p, unsigned int n, const FilterCoeffs* k, const float* gain);
};
