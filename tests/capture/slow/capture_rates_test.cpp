// Every frame rate the capture accepts finishes, in both containers, with and
// without frame blending: ffmpeg takes a picture only once the sound up to it
// is encoded, so at high rates many pictures wait in between, and a drawing
// that had no room for them waited on an encoder that waited on the sound.
// Pictures of 320x240 are larger than a pipe holds, as real ones are.
#include "../tool/capture_tool.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

// Video packets in the file, as ffprobe reads them back.
long videoPackets(const std::string& file) {
    return std::atol(
        commandOutput("ffprobe -v error -count_packets -select_streams v -show_entries "
                      "stream=nb_read_packets -of csv=p=0 'file:" +
                      file + "'")
            .c_str());
}

struct RateCase {
    const char* args;
    long frames; // video frames of the run
};

void captureEach(const std::string& dir, const std::vector<RateCase>& cases,
                 const std::string& size, const char* seconds) {
    for (const RateCase& c : cases) {
        for (const char* ext : {"mkv", "mp4"}) {
            std::string what = std::string(c.args) + " ." + ext;
            std::string file = dir + "/r." + ext;
            ToolRun r = capture("'" + file + "' " + c.args + " --size " + size + " --seconds " +
                                    seconds + " --quiet",
                                "timeout -s KILL 120");
            EXPECT_EQ(r.status, 0) << what << ": " << r.err;
            EXPECT_EQ(r.err, "") << what;
            EXPECT_EQ(videoPackets(file), c.frames) << what;
            EXPECT_EQ(listDir(dir), std::vector<std::string>{std::string("r.") + ext}) << what;
            runCommand("rm -f '" + file + "'");
        }
    }
}

TEST(CaptureRates, EveryRateFromOneToAThousandFinishesInBothContainers) {
    std::string dir = testDir("rates");
    // Half a second: ceil(F / 2) frames.
    captureEach(dir,
                {{"--fps 1", 1},
                 {"--fps 24", 12},
                 {"--fps 30", 15},
                 {"--fps 60000/1001", 30},
                 {"--fps 72", 36},
                 {"--fps 74", 37},
                 {"--fps 120", 60},
                 {"--fps 144", 72},
                 {"--fps 240", 120},
                 {"--fps 500", 250},
                 {"--fps 1000", 500}},
                "320x240", "0.5");
}

// Blending: many passes to each picture, their sound handed over pass by
// pass; at 1 frame a second the encoder rightly waits seconds for a picture
// while the passes are drawn, which is no stall.
TEST(CaptureRates, BlendedRatesFinishInBothContainers) {
    std::string dir = testDir("blended-rates");
    captureEach(dir, {{"--fps 120 --sim-fps 240", 120}, {"--fps 1000/3 --sim-fps 1000", 334}},
                "320x240", "1");
    captureEach(dir, {{"--fps 1 --sim-fps 300", 2}}, "640x480", "2");
}

} // namespace
