// The capture's settings as text, as the tool's options and the page's
// address give them: what is taken, reduced to lowest terms, and what is
// refused (signs, blanks, trailing junk, zero, past the bounds).
#include "capture/capture_text.h"

#include <gtest/gtest.h>

namespace {

TEST(CaptureText, ParsesRatesAndSecondsExactly) {
    struct {
        const char* text;
        bool ok;
        int64_t a, b;
    } rates[] = {{"60", true, 60, 1},    {"60000/1001", true, 60000, 1001},
                 {"120/2", true, 60, 1}, {"0", false, 0, 0},
                 {"-30", false, 0, 0},   {"30/0", false, 0, 0},
                 {"29.97", false, 0, 0}, {"60/", false, 0, 0},
                 {"", false, 0, 0},      {"1000001", false, 0, 0},
                 {" 60", false, 0, 0},   {"60x", false, 0, 0}};
    for (const auto& c : rates) {
        Rate r;
        ASSERT_EQ(parseRate(c.text, &r), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(r.a * 1000003 + r.b, c.a * 1000003 + c.b) << c.text;
        }
    }
    struct {
        const char* text;
        bool ok;
        int64_t p, q;
    } seconds[] = {{"2", true, 2, 1},           {"0.5", true, 1, 2},
                   {"3600", true, 3600, 1},     {"1.001", true, 1001, 1000},
                   {"0", false, 0, 0},          {"-1", false, 0, 0},
                   {"1e3", false, 0, 0},        {"31536000", true, 31536000, 1},
                   {"31536000.5", false, 0, 0}, {".", false, 0, 0},
                   {"1.2.3", false, 0, 0},      {"", false, 0, 0}};
    for (const auto& c : seconds) {
        int64_t p = 0, q = 0;
        ASSERT_EQ(parseSeconds(c.text, &p, &q), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(p * 1000003 + q, c.p * 1000003 + c.q) << c.text;
        }
    }
    // 0.5 s at 60000/1001 is 29.97 passes: 30 of them.
    Rate ntsc;
    ASSERT_TRUE(parseRate("60000/1001", &ntsc));
    EXPECT_EQ(CaptureClock(ntsc, 400).passesFor(1, 2), 30);
}

TEST(CaptureText, ParsesSizesWithinTheBounds) {
    struct {
        const char* text;
        bool ok;
        int w, h;
    } sizes[] = {{"640x480", true, 640, 480}, {"1x4096", true, 1, 4096}, {"4096x1", true, 4096, 1},
                 {"0x480", false, 0, 0},      {"640x0", false, 0, 0},    {"4097x480", false, 0, 0},
                 {"640x4097", false, 0, 0},   {"640x", false, 0, 0},     {"x480", false, 0, 0},
                 {"640x480x", false, 0, 0},   {"640X480", false, 0, 0},  {"640", false, 0, 0},
                 {"-640x480", false, 0, 0},   {"640x480 ", false, 0, 0}};
    for (const auto& c : sizes) {
        int w = -1, h = -1;
        ASSERT_EQ(parseSize(c.text, &w, &h), c.ok) << c.text;
        EXPECT_EQ(w, c.ok ? c.w : -1) << c.text;
        EXPECT_EQ(h, c.ok ? c.h : -1) << c.text;
    }
}

} // namespace
