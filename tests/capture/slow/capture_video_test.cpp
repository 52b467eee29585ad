// Captures run through Debian's ffmpeg and checked with ffprobe and framemd5:
// codecs, frame count and rate, 44100 Hz stereo, equal durations, two runs
// decoding to the same frames and sound; padding, frame blending, a failing
// encoder, an interrupt, and one whole loop of the show.
#include "../tool/capture_tool.h"

#include <csignal>
#include <unistd.h>

namespace {

std::string probe(const std::string& file, const std::string& stream, const std::string& entries) {
    return commandOutput("ffprobe -v error -count_frames -select_streams " + stream +
                         " -show_entries stream=" + entries + " -of default=nw=1 '" + file + "'");
}

// Decoded frames and sound as per-packet hashes, without the header lines.
std::string frameHashes(const std::string& file) {
    return commandOutput("ffmpeg -v error -i '" + file + "' -map 0 -f framemd5 - | grep -v '^#'");
}

TEST(CaptureVideo, LosslessMkvIsExactAndRepeatable) {
    std::string dir = testDir("mkv");
    std::string a = dir + "/a.mkv", b = dir + "/b.mkv";
    ASSERT_EQ(capture("'" + a + "' --size 160x120 --seconds 2").status, 0);
    ASSERT_EQ(capture("'" + b + "' --size 160x120 --seconds 2").status, 0);
    EXPECT_EQ(probe(a, "v", "codec_name,width,height,r_frame_rate,nb_read_frames"),
              "codec_name=ffv1\nwidth=160\nheight=120\nr_frame_rate=60/1\nnb_read_frames=120\n");
    EXPECT_EQ(probe(a, "a", "codec_name,sample_rate,channels"),
              "codec_name=flac\nsample_rate=44100\nchannels=2\n");
    // Both streams last exactly the 2 s of 120 frames.
    EXPECT_EQ(commandOutput("ffprobe -v error -show_entries stream_tags=DURATION -of csv=p=0 '" +
                            a + "'"),
              "00:00:02.000000000\n00:00:02.000000000\n");
    std::string hashes = frameHashes(a);
    EXPECT_GT(hashes.size(), 1000u);
    EXPECT_EQ(hashes, frameHashes(b));
    // The sound is the 88200 frames of the soundtrack, 17640 of them silent.
    EXPECT_EQ(commandOutput("ffmpeg -v error -i '" + a + "' -f s16le - | wc -c"), "352800\n");
    EXPECT_EQ(listDir(dir), (std::vector<std::string>{"a.mkv", "b.mkv"}));
}

TEST(CaptureVideo, SharingMp4HasTheStatedStreams) {
    std::string dir = testDir("mp4");
    std::string f = dir + "/a.mp4";
    ASSERT_EQ(capture("'" + f + "' --size 160x120 --fps 30 --seconds 2").status, 0);
    EXPECT_EQ(probe(f, "v", "codec_name,pix_fmt,r_frame_rate,nb_read_frames"),
              "codec_name=h264\npix_fmt=yuv420p\nr_frame_rate=30/1\nnb_read_frames=60\n");
    EXPECT_EQ(probe(f, "a", "codec_name,sample_rate,channels"),
              "codec_name=aac\nsample_rate=44100\nchannels=2\n");
    double v = std::stod(probe(f, "v", "duration").substr(9));
    double s = std::stod(probe(f, "a", "duration").substr(9));
    EXPECT_DOUBLE_EQ(v, 2.0);
    EXPECT_NEAR(s, 2.0, 0.03); // AAC frames of 1024 samples
}

TEST(CaptureVideo, PadAddsBlackBarsAroundTheSamePicture) {
    std::string dir = testDir("pad");
    // 4:3 inside 16:9: without --size the picture is the largest 4:3 that fits.
    ASSERT_EQ(capture("--frames '" + dir + "/pad' --pad 128x72 --seconds 0.5").status, 0);
    ASSERT_EQ(capture("--frames '" + dir + "/plain' --size 96x72 --seconds 0.5").status, 0);
    for (int i : {0, 29}) {
        RgbaImage pad = readFrame(dir + "/pad", i), plain = readFrame(dir + "/plain", i);
        ASSERT_EQ(pad.width, 128);
        ASSERT_EQ(pad.height, 72);
        for (int y = 0; y < 72; y++)
            for (int x = 0; x < 128; x++) {
                bool bar = x < 16 || x >= 112;
                const unsigned char* p = pad.at(x, y);
                const unsigned char* q = bar ? p : plain.at(x - 16, y);
                ASSERT_TRUE(bar ? !(p[0] | p[1] | p[2]) : !memcmp(p, q, 3))
                    << "frame " << i << " at " << x << "," << y;
            }
    }
}

TEST(CaptureVideo, BlendingAveragesThePassesOfEachFrame) {
    std::string dir = testDir("blend");
    // The same passes (60 a second) filmed at 60 and blended down to 30.
    ASSERT_EQ(capture("--frames '" + dir + "/p' --size 64x48 --fps 60 --seconds 1").status, 0);
    ASSERT_EQ(
        capture("--frames '" + dir + "/b' --size 64x48 --fps 30 --sim-fps 60 --seconds 1").status,
        0);
    ASSERT_EQ(listDir(dir + "/b").size(), 31u);
    int differ = 0;
    for (int i = 0; i < 30; i++) {
        RgbaImage b = readFrame(dir + "/b", i);
        RgbaImage p0 = readFrame(dir + "/p", 2 * i), p1 = readFrame(dir + "/p", 2 * i + 1);
        for (size_t k = 0; k < b.px.size(); k++) {
            ASSERT_EQ(b.px[k], (p0.px[k] + p1.px[k] + 1) / 2) << "frame " << i << " byte " << k;
            differ += p0.px[k] != p1.px[k];
        }
    }
    EXPECT_GT(differ, 0);
    EXPECT_EQ(readWav(dir + "/b/audio.wav"), readWav(dir + "/p/audio.wav"));
}

// Names ffmpeg would read as a protocol ("pipe:", "file:", "show-2024-01-01T12"
// before a colon) or as an option ("-x.mp4" after "--") are file names: the
// video is there under that name, whole, and nothing goes to standard output.
TEST(CaptureVideo, NamesLikeUrlsOrOptionsAreFileNames) {
    std::string dir = testDir("names");
    const std::pair<const char*, const char*> names[] = {
        {"pipe:1.mkv", "pipe:1.mkv"},
        {"file:z.mkv", "file:z.mkv"},
        {"show-2024-01-01T12:00.mkv", "show-2024-01-01T12:00.mkv"},
        {"-- -x.mp4", "-x.mp4"},
    };
    for (const auto& [args, name] : names) {
        runCommand("rm -rf '" + dir + "' && mkdir -p '" + dir + "/out'");
        int status = runCommand("cd '" + dir + "/out' && '" + ISOLOOP_BINARY_DIR +
                                "/isoloop-tool' capture --size 64x48 --seconds 0.5 --quiet " +
                                args + " >../stdout.bin 2>../err.txt");
        EXPECT_EQ(status, 0) << args << ": " << readFile(dir + "/err.txt");
        EXPECT_EQ(readFile(dir + "/stdout.bin"), "") << args;
        EXPECT_EQ(listDir(dir + "/out"), std::vector<std::string>{name}) << args;
        EXPECT_EQ(commandOutput("ffprobe -v error -count_packets -select_streams v -show_entries "
                                "stream=nb_read_packets -of csv=p=0 'file:" +
                                dir + "/out/" + name + "'"),
                  "30\n")
            << args;
    }
}

TEST(CaptureVideo, FailingEncoderLeavesNothing) {
    std::string dir = testDir("badffmpeg");
    runCommand("mkdir '" + dir + "/bin' && printf '#!/bin/sh\\nexit 3\\n' > '" + dir +
               "/bin/ffmpeg' && chmod +x '" + dir + "/bin/ffmpeg'");
    ToolRun r =
        capture("'" + dir + "/out.mkv' --size 64x48 --seconds 2 --log '" + dir + "/log.tsv'",
                "PATH='" + dir + "/bin'");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("ffmpeg"), std::string::npos) << r.err;
    EXPECT_EQ(listDir(dir), std::vector<std::string>{"bin"});
}

