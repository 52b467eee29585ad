// The capture's clock against its definitions, over an hour of video at the
// usual rates: readings, the first demo pass, the requests served before each
// pass (a request counts when made strictly before the pass) and the
// soundtrack's length. All exact: a drifting or rounding clock shows here.
#include "capture/capture_clock.h"
#include "capture/capture_text.h"

#include <gtest/gtest.h>
#include <string>

namespace {

struct HourCase {
    const char* name;
    const char* rate;
    int64_t firstDemo, silence, passes, soundtrack, lastRequests, lastMs;
};

class HourOfVideo : public ::testing::TestWithParam<HourCase> {};

TEST_P(HourOfVideo, MatchesTheDefinitionsAtEveryPass) {
    const HourCase& c = GetParam();
    Rate r;
    ASSERT_TRUE(parseRate(c.rate, &r));
    CaptureClock clock(r, 400);
    EXPECT_EQ(clock.firstDemoPass(), c.firstDemo);
    EXPECT_EQ(clock.silenceFrames(), c.silence);
    int64_t n = clock.passesFor(3600, 1);
    ASSERT_EQ(n, c.passes);
    EXPECT_EQ(clock.soundtrackFrames(n), c.soundtrack);
    EXPECT_EQ(clock.requestsBefore(n - 1), c.lastRequests);
    EXPECT_EQ(clock.passMs(n - 1), c.lastMs);

    // Step through the hour: pass j is at j b / a seconds; request k at
    // U + 2048 k / 44100 with U = j_f b / a. Compared by cross-multiplying.
    int64_t jf = clock.firstDemoPass(), k = 0, msNum = 0;
    for (int64_t j = 0; j < n; j++, msNum += 1000 * r.b) {
        ASSERT_EQ(clock.passMs(j), msNum / r.a) << j;
        ASSERT_EQ(clock.isLoading(j), msNum / r.a < 400) << j;
        // Request k is made before pass j: 2048 k a < (j - j_f) b 44100.
        while (j > jf && 2048 * k * r.a < (j - jf) * r.b * 44100)
            k++;
        ASSERT_EQ(clock.requestsBefore(j), k) << j;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rates, HourOfVideo,
    ::testing::Values(HourCase{"at60", "60", 24, 17640, 216000, 158760000, 77511, 3599983},
                      HourCase{"at30", "30", 12, 17640, 108000, 158760000, 77511, 3599966},
                      // NTSC: pass 24 reads 400 ms at 0.4004 s, so the silence is 17658 frames.
                      HourCase{"ntsc", "60000/1001", 24, 17658, 215785, 158760576, 77511, 3599996}),
    [](const ::testing::TestParamInfo<HourCase>& info) { return std::string(info.param.name); });

TEST(CaptureClock, EdgesOfTheLoadingTime) {
    Rate r;
    ASSERT_TRUE(parseRate("60", &r));
    // No loading: the device starts with pass 0 and takes its first request after it.
    CaptureClock none(r, 0);
    EXPECT_EQ(none.firstDemoPass(), 0);
    EXPECT_EQ(none.silenceFrames(), 0);
    EXPECT_EQ(none.requestsBefore(0), 0);
    EXPECT_EQ(none.requestsBefore(1), 1);
    // 401 ms at 60: pass 24 reads 400, still loading; 25 reads 416.
    CaptureClock late(r, 401);
    EXPECT_EQ(late.firstDemoPass(), 25);
    EXPECT_EQ(late.requestsBefore(25), 0);
    EXPECT_EQ(late.requestsBefore(26), 1);
    // At 5 passes a second one pass spans 8820 frames: more than the 8000 of the ring.
    ASSERT_TRUE(parseRate("5", &r));
    CaptureClock slow(r, 400);
    EXPECT_EQ(slow.firstDemoPass(), 2);
    EXPECT_EQ(slow.requestsBefore(3), 5); // ceil(8820 / 2048)
    EXPECT_EQ(slow.requestsBefore(4), 9); // ceil(17640 / 2048)
    EXPECT_EQ(slow.soundtrackFrames(3), 26460);
}

} // namespace
