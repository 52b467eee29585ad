// The feedback comb: silence, the exact loop length, the gain drift's first
// redraw, and the cutoff sweep that resonators share.
#include "synth/resonator.h"

#include "golden.h"
#include "music_helpers.h"
#include "synth/random.h"
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

TEST(Resonator, SilenceInSilenceOut) {
    for (int length : {321, 463, 12432}) {
        Resonator r(length, 0.0f);
        std::vector<short> buf(2 * 30000, 0);
        r.process(buf.data(), (unsigned int)buf.size());
        EXPECT_EQ(firstDifference(buf, std::vector<short>(buf.size(), 0)), -1) << length;
    }
}

TEST(Resonator, ImpulseEchoesOnItsOwnChannelExactlyOneLoopLater) {
    Resonator r(50, 0.0f);
    std::vector<short> buf(2 * 200, 0);
    buf[0] = 10000; // left channel, frame 0
    r.process(buf.data(), (unsigned int)buf.size());
    EXPECT_EQ(buf[0], 4000) << "the dry path is 0.4";
    for (int k = 1; k < 50; k++)
        ASSERT_EQ(buf[2 * k], 0) << "frame " << k;
    EXPECT_GT(buf[2 * 50], 0) << "the echo arrives after 50 frames";
    for (int k = 0; k < 200; k++)
        ASSERT_EQ(buf[2 * k + 1], 0) << "the right channel stays silent, frame " << k;
}

TEST(Resonator, GainStepFirstChangesAfterExactly8000Frames) {
    Resonator r(321, 0.0f);
    std::vector<short> buf(2 * 7999, 0);
    unsigned int seed = random_seed;
    r.process(buf.data(), (unsigned int)buf.size());
    EXPECT_EQ(r.gainStep, 0.00001);
    EXPECT_EQ(random_seed, seed) << "no draw before the period ends";
    short one[2] = {0, 0};
    r.process(one, 2);
    // The first two draws from the initial seed: 14240460, then 10124704.
    EXPECT_EQ(r.period, (14240460 % 8) * 4000 + 4000);
    EXPECT_EQ(r.period, 20000);
    EXPECT_EQ(r.gainStep, ((double)(10124704.0f / 18409200.0f) * 0.9 + 0.1) * 0.00001);
    EXPECT_EQ(r.count, 0);
    EXPECT_EQ(random_seed, 10124704u);
    std::vector<short> more(2 * 19999, 0);
    r.process(more.data(), (unsigned int)more.size());
    EXPECT_EQ(random_seed, 10124704u);
    r.process(one, 2);
    EXPECT_NE(random_seed, 10124704u) << "the next period ends 20000 frames later";
}

// The resonator over the test signal, in blocks of 2000 frames, optionally
// with a decoy resonator over each block first.
static std::vector<short> runWithDecoy(bool decoy, double decoyPhase) {
    Resonator r(321, 0.0f);
    Resonator other(463, 0.321f);
    other.sweepPhase = decoyPhase;
    std::vector<short> sig = testSignal(40000);
    for (size_t at = 0; at < sig.size(); at += 4000) {
        if (decoy) {
            std::vector<short> copy(sig.begin() + at, sig.begin() + at + 4000);
            // The decoy's own gain redraws must not move the shared generator.
            unsigned int seed = random_seed;
            other.process(copy.data(), 4000);
            random_seed = seed;
        }
        r.process(sig.data() + at, 4000);
    }
    return sig;
}

static void expectResonatorGolden(const std::vector<short>& out) {
    uint64_t h = fnv1a(out.data(), out.size() * sizeof(short));
    if (savingGoldens()) printf("golden resonator: 0x%016llxull\n", (unsigned long long)h);
    const uint64_t golden = 0x7f14fd07e03354deull;
    if (h != golden) saveActual("resonator", out.data(), out.size() * sizeof(short));
    EXPECT_EQ(h, golden);
}

TEST(ResonatorSweep, AloneMatchesGolden) {
    expectResonatorGolden(runWithDecoy(false, 0));
}

TEST(ResonatorSweep, AfterAnotherResonatorInLockstepIsUnchanged) {
    expectResonatorGolden(runWithDecoy(true, 0));
}

TEST(ResonatorSweep, AfterAResonatorAtAnotherPhaseIsUnchanged) {
    expectResonatorGolden(runWithDecoy(true, 0.25));
}

TEST(ResonatorSweep, SplitIntoOddSizedCallsIsUnchanged) {
    Resonator r(321, 0.0f);
    std::vector<short> sig = testSignal(40000);
    const size_t sizes[] = {2, 14, 9000, 3998, 8002, 6};
    size_t at = 0;
    for (size_t k = 0; at < sig.size(); k++) {
        size_t n = std::min(sizes[k % 6], sig.size() - at);
        r.process(sig.data() + at, (unsigned int)n);
        at += n;
    }
    expectResonatorGolden(sig);
}