TEST(CaptureVideo, InterruptLeavesNothing) {
    std::string dir = testDir("interrupt");
    std::string tool = std::string(ISOLOOP_BINARY_DIR) + "/isoloop-tool";
    // During start-up; while drawing into ffmpeg; while writing PNG files.
    struct {
        const char* out;
        const char* waitFor; // shell test that holds once the phase is reached
        int extraSeconds;
    } cases[] = {{"out.mkv", "ls -A | grep -q .", 0},
                 {"out.mkv", "ls -A | grep -q .", 3},
                 {"--frames f", "ls f.part*/ | grep -q png", 0}};
    for (const auto& c : cases) {
        pid_t pid = fork();
        if (pid == 0) {
            std::string cmd = "cd '" + dir + "' && exec '" + tool + "' capture " + c.out +
                              " --size 64x48 --seconds 3600 --log log.tsv 2>/dev/null";
            execl("/bin/sh", "sh", "-c", cmd.c_str(), (char*)nullptr);
            _exit(127);
        }
        std::string reached = "cd '" + dir + "' && " + c.waitFor + " 2>/dev/null";
        for (int wait = 0; wait < 600 && std::system(reached.c_str()) != 0; wait++)
            usleep(20000);
        sleep(c.extraSeconds);
        kill(pid, SIGINT);
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 128 + SIGINT) << c.out;
        EXPECT_TRUE(listDir(dir).empty()) << c.out;
    }
}

TEST(CaptureVideo, OneLoopFollowsTheSceneTableAndEndsWithTheEmptyPass) {
    std::string dir = testDir("loop");
    ASSERT_EQ(capture("'" + dir + "/loop.mkv' --size 32x24 --log '" + dir + "/loop.tsv'").status,
              0);
    auto log = readLog(dir + "/loop.tsv");
    ASSERT_GT(log.size(), 2u);
    std::vector<std::string> order;
    int none = 0;
    for (size_t i = 1; i < log.size(); i++) {
        ASSERT_EQ(log[i].size(), 10u);
        ASSERT_EQ(log[i][0], std::to_string(i - 1));
        const std::string& scene = log[i][3];
        if (order.empty() || order.back() != scene) order.push_back(scene);
        if (scene == "none") {
            none++;
            EXPECT_GE(std::stoi(log[i][4]), 58);
        }
    }
    EXPECT_EQ(order, (std::vector<std::string>{"loading", "scene1", "credits", "scene0", "scene3",
                                               "scene4", "scene5", "none"}));
    EXPECT_EQ(none, 1);
    // Every pass is a frame of the video.
    EXPECT_EQ(probe(dir + "/loop.mkv", "v", "nb_read_frames"),
              "nb_read_frames=" + std::to_string(log.size() - 1) + "\n");
}

} // namespace
