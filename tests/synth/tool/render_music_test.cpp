// isoloop-tool render-music end to end: the WAV holds exactly the stream of
// a fresh synthesizer in driver blocks with its events listed in posting
// order; the format follows the extension, "-" streams WAV into a pipe; bad
// arguments are refused and nothing is left behind by a failure.
#include "../music_helpers.h"

#include <sndfile.h>
#include <sstream>
#include <sys/stat.h>
#include <string>
#include <unistd.h>

namespace {

class RenderMusic : public ::testing::Test {
  protected:
    std::string dir, err;
    void SetUp() override {
        char tmpl[] = "/tmp/isoloop-music-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
    }
    void TearDown() override { runCommand("rm -rf '" + dir + "'"); }
    int run(const std::string& args) { // error output kept outside the directory
        int status = runCommand("'" ISOLOOP_BINARY_DIR "/isoloop-tool' render-music " + args +
                                " 2>'" + dir + ".err'");
        err = readFile(dir + ".err");
        std::remove((dir + ".err").c_str());
        return status;
    }
};

} // namespace

TEST_F(RenderMusic, WavAndEventListHoldTheStreamOfAFreshSynthesizer) {
    ASSERT_EQ(run("--seconds 5 --out '" + dir + "/m.wav' --events '" + dir + "/e.tsv'"), 0) << err;
    SF_INFO info = SF_INFO();
    SNDFILE* f = sf_open((dir + "/m.wav").c_str(), SFM_READ, &info);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(std::vector<int>({info.samplerate, info.channels, info.format}),
              std::vector<int>({44100, 2, SF_FORMAT_WAV | SF_FORMAT_PCM_16}));
    ASSERT_EQ(info.frames, 220500);
    std::vector<short> wav(2 * 220500);
    sf_readf_short(f, wav.data(), info.frames);
    sf_close(f);
    std::vector<Event> posted;
    std::vector<short> want = renderMusic(220500, {4000}, &posted);
    EXPECT_EQ(std::mismatch(wav.begin(), wav.end(), want.begin()).first - wav.begin(), 441000);
    std::istringstream in(readFile(dir + "/e.tsv"));
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "type\tframe\ttime");
    size_t k = 0;
    for (unsigned int type, frame; std::getline(in, line); k++) {
        ASSERT_LT(k, posted.size()) << line;
        ASSERT_EQ(std::sscanf(line.c_str(), "%u\t%u", &type, &frame), 2) << line;
        EXPECT_EQ(std::make_pair(type, eventTimeOfFrame(frame)),
                  std::make_pair(posted[k].type, posted[k].time))
            << line;
    }
    EXPECT_EQ(k, posted.size());
    EXPECT_EQ(listDirectory(dir), (std::vector<std::string>{"e.tsv", "m.wav"}));
}

TEST_F(RenderMusic, BadArgumentsAreRefusedWithStatusTwoAndLeaveNothing) {
    const std::string out = " --out '" + dir + "/m.wav'";
    for (std::string a : std::vector<std::string>{
             "", "--seconds 5", "--seconds 1 --out", "--seconds -1" + out, "--seconds 0" + out,
             "--seconds 1e9" + out,
             // Too short to hold one sample: no empty sound file.
             "--seconds 1e-9" + out, "--seconds 0.00001" + out, "--seconds 5s" + out,
             "--seconds nan" + out, "--seconds 1 --volume 3" + out,
             "--seconds 1 --out '" + dir + "/m.xyz'", "--seconds 1 --out '" + dir + "/m'",
             "--seconds 1" + out + " --events '" + dir + "/m.wav'",
             "--seconds 1" + out + " --events '" + dir + "/./m.wav'",
             "--seconds 1 --out - --events -"}) {
        EXPECT_EQ(run(a), 2) << a;
        EXPECT_NE(err.find("render-music"), std::string::npos) << a << ": " << err;
    }
    EXPECT_TRUE(listDirectory(dir).empty());
}

