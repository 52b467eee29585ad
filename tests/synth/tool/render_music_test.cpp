// isoloop-tool render-music end to end: the WAV holds exactly the stream of
// a fresh synthesizer in driver blocks with its events listed in posting
// order; bad arguments are refused and leave no file.
#include "../music_helpers.h"

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
    for (std::string a :
         std::vector<std::string>{"", "--seconds 5", "--seconds 1 --out", "--seconds -1" + out,
                                  "--seconds 0" + out, "--seconds 1e9" + out, "--seconds 5s" + out,
                                  "--seconds nan" + out, "--seconds 1 --volume 3" + out}) {
        EXPECT_EQ(run(a), 2) << a;
        EXPECT_NE(err.find("render-music"), std::string::npos) << a << ": " << err;
    }
    EXPECT_TRUE(listDirectory(dir).empty());
}
