// The capture tool's edges, run as a program: bad options and outputs give a
// message, status 2 or 1 and leave nothing behind; a short PNG capture shows
// the loading picture while loading, and its sound is silence, then music.
#include "capture_tool.h"

#include <algorithm>

namespace {

TEST(CaptureOptions, BadUsageAndFailuresLeaveNothing) {
    std::string dir = testDir("options");
    runCommand("mkdir -p '" + dir + "/full' && touch '" + dir + "/full/x' && cd '" + dir +
               "' && ln -s loop.mkv loop.mkv && ln -s loop loop");
    const std::vector<std::string> there = {"full", "loop", "loop.mkv"};
    struct {
        std::string args;
        int status;
        const char* says;
    } cases[] = {
        {"OUT.mkv --fps 0", 2, "--fps"},
        {"OUT.mkv --fps -30", 2, "--fps"},
        {"OUT.mkv --fps 30/0", 2, "--fps"},
        {"OUT.mkv --sim-fps 0", 2, "--sim-fps"},
        {"OUT.mkv --fps 60 --sim-fps 90", 2, "multiple"},
        {"OUT.mkv --fps 60000/1001 --sim-fps 120", 2, "multiple"},
        {"OUT.mkv --loading -5", 2, "--loading"},
        {"OUT.mkv --seconds 0", 2, "--seconds"},
        {"OUT.mkv --seconds -1", 2, "--seconds"},
        {"OUT.mkv --loops 0", 2, "--loops"},
        {"OUT.mkv --loops 2 --seconds 3", 2, "not both"},
        {"OUT.mkv --size 0x480", 2, "--size"},
        {"OUT.mkv --size 640x480 --pad 320x240", 2, "--pad"},
        {"OUT.mp4 --size 641x480", 2, "even"},
        {"OUT.avi", 2, ".mkv"},
        {"", 2, "output"},
        {"OUT.mkv OTHER.mkv", 2, "output"},
        {"--frames F OUT.mkv", 2, "--frames"},
        {"OUT.mkv --bogus", 2, "--bogus"},
        {"OUT.mkv --fps", 2, "--fps"},
        {"missing/dir/OUT.mkv", 1, "missing/dir/OUT.mkv"},
        {"--frames missing/dir/F", 1, "missing/dir/F"},
        {"--frames full", 1, "not an empty directory"},
        {"OUT.mkv --log missing/dir/log.tsv", 1, "log.tsv"},
        // Rates whose frames carry minutes of sound, or repeat within a
        // millisecond of the show's clock (1/2000 used to deadlock).
        {"OUT.mkv --fps 1/2000 --seconds 1", 2, "from 1 to 1000"},
        {"OUT.mkv --fps 999/1000 --seconds 1", 2, "from 1 to 1000"},
        {"OUT.mkv --fps 1001 --seconds 1", 2, "from 1 to 1000"},
        {"OUT.mkv --log OUT.mkv --seconds 1", 2, "same file"},
        {"OUT.mkv --log ./OUT.mkv --seconds 1", 2, "same file"},
        {"--frames F --log F/log.tsv --seconds 1", 2, "--frames"},
        {"--frames F --log F --seconds 1", 2, "--frames"},
        {"OUT.mkv --size 1x480 --seconds 1", 2, "2x2"},
        {"OUT.mkv --size 480x1 --seconds 1", 2, "2x2"},
        // A directory of frames, never standard output or a directory named '-'.
        {"--frames - --seconds 1", 2, "--frames"},
        // Links that lead round in a circle are refused, not replaced.
        {"loop.mkv --seconds 1", 1, "Too many levels of symbolic links"},
        {"--frames f --log loop --seconds 1", 1, "Too many levels of symbolic links"},
    };
    for (const auto& c : cases) {
        // Whatever goes wrong, no case may stall the suite.
        ToolRun r = capture("--quiet " + c.args, "cd '" + dir + "' && timeout -s KILL 60");
        EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << c.args << "\n" << r.err;
        EXPECT_EQ(listDir(dir), there) << c.args;
        EXPECT_EQ(listDir(dir + "/full"), std::vector<std::string>{"x"}) << c.args;
        EXPECT_EQ(runCommand("[ -L '" + dir + "/loop.mkv' ] && [ -L '" + dir + "/loop' ]"), 0)
            << c.args;
    }
}

// The reason and where to find the usage: two lines, not the whole usage.
TEST(CaptureOptions, UsageErrorGivesTheReasonAndPointsToHelp) {
    ToolRun r = capture("OUT.mkv --fps 0");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "isoloop-tool capture: bad value for --fps: '0'\n"
                     "Try 'isoloop-tool capture --help'.\n");
}

