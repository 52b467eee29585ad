// The real demo binary, end to end under Xvfb with Mesa and a dummy sound
// driver: console lines, exit statuses, the loading picture, frames, Escape,
// SIGTERM, start-up failures and finding the pack however it is started.
#include "app/working_dir.h"
#include "texture/pack_reader.h"

#include <cmath>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

const std::string kBin = ISOLOOP_BINARY_DIR;

struct DemoRun {
    int status = -1; // exit status, or -1 when killed by a signal
    std::string out, err;
    std::vector<std::string> log; // probe lines: "swap k ms", "quit k ms", ...
    int swaps() const {
        int n = 0;
        for (const std::string& l : log)
            n += l.rfind("swap", 0) == 0;
        return n;
    }
    bool quitCalled() const {
        for (const std::string& l : log)
            if (l.rfind("quit", 0) == 0) return true;
        return false;
    }
};

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);)
        out.push_back(l);
    return out;
}

class DemoBinary : public ::testing::Test {
  protected:
    std::string dir;
    void SetUp() override {
        char tmpl[] = "/tmp/isoloop-e2e-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
    }
    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }

    // Starts program with args and extra environment ("NAME=value", or
    // "-NAME" to unset); sends SIGTERM once stopAfter swaps are logged.
    DemoRun run(const std::string& program, std::vector<std::string> args,
                std::vector<std::string> env, int stopAfter, double timeoutSec = 60) {
        std::string logPath = dir + "/probe.log";
        std::remove(logPath.c_str());
        pid_t pid = fork();
        if (pid == 0) {
            freopen((dir + "/out.txt").c_str(), "w", stdout);
            freopen((dir + "/err.txt").c_str(), "w", stderr);
            setenv("SDL_AUDIODRIVER", "dummy", 1);
            setenv("ISOLOOP_PROBE_LOG", logPath.c_str(), 1);
            setenv("ISOLOOP_PROBE_PPM", (dir + "/first.ppm").c_str(), 1);
            std::string asan = getenv("ASAN_OPTIONS") ? getenv("ASAN_OPTIONS") : "";
            setenv("ASAN_OPTIONS", (asan + ":verify_asan_link_order=0").c_str(), 1);
            setenv("LD_PRELOAD", (kBin + "/libisoloop_probe.so").c_str(), 1);
            for (const std::string& e : env) {
                if (e[0] == '-')
                    unsetenv(e.c_str() + 1);
                else
                    putenv(strdup(e.c_str()));
            }
            std::vector<char*> argv{const_cast<char*>(program.c_str())};
            for (std::string& a : args)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execvp(program.c_str(), argv.data());
            _exit(127);
        }
        DemoRun r;
        int status = 0;
        bool exited = false, termSent = false;
        for (double waited = 0; waited < timeoutSec; waited += 0.05) {
            if (waitpid(pid, &status, WNOHANG) == pid) {
                exited = true;
                break;
            }
            if (!termSent && stopAfter > 0) {
                DemoRun partial;
                partial.log = lines(slurp(logPath));
                if (partial.swaps() >= stopAfter) {
                    kill(pid, SIGTERM);
                    termSent = true;
                }
            }
            usleep(50000);
        }
        if (!exited) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            ADD_FAILURE() << "the demo did not end in time";
        }
        r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.out = slurp(dir + "/out.txt");
        r.err = slurp(dir + "/err.txt");
        r.log = lines(slurp(logPath));
        return r;
    }
};

const char kFirstLine[] = "filtering ground radiation..";
const char kSecondLine[] = "hmm mag die console weg aub?";

void expectConsoleLines(const DemoRun& r) {
    size_t first = r.out.find(kFirstLine), second = r.out.find(kSecondLine);
    EXPECT_EQ(first, 0u) << r.out;
    ASSERT_NE(second, std::string::npos) << r.out;
    EXPECT_LT(first, second);
    EXPECT_EQ(r.out.find("not found"), std::string::npos) << r.out;
}

TEST_F(DemoBinary, WindowRunsFramesAndEndsWithZeroOnSigterm) {
    DemoRun r = run(kBin + "/isoloop", {"window"}, {}, 40);
    EXPECT_EQ(r.status, 0) << r.err << r.out;
    expectConsoleLines(r);
    EXPECT_GE(r.swaps(), 40);
    EXPECT_TRUE(r.quitCalled());
    EXPECT_EQ(r.err, "");
}

TEST_F(DemoBinary, FullScreenWithoutArguments) {
    DemoRun r = run(kBin + "/isoloop", {}, {}, 20);
    EXPECT_EQ(r.status, 0) << r.err << r.out;
    expectConsoleLines(r);
    EXPECT_GE(r.swaps(), 20);
}

TEST_F(DemoBinary, EscapePressQuitsButReleaseAndOtherKeysDoNot) {
    DemoRun r =
        run(kBin + "/isoloop", {"window"}, {"ISOLOOP_PROBE_KEYS=5:up-esc,6:down-a,30:down-esc"}, 0);
    EXPECT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_EQ(r.swaps(), 30); // the frame after the press is never drawn
    EXPECT_TRUE(r.quitCalled());
}

