// isoloop-tool render-music end to end: the WAV holds exactly the stream of
// a fresh synthesizer in driver blocks, the event list matches what the
// voices posted, bad arguments and unwritable paths fail cleanly, and no
// partial file is ever left under the requested name.
#include "../music_helpers.h"

#include <cstdlib>
#include <sndfile.h>
#include <sstream>
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

    // Runs the tool with the arguments (OUT stands for dir/m.wav); returns
    // its exit status and keeps its error output out of the directory.
    int run(std::string args) {
        for (size_t at; (at = args.find("OUT")) != std::string::npos;)
            args.replace(at, 3, "'" + dir + "/m.wav'");
        std::string errFile = dir + ".err";
        int status = runCommand("'" ISOLOOP_BINARY_DIR "/isoloop-tool' render-music " + args +
                                " 2>'" + errFile + "'");
        err = readFile(errFile);
        std::remove(errFile.c_str());
        return status;
    }
};

std::vector<short> readWav(const std::string& path, SF_INFO* info) {
    *info = SF_INFO();
    SNDFILE* f = sf_open(path.c_str(), SFM_READ, info);
    if (!f) return {};
    std::vector<short> s(2 * (size_t)info->frames);
    sf_readf_short(f, s.data(), info->frames);
    sf_close(f);
    return s;
}

} // namespace

TEST_F(RenderMusic, WavHoldsTheStreamOfAFreshSynthesizerInWholeFrames) {
    SF_INFO info;
    ASSERT_EQ(run("--seconds 0.01 --out OUT"), 0) << err;
    readWav(dir + "/m.wav", &info);
    EXPECT_EQ(info.frames, 441);
    ASSERT_EQ(run("--seconds 5 --out OUT"), 0) << err;
    std::vector<short> wav = readWav(dir + "/m.wav", &info);
    EXPECT_EQ(info.samplerate, 44100);
    EXPECT_EQ(info.channels, 2);
    EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    ASSERT_EQ(info.frames, 220500);
    std::vector<short> want = renderMusic(220500, {4000});
    EXPECT_EQ(std::mismatch(wav.begin(), wav.end(), want.begin()).first - wav.begin(), 441000)
        << "first differing sample";
    EXPECT_EQ(listDirectory(dir), std::vector<std::string>{"m.wav"});
}

TEST_F(RenderMusic, EventListIsEveryPostedEventInPostingOrder) {
    ASSERT_EQ(run("--seconds 12.5 --out OUT --events '" + dir + "/e.tsv'"), 0) << err;
    std::vector<Event> posted;
    renderMusic(551250, {4000}, &posted);
    std::istringstream in(readFile(dir + "/e.tsv"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), posted.size() + 1);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 4),
              (std::vector<std::string>{"type\tframe\ttime", "0\t0\t0", "1\t0\t0",
                                        "0\t4000\t0.090702951"}));
    for (size_t k = 0; k < posted.size(); k++) {
        unsigned int type = 0, frame = 0;
        double time = 0;
        const char* line = lines[k + 1].c_str();
        ASSERT_EQ(std::sscanf(line, "%u\t%u\t%lf", &type, &frame, &time), 3) << line;
        EXPECT_EQ(type, posted[k].type) << line;
        EXPECT_EQ((float)time, (float)posted[k].time) << line;
        EXPECT_EQ(eventTimeOfFrame(frame), posted[k].time) << line;
    }
}

TEST_F(RenderMusic, BadArgumentsAreRefusedWithStatusTwo) {
    const char* bad[] = {"",
                         "--seconds 5",
                         "--out x.wav",
                         "--seconds -1 --out OUT",
                         "--seconds 0 --out OUT",
                         "--seconds 1e9 --out OUT",
                         "--seconds 5s --out OUT",
                         "--seconds nan --out OUT",
                         "--seconds 1 --out OUT --volume 3",
                         "--seconds 1 --out"};
    for (const char* args : bad) {
        EXPECT_EQ(run(args), 2) << args;
        EXPECT_NE(err.find("render-music"), std::string::npos) << args << ": " << err;
    }
    EXPECT_TRUE(listDirectory(dir).empty());
}

TEST_F(RenderMusic, UnwritablePathsFailNamingTheFileAndLeaveNothing) {
    EXPECT_EQ(run("--seconds 1 --out '" + dir + "/no/such/m.wav'"), 1);
    EXPECT_NE(err.find(dir + "/no/such/m.wav"), std::string::npos) << err;
    EXPECT_EQ(run("--seconds 1 --out OUT --events '" + dir + "/no/e.tsv'"), 1);
    EXPECT_NE(err.find(dir + "/no/e.tsv"), std::string::npos) << err;
    EXPECT_TRUE(listDirectory(dir).empty()) << "no partial or temporary file is left";
    // A failed run leaves an earlier file under the name untouched.
    ASSERT_TRUE(writeWhole(dir + "/m.wav", "earlier"));
    EXPECT_EQ(run("--seconds 1 --out OUT --events '" + dir + "/no/e.tsv'"), 1);
    EXPECT_EQ(readFile(dir + "/m.wav"), "earlier");
    EXPECT_EQ(listDirectory(dir), std::vector<std::string>{"m.wav"});
}