// An existing directory in OUT's place is refused before anything is filmed.
TEST(CaptureOptions, DirectoryAtOutIsRefusedAtOnce) {
    std::string dir = testDir("outdir");
    runCommand("mkdir '" + dir + "/x.mkv'");
    ToolRun r = capture("'" + dir + "/x.mkv' --quiet --seconds 3600", "timeout -s KILL 20");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("x.mkv': it is a directory"), std::string::npos) << r.err;
    EXPECT_EQ(listDir(dir), std::vector<std::string>{"x.mkv"});
    EXPECT_TRUE(listDir(dir + "/x.mkv").empty());
}

// A copy of the tool without the pack beside it films nothing: what it would
// film is not the show. The message names the pack it looked for.
TEST(CaptureOptions, WithoutThePictureCaptureAndFrameFilmNothing) {
    std::string dir = testDir("nopack");
    runCommand("cp '" + std::string(ISOLOOP_BINARY_DIR) + "/isoloop-tool' '" + dir + "/'");
    const std::string commands[] = {"capture --frames shots --seconds 1 --quiet",
                                    "capture out.mkv --seconds 1 --quiet",
                                    "frame --incs 3 --time 1 --out f.png"};
    for (const std::string& c : commands) {
        std::string cmd = "cd '" + dir + "' && timeout -s KILL 60 ./isoloop-tool " + c +
                          " </dev/null >/dev/null 2>err.txt";
        int raw = std::system(cmd.c_str());
        EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 1) << c;
        std::string err = readFile(dir + "/err.txt");
        EXPECT_NE(err.find(dir + "/julia.3ds"), std::string::npos) << c << ": " << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        std::remove((dir + "/err.txt").c_str());
        EXPECT_EQ(listDir(dir), std::vector<std::string>{"isoloop-tool"}) << c;
    }
}

TEST(CaptureOptions, HelpGoesToStdout) {
    EXPECT_EQ(capture("--help").status, 0);
    EXPECT_EQ(capture("-h").status, 0);
}

TEST(CaptureOptions, MissingFfmpegNamesThePackageAndTheWayAround) {
    std::string dir = testDir("noffmpeg");
    ToolRun r = capture("'" + dir + "/out.mkv' --seconds 1", "PATH=/nonexistent");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("'ffmpeg' package"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("--frames"), std::string::npos) << r.err;
    EXPECT_TRUE(listDir(dir).empty());
}

TEST(CaptureFrames, LoadingPictureThenTheShowWithItsSound) {
    std::string dir = testDir("frames");
    ToolRun r =
        capture("--frames '" + dir + "/f/' --size 64x48 --seconds 0.5 --log '" + dir + "/log.tsv'");
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::string> names = listDir(dir + "/f");
    ASSERT_EQ(names.size(), 31u); // 30 frames and the sound
    EXPECT_EQ(names.front(), "000000.png");
    EXPECT_EQ(names[29], "000029.png");
    EXPECT_EQ(names.back(), "audio.wav");

    // Passes 0..23 (0..383 ms) show the loading picture: all alike, not black.
    RgbaImage loading = readFrame(dir + "/f", 0);
    ASSERT_EQ(loading.width, 64);
    ASSERT_EQ(loading.height, 48);
    int lit = 0;
    for (size_t i = 0; i < loading.px.size(); i += 4)
        lit += loading.px[i] + loading.px[i + 1] + loading.px[i + 2] > 60;
    EXPECT_GT(lit, 20);
    for (int i = 1; i < 24; i++)
        EXPECT_EQ(readFrame(dir + "/f", i).px, loading.px) << i;
    EXPECT_NE(readFrame(dir + "/f", 24).px, loading.px);

    // 0.5 s of sound: 17640 frames of silence, then the music.
    std::vector<short> sound = readWav(dir + "/f/audio.wav");
    ASSERT_EQ(sound.size(), 2u * 22050);
    for (size_t i = 0; i < 2 * 17640; i++)
        ASSERT_EQ(sound[i], 0) << i;
    int loud = 0;
    for (size_t i = 2 * 17640; i < sound.size(); i++)
        loud += sound[i] != 0;
    EXPECT_GT(loud, 1000);

    auto log = readLog(dir + "/log.tsv");
    ASSERT_EQ(log.size(), 31u);
    EXPECT_EQ(log[0], (std::vector<std::string>{"pass", "ms", "t", "scene", "n", "funk", "flexer",
                                                "offsetaapje", "blocks", "read_pos"}));
    EXPECT_EQ(log[24], (std::vector<std::string>{"23", "383", "-", "loading", "-", "-", "-", "-",
                                                 "0", "0"}));
    ASSERT_EQ(log[25].size(), 10u);
    EXPECT_EQ(log[25][1], "400");
    EXPECT_EQ(log[25][2], "0.40000000596046448");
    EXPECT_EQ(log[25][3], "scene1");
    EXPECT_EQ(log[25][8], "4");
    EXPECT_EQ(log[25][9], "0");
    EXPECT_EQ(log[26][9], "2048");
}

} // namespace
