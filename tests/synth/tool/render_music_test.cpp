// isoloop-tool render-music end to end: the WAV holds exactly the stream of
// a fresh synthesizer in driver blocks, the event list matches what the
// voices posted, bad arguments and unwritable paths fail cleanly, and no
// partial file is ever left under the requested name.
#include "../music_helpers.h"

#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const std::string kTool = std::string(ISOLOOP_BINARY_DIR) + "/isoloop-tool";

class RenderMusic : public ::testing::Test {
  protected:
    std::string dir;
    std::string err;
    void SetUp() override {
        char tmpl[] = "/tmp/isoloop-music-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
    }
    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }

    // Runs the tool with the arguments; returns its exit status.
    int run(const std::string& args) {
        std::string cmd = "'" + kTool + "' render-music " + args + " 2>'" + dir + "/err.txt'";
        int status = std::system(cmd.c_str());
        std::ifstream in(dir + "/err.txt");
        std::stringstream ss;
        ss << in.rdbuf();
        err = ss.str();
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::vector<std::string> files() {
        std::vector<std::string> out;
        if (DIR* d = opendir(dir.c_str())) {
            while (dirent* e = readdir(d))
                if (e->d_name[0] != '.' && std::string(e->d_name) != "err.txt")
                    out.push_back(e->d_name);
            closedir(d);
        }
        return out;
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

TEST_F(RenderMusic, WavHoldsTheStreamOfAFreshSynthesizer) {
    ASSERT_EQ(run("--seconds 5 --out '" + dir + "/m.wav'"), 0) << err;
    SF_INFO info;
    std::vector<short> wav = readWav(dir + "/m.wav", &info);
    EXPECT_EQ(info.samplerate, 44100);
    EXPECT_EQ(info.channels, 2);
    EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    ASSERT_EQ(info.frames, 220500);
    std::vector<short> want = renderMusic(220500, {4000});
    EXPECT_EQ(firstDifference(wav, want), -1);
    EXPECT_EQ(files(), std::vector<std::string>{"m.wav"});
}

TEST_F(RenderMusic, EventListIsEveryPostedEventInPostingOrder) {
    ASSERT_EQ(run("--seconds 12.5 --out '" + dir + "/m.wav' --events '" + dir + "/e.tsv'"), 0)
        << err;
    std::vector<Event> posted;
    renderMusic(551250, {4000}, &posted);
    std::ifstream in(dir + "/e.tsv");
    std::string line;
    ASSERT_TRUE(std::getline(in, line));
    EXPECT_EQ(line, "type\tframe\ttime");
    size_t k = 0;
    while (std::getline(in, line)) {
        unsigned int type = 0, frame = 0;
        double time = 0;
        ASSERT_EQ(std::sscanf(line.c_str(), "%u\t%u\t%lf", &type, &frame, &time), 3) << line;
        ASSERT_LT(k, posted.size());
        EXPECT_EQ(type, posted[k].type) << "line " << k;
        EXPECT_EQ((float)time, (float)posted[k].time) << "line " << k;
        EXPECT_EQ(eventTimeOfFrame(frame), posted[k].time) << "line " << k;
        k++;
    }
    EXPECT_EQ(k, posted.size());
    std::ifstream again(dir + "/e.tsv");
    std::getline(again, line);
    std::getline(again, line);
    EXPECT_EQ(line, "0\t0\t0");
    std::getline(again, line);
    EXPECT_EQ(line, "1\t0\t0");
    std::getline(again, line);
    EXPECT_EQ(line, "0\t4000\t0.090702951");
}

TEST_F(RenderMusic, FractionOfASecondRoundsToWholeFrames) {
    ASSERT_EQ(run("--seconds 0.01 --out '" + dir + "/m.wav'"), 0) << err;
    SF_INFO info;
    readWav(dir + "/m.wav", &info);
    EXPECT_EQ(info.frames, 441);
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
        std::string a = args;
        size_t at = a.find("OUT");
        if (at != std::string::npos) a.replace(at, 3, "'" + dir + "/m.wav'");
        EXPECT_EQ(run(a), 2) << a;
        EXPECT_NE(err.find("render-music"), std::string::npos) << a << ": " << err;
    }
    EXPECT_TRUE(files().empty());
}

TEST_F(RenderMusic, UnwritablePathsFailNamingTheFileAndLeaveNothing) {
    EXPECT_EQ(run("--seconds 1 --out '" + dir + "/no/such/m.wav'"), 1);
    EXPECT_NE(err.find(dir + "/no/such/m.wav"), std::string::npos) << err;
    EXPECT_EQ(run("--seconds 1 --out '" + dir + "/m.wav' --events '" + dir + "/no/e.tsv'"), 1);
    EXPECT_NE(err.find(dir + "/no/e.tsv"), std::string::npos) << err;
    EXPECT_TRUE(files().empty()) << "no partial or temporary file is left";
}

TEST_F(RenderMusic, FailedRunLeavesAnEarlierFileUntouched) {
    {
        std::ofstream old(dir + "/m.wav");
        old << "earlier";
    }
    EXPECT_EQ(run("--seconds 1 --out '" + dir + "/m.wav' --events '" + dir + "/no/e.tsv'"), 1);
    std::ifstream in(dir + "/m.wav");
    std::string content;
    std::getline(in, content);
    EXPECT_EQ(content, "earlier");
    EXPECT_EQ(files(), std::vector<std::string>{"m.wav"});
}