// Lossless formats give the samples back exactly; lossy ones their length and
// rate. MP3 where this libsndfile writes it, else a refusal naming it.
TEST_F(RenderMusic, FormatFollowsTheExtension) {
    const std::vector<short> want = renderMusic(44100, {4000});
    SF_INFO mp3 = SF_INFO();
    mp3.samplerate = 44100, mp3.channels = 2;
    mp3.format = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
    const struct {
        const char* name;
        int major;
        bool lossless;
    } cases[] = {{"m.wav", SF_FORMAT_WAV, true},
                 {"m.FLAC", SF_FORMAT_FLAC, true},
                 {"m.ogg", SF_FORMAT_OGG, false},
                 {"m.mp3", SF_FORMAT_MPEG, false}};
    for (const auto& c : cases) {
        std::string path = dir + "/" + c.name;
        if (c.major == SF_FORMAT_MPEG && !sf_format_check(&mp3)) {
            EXPECT_EQ(run("--seconds 1 --out '" + path + "'"), 2);
            EXPECT_NE(err.find(".mp3"), std::string::npos) << err;
            continue;
        }
        ASSERT_EQ(run("--seconds 1 --out '" + path + "'"), 0) << c.name << ": " << err;
        SF_INFO info = SF_INFO();
        SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
        ASSERT_NE(f, nullptr) << c.name << ": " << sf_strerror(nullptr);
        EXPECT_EQ(info.format & SF_FORMAT_TYPEMASK, c.major) << c.name;
        EXPECT_EQ(std::make_pair(info.samplerate, info.channels), std::make_pair(44100, 2));
        std::vector<short> got(2 * 44100 + 2 * 4096);
        sf_count_t frames = sf_readf_short(f, got.data(), 44100 + 4096);
        sf_close(f);
        if (c.lossless) {
            got.resize(2 * frames);
            EXPECT_EQ(got, want) << c.name;
        } else { // encoder padding aside, one second
            EXPECT_GE(frames, 44100) << c.name;
            EXPECT_LT(frames, 44100 + 2304) << c.name;
        }
    }
}

// "-": a WAV stream with the exact length in its header, read from the pipe.
TEST_F(RenderMusic, DashStreamsWavToStandardOutput) {
    FILE* pipe =
        popen("'" ISOLOOP_BINARY_DIR "/isoloop-tool' render-music --seconds 1.5 --out -", "r");
    ASSERT_NE(pipe, nullptr);
    SF_INFO info = SF_INFO();
    SNDFILE* f = sf_open_fd(fileno(pipe), SFM_READ, &info, SF_FALSE);
    ASSERT_NE(f, nullptr) << sf_strerror(nullptr);
    EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    EXPECT_EQ(info.frames, 66150);
    std::vector<short> got(2 * 66150 + 2);
    EXPECT_EQ(sf_readf_short(f, got.data(), 66151), 66150);
    sf_close(f);
    EXPECT_EQ(pclose(pipe), 0);
    got.resize(2 * 66150);
    EXPECT_EQ(got, renderMusic(66150, {4000}));
}

// An output that cannot be completed takes the other one with it.
TEST_F(RenderMusic, FailingEventsOutputLeavesNoSound) {
    ASSERT_EQ(runCommand("mkdir '" + dir + "/e'"), 0);
    EXPECT_EQ(run("--seconds 1 --out '" + dir + "/m.wav' --events '" + dir + "/e'"), 1);
    EXPECT_NE(err.find(dir + "/e"), std::string::npos) << err;
    EXPECT_EQ(listDirectory(dir), std::vector<std::string>{"e"});
    EXPECT_TRUE(listDirectory(dir + "/e").empty());
}

// A named pipe given as the output is written into, never replaced by a file.
TEST_F(RenderMusic, NamedPipeIsWrittenIntoNotReplaced) {
    const std::string fifo = dir + "/p.wav", copy = dir + "/copy.wav";
    ASSERT_EQ(runCommand("mkfifo '" + fifo + "' && (cat '" + fifo + "' >'" + copy + "' &)"), 0);
    ASSERT_EQ(run("--seconds 1 --out '" + fifo + "'"), 0) << err;
    struct stat st;
    ASSERT_EQ(stat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    for (int i = 0; i < 100 && readFile(copy).size() < 44 + 4 * 44100; i++)
        usleep(20000);
    SF_INFO info = SF_INFO();
    SNDFILE* f = sf_open(copy.c_str(), SFM_READ, &info);
    ASSERT_NE(f, nullptr) << sf_strerror(nullptr);
    sf_close(f);
    EXPECT_EQ(info.frames, 44100);
}
