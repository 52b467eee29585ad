// The feedback comb: the exact loop length, the gain drift's first
// redraw, and the cutoff sweep that resonators share.
#include "synth/resonator.h"

#include "music_helpers.h"
#include "synth/random.h"

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
    std::vector<short> buf(2 * 19999, 0);
    short one[2] = {0, 0};
    r.process(buf.data(), 2 * 7999);
    EXPECT_EQ(r.gainStep, 0.00001);
    EXPECT_EQ(random_seed, 212328912u) << "no draw before the period ends";
    r.process(one, 2);
    // The first two draws from the initial seed: 14240460, then 10124704.
    EXPECT_EQ(r.period, 20000) << "(14240460 mod 8) * 4000 + 4000";
    EXPECT_EQ(r.gainStep, ((double)(10124704.0f / 18409200.0f) * 0.9 + 0.1) * 0.00001);
    EXPECT_EQ(r.count, 0);
    EXPECT_EQ(random_seed, 10124704u);
    r.process(buf.data(), 2 * 19999);
    EXPECT_EQ(random_seed, 10124704u);
    r.process(one, 2);
    EXPECT_NE(random_seed, 10124704u) << "the next period ends 20000 frames later";
}

// The resonator over the test signal must give the same samples alone, after
// a decoy resonator over each block (in lockstep or at another phase: the
// shared sweep must not leak between them), and split into odd-sized calls.
TEST(ResonatorSweep, MatchesGoldenAloneAfterADecoyAndInOddSizedCalls) {
    struct {
        bool decoy;
        double decoyPhase;
        std::vector<size_t> sizes;
    } cases[] = {{false, 0, {4000}},
                 {true, 0, {4000}},
                 {true, 0.25, {4000}},
                 {false, 0, {2, 14, 9000, 3998, 8002, 6}}};
    for (auto& c : cases) {
        random_seed = 212328912u;
        Resonator r(321, 0.0f), other(463, 0.321f);
        other.sweepPhase = c.decoyPhase;
        std::vector<short> sig = testSignal(40000);
        for (size_t at = 0, k = 0; at < sig.size();) {
            size_t n = std::min(c.sizes[k++ % c.sizes.size()], sig.size() - at);
            if (c.decoy) {
                std::vector<short> copy(sig.begin() + at, sig.begin() + at + n);
                unsigned int seed = random_seed; // the decoy's redraws stay its own
                other.process(copy.data(), (unsigned int)n);
                random_seed = seed;
            }
            r.process(sig.data() + at, (unsigned int)n);
            at += n;
        }
        expectGoldenSamples("resonator", sig, 0x7f14fd07e03354deull);
    }
}