// The loading picture is pack image 0, 256 x 64, row 0 at the bottom, drawn
// at depth 1 over x -0.5..0.5 and y -0.125..0.125 with a 60 degree view.
TEST_F(DemoBinary, LoadingPictureShowsPackImageZero) {
    DemoRun r = run(kBin + "/isoloop", {"window"}, {}, 2);
    ASSERT_EQ(r.status, 0) << r.err;
    std::string ppm = slurp(dir + "/first.ppm");
    ASSERT_EQ(ppm.rfind("P6\n640 480\n255\n", 0), 0u);
    const unsigned char* px = (const unsigned char*)ppm.data() + 15;

    setWorkingDir((kBin + "/isoloop").c_str());
    std::vector<unsigned int> image(256 * 64, 0);
    read_bmp8("julia.3ds", image.data(), 0, 256, 64);

    const double halfH = std::tan(30.0 * 3.14159265358979 / 180.0), halfW = halfH * 640 / 480;
    int checked = 0, bad = 0;
    for (int sy = 0; sy < 480; sy += 3) {
        for (int sx = 0; sx < 640; sx += 3) {
            double x = ((sx + 0.5) / 320.0 - 1.0) * halfW;
            double y = (1.0 - (sy + 0.5) / 240.0) * halfH; // PPM rows run top down
            double fi = x * 256 + 128, fj = y * 256 + 32;
            unsigned int expect = 0;
            if (fi >= 0 && fi < 256 && fj >= 0 && fj < 64) {
                // Skip pixels too near an image pixel edge to be unambiguous.
                if (std::fabs(fi - std::floor(fi) - 0.5) > 0.3 ||
                    std::fabs(fj - std::floor(fj) - 0.5) > 0.3)
                    continue;
                expect = image[(int)fj * 256 + (int)fi];
            } else if (fi > -1 && fi < 257 && fj > -1 && fj < 65) {
                continue;
            }
            const unsigned char* p = px + 3 * (sy * 640 + sx);
            int er = (expect >> 16) & 255, eg = (expect >> 8) & 255, eb = expect & 255;
            // Channels are divided by 256, so full white reads back as 254 or 255.
            if (std::abs(p[0] - er) > 3 || std::abs(p[1] - eg) > 3 || std::abs(p[2] - eb) > 3)
                bad++;
            checked++;
        }
    }
    EXPECT_GT(checked, 20000);
    EXPECT_EQ(bad, 0) << "of " << checked << " probed pixels";
}

TEST_F(DemoBinary, NoVideoDriverFailsWithStatusOne) {
    DemoRun r = run(kBin + "/isoloop", {"window"}, {"SDL_VIDEODRIVER=no-such-driver"}, 0);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("Couldn't initialize SDL: ", 0), 0u) << r.err;
    EXPECT_EQ(r.out, "");
}

// Without a display SDL either finds no video device at all, or falls back to
// a text-mode driver that has no OpenGL: both end before any loading work.
TEST_F(DemoBinary, NoDisplayEndsWithTheMatchingMessage) {
    DemoRun r = run(kBin + "/isoloop", {"window"}, {"-DISPLAY", "-SDL_VIDEODRIVER"}, 0);
    if (r.status == 1)
        EXPECT_EQ(r.err.rfind("Couldn't initialize SDL: ", 0), 0u) << r.err;
    else
        EXPECT_EQ(r.err.find("Couldn't set 640x480 OpenGL video mode: "), 0u) << r.err;
    EXPECT_TRUE(r.status == 1 || r.status == 2) << r.status;
    EXPECT_EQ(r.out.find("filtering"), std::string::npos);
}

TEST_F(DemoBinary, NoOpenGLVideoModeFailsWithStatusTwo) {
    DemoRun r = run(kBin + "/isoloop", {"window"}, {"SDL_VIDEODRIVER=dummy"}, 0);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.rfind("Couldn't set 640x480 OpenGL video mode: ", 0), 0u) << r.err;
    EXPECT_TRUE(r.quitCalled());
}

TEST_F(DemoBinary, NoAudioDeviceFailsWithStatusOneAndRestoresTheDisplay) {
    DemoRun r = run(kBin + "/isoloop", {}, {"SDL_AUDIODRIVER=no-such-driver"}, 0);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("Unable to open audio: ", 0), 0u) << r.err;
    expectConsoleLines(r);
    EXPECT_TRUE(r.quitCalled()); // a full-screen start must not strand the desktop
}

TEST_F(DemoBinary, MissingPackIsReportedAndStartUpGoesOn) {
    std::string copy = dir + "/isoloop";
    ASSERT_EQ(std::system(("cp '" + kBin + "/isoloop' '" + copy + "'").c_str()), 0);
    DemoRun r = run(copy, {"window"}, {}, 3);
    EXPECT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_EQ(r.out.rfind(" file " + dir + "/julia.3ds not found!", 0), 0u) << r.out;
    EXPECT_NE(r.out.find(kSecondLine), std::string::npos);
}

TEST_F(DemoBinary, PackIsFoundThroughSymlinkAndPath) {
    std::string link = dir + "/elsewhere";
    ASSERT_EQ(symlink((kBin + "/isoloop").c_str(), link.c_str()), 0);
    DemoRun viaLink = run(link, {"window"}, {}, 3);
    EXPECT_EQ(viaLink.status, 0) << viaLink.err;
    expectConsoleLines(viaLink);

    ASSERT_EQ(chdir(dir.c_str()), 0); // another working directory, started by name
    DemoRun viaPath = run("isoloop", {"window"}, {"PATH=" + kBin + ":/usr/bin:/bin"}, 3);
    EXPECT_EQ(viaPath.status, 0) << viaPath.err;
    expectConsoleLines(viaPath);
}

TEST_F(DemoBinary, PackIsFoundInADirectoryLongerThan255Characters) {
    std::string deep = dir + "/" + std::string(200, 'd') + "/" + std::string(120, 'e');
    ASSERT_EQ(std::system(("mkdir -p '" + deep + "' && cp '" + kBin + "/isoloop' '" + kBin +
                           "/julia.3ds' '" + deep + "/'")
                              .c_str()),
              0);
    DemoRun r = run(deep + "/isoloop", {"window"}, {}, 3);
    EXPECT_EQ(r.status, 0) << r.err << r.out;
    expectConsoleLines(r);
}

} // namespace
