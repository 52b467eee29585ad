// The feedback comb's gain drift: its first redraw comes after exactly 8000
// frames and draws the generator in the stated order.
#include "synth/resonator.h"

#include "music_helpers.h"
#include "synth/random.h"

TEST(Resonator, GainStepFirstChangesAfterExactly8000Frames) {
    Resonator r(321, 0.0f);
    std::vector<short> buf(2 * 19999, 0);
    short one[2] = {0, 0};
    r.process(buf.data(), 2 * 7999);
    EXPECT_EQ(r.gainStep, 0.00001);
    EXPECT_EQ(random_seed, 212328912u);
    r.process(one, 2);
    EXPECT_EQ(r.period, 20000) << "(14240460 mod 8) * 4000 + 4000";
    EXPECT_EQ(r.gainStep, ((double)(10124704.0f / 18409200.0f) * 0.9 + 0.1) * 0.00001);
    r.process(buf.data(), 2 * 19999);
    EXPECT_EQ(random_seed, 10124704u);
    r.process(one, 2);
    EXPECT_NE(random_seed, 10124704u) << "the next period ends 20000 frames later";
}
