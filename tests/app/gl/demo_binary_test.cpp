// The real demo binary, end to end under Xvfb with Mesa and a dummy sound
// driver, a preloaded probe logging swaps and quits and pushing keys: console
// lines, exit statuses, the loading picture, Escape, finding the pack, and
// what each SDL (SDL 1.2 itself or sdl12-compat over SDL2) does with no display
// or no GL. ISOLOOP_SDL ("classic" or "compat"), when set, names the SDL that
// the demo must have loaded.
#include "base/working_dir.h"
#include "files_and_commands.h"
#include "texture/pack_reader.h"

#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace {

const std::string kBin = ISOLOOP_BINARY_DIR;
const char kFirstLine[] = "filtering ground radiation..";
const char kSecondLine[] = "hmm mag die console weg aub?";

// The whole of standard output up to the first frame, after what the texture
// build printed: the polygonizer's lines sit between the two console lines.
std::string consoleText(const std::string& textureLines) {
    const int counts[8][2] = {{2096, 1054},  {6470, 3300}, {9790, 5028}, {4776, 2382},
                              {10714, 5608}, {5144, 2578}, {6064, 3159}, {6616, 3326}};
    std::string out = textureLines + kFirstLine;
    for (const auto& c : counts)
        out += "\nrekenen..[tris" + std::to_string(c[0]) + " verts" + std::to_string(c[1]) + "]\n";
    return out + kSecondLine;
}

struct DemoRun {
    int status = -1, swaps = 0, quits = 0; // status 128 + n when killed by signal n
    std::string out, err;
    std::string driver, sdl; // SDL's video driver; "compat" when SDL2 was mapped, else "classic"
};

class DemoBinary : public ::testing::Test {
  protected:
    const std::string dir = "/tmp/isoloop-e2e-" + std::to_string(getpid());
    void SetUp() override { ASSERT_EQ(runCommand("rm -rf " + dir + " && mkdir " + dir), 0); }
    void TearDown() override { runCommand("rm -rf '" + dir + "'"); }

    // Runs "env... program args" in dir until it exits (a zombie counts);
    // one SIGTERM once stopAfter swaps are logged, SIGKILL after a minute.
    DemoRun run(const std::string& command, int stopAfter) {
        std::string n = std::to_string(stopAfter);
        runCommand(
            "cd '" + dir +
            "' || exit; rm -f probe.log; env SDL_AUDIODRIVER=dummy ISOLOOP_PROBE_LOG=probe.log " +
            "ISOLOOP_PROBE_PPM=first.ppm LD_PRELOAD=" + kBin + "/libisoloop_probe.so " +
            "ASAN_OPTIONS=$ASAN_OPTIONS:verify_asan_link_order=0 " + command +
            " >out.txt 2>err.txt & p=$!; i=0; t=0; while ! grep -qs ') Z' /proc/$p/stat && "
            "[ -e /proc/$p ] && [ $i -lt 1200 ]; do " +
            "[ $t = 0 ] && [ " + n + " -gt 0 ] && [ $(grep -c ^swap probe.log) -ge " + n +
            " ] && kill -TERM $p && t=1; sleep 0.05; i=$((i+1)); done 2>/dev/null; " +
            "kill -KILL $p 2>/dev/null; wait $p; echo $? $(grep -c ^swap probe.log) " +
            "$(grep -c ^quit probe.log) >status.txt");
        DemoRun r;
        std::istringstream(readFile(dir + "/status.txt")) >> r.status >> r.swaps >> r.quits;
        r.out = readFile(dir + "/out.txt"), r.err = readFile(dir + "/err.txt");
        std::istringstream log(readFile(dir + "/probe.log"));
        for (std::string word, rest; log >> word && std::getline(log, rest);) {
            if (word == "driver") r.driver = rest.substr(1);
            if (word == "lib" && r.sdl != "compat")
                r.sdl = rest.find("/libSDL2") != std::string::npos ? "compat" : "classic";
        }
        return r;
    }

    void expectStarted(const DemoRun& r) {
        EXPECT_EQ(r.status, 0) << r.err << r.out;
        EXPECT_EQ(r.out.find(kFirstLine), 0u) << r.out;
        EXPECT_NE(r.out.find(kSecondLine), std::string::npos) << r.out;
    }

    void expectSdlUnderTest(const DemoRun& r) {
        EXPECT_NE(r.sdl, "") << "the probe saw no SDL library";
        if (const char* want = getenv("ISOLOOP_SDL")) {
            EXPECT_EQ(r.sdl, want);
        }
    }
};

// One windowed run: an Escape release and another key do not quit, frames
// run until SIGTERM, then a clean exit.
// The 16 list ids are reserved right after the first console line, before
// the polygonizer's lines, though the meshes were built ahead on a second
// thread.
TEST_F(DemoBinary, ListIdsAreReservedBeforeThePolygonizerLinesArePrinted) {
    DemoRun r = run("ISOLOOP_PROBE_LISTS=1 '" + kBin + "/isoloop' window", 3);
    EXPECT_EQ(r.status, 0) << r.err;
    std::string want = consoleText("");
    want.insert(std::string(kFirstLine).size(), "<glGenLists>");
    EXPECT_EQ(r.out, want);
}

TEST_F(DemoBinary, WindowRunShowsTheLoadingPictureAndEndsWithZeroOnSigterm) {
    DemoRun r = run("ISOLOOP_PROBE_KEYS=5:up-esc,6:down-a '" + kBin + "/isoloop' window", 40);
    expectStarted(r);
    EXPECT_EQ(r.out, consoleText(""));
    expectSdlUnderTest(r);
    EXPECT_EQ(r.driver, "x11");
    EXPECT_GE(r.swaps, 40);
    EXPECT_EQ(r.quits, 1);
    EXPECT_EQ(r.err, "");
    // The loading picture: pack image 0 (256 x 64, row 0 at the bottom) drawn
    // at depth 1 over x -0.5..0.5, y -0.125..0.125 with a 60 degree view.
    std::string ppm = readFile(dir + "/first.ppm");
    ASSERT_EQ(ppm.rfind("P6\n640 480\n255\n", 0), 0u);
    const unsigned char* px = (const unsigned char*)ppm.data() + 15;
    setWorkingDir((kBin + "/isoloop").c_str());
    std::vector<unsigned int> image(256 * 64, 0);
    read_bmp8("julia.3ds", image.data(), 0, 256, 64);
    const double halfH = std::tan(M_PI / 6), halfW = halfH * 640 / 480;
    int checked = 0, bad = 0;
    for (int sy = 0; sy < 480; sy += 3)
        for (int sx = 0; sx < 640; sx += 3) {
            double fi = ((sx + 0.5) / 320.0 - 1.0) * halfW * 256 + 128;
            double fj = (1.0 - (sy + 0.5) / 240.0) * halfH * 256 + 32; // PPM rows run top down
            bool inside = fi >= 0 && fi < 256 && fj >= 0 && fj < 64;
            // Skip pixels near an image pixel edge or the picture's border.
            if (inside ? std::fabs(fi - std::floor(fi) - 0.5) > 0.3 ||
                             std::fabs(fj - std::floor(fj) - 0.5) > 0.3
                       : fi > -1 && fi < 257 && fj > -1 && fj < 65)
                continue;
            unsigned int want = inside ? image[(int)fj * 256 + (int)fi] : 0;
            const unsigned char* p = px + 3 * (sy * 640 + sx);
            // Channels are divided by 256, so full white reads back as 254 or 255.
            for (int c = 0; c < 3; c++)
                bad += std::abs(p[c] - (int)((want >> (16 - 8 * c)) & 255)) > 3;
            checked++;
        }
    EXPECT_GT(checked, 20000);
    EXPECT_EQ(bad, 0) << "of " << checked << " probed pixels";
}

TEST_F(DemoBinary, StartUpFailuresEndWithTheirStatusAndMessage) {
    const std::tuple<const char*, const char*, int, int> cases[] = {
        {"SDL_VIDEODRIVER=no-such-driver isoloop window", "Couldn't initialize SDL: ", 1, 0},
        {"SDL_VIDEODRIVER=dummy isoloop window", "Couldn't set 640x480 OpenGL video mode: ", 2, 1},
        // A full-screen start must restore the desktop when audio fails.
        {"SDL_AUDIODRIVER=no-such-driver isoloop", "Unable to open audio: ", 1, 1},
    };
    for (const auto& [command, message, status, quits] : cases) {
        DemoRun r = run("PATH=" + kBin + ":/usr/bin:/bin " + command, 0);
        EXPECT_EQ(r.status, status) << command;
        EXPECT_EQ(r.err.rfind(message, 0), 0u) << r.err;
        EXPECT_EQ(r.quits, quits) << command;
    }
}

TEST_F(DemoBinary, FullScreenRunEndsWithZeroOnEscapePress) {
    DemoRun r = run("ISOLOOP_PROBE_KEYS=4:down-esc '" + kBin + "/isoloop'", 0);
    expectStarted(r);
    expectSdlUnderTest(r);
    EXPECT_EQ(r.swaps, 4);
    EXPECT_EQ(r.quits, 1);
    EXPECT_EQ(r.err, "");
}

// No display: SDL 1.2 falls back to its text-mode driver (caca), which has no
// GL; SDL2 falls back to its offscreen driver, which has GL through EGL, so
// the demo runs with no window at all. No GL (an X server without GLX): both
// fail to set the mode.
TEST_F(DemoBinary, WithoutDisplayOrGlEachSdlDoesWhatItCan) {
    const std::string videoModeFailed = "Couldn't set 640x480 OpenGL video mode: ";
    const std::string noDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY ";
    // caca's outcome depends on the terminal type: name one.
    DemoRun r = run(noDisplay + "TERM=dumb '" + kBin + "/isoloop' window", 3);
    expectSdlUnderTest(r);
    if (r.sdl == "compat") {
        expectStarted(r);
        EXPECT_EQ(r.driver, "offscreen");
        EXPECT_GE(r.swaps, 3);
        EXPECT_EQ(r.quits, 1);
    } else {
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err.rfind(videoModeFailed, 0), 0u) << r.err;
        EXPECT_EQ(r.driver, "caca");
        EXPECT_EQ(r.quits, 1);
        // With no terminal type either, caca's curses ends the process itself
        // inside SDL_SetVideoMode, with status 1 and its own message.
        DemoRun t = run(noDisplay + "-u TERM '" + kBin + "/isoloop' window", 0);
        EXPECT_EQ(t.status, 1) << t.err;
        EXPECT_NE(t.err.find("Error opening terminal"), std::string::npos) << t.err;
        EXPECT_EQ(t.swaps, 0);
    }
    // The probe goes into the demo only, not into the X server.
    DemoRun g =
        run("env -u LD_PRELOAD xvfb-run -a -s '-extension GLX -noreset' env LD_PRELOAD=" + kBin +
                "/libisoloop_probe.so '" + kBin + "/isoloop' window",
            0);
    EXPECT_EQ(g.status, 2) << g.err << g.out;
    EXPECT_EQ(g.err.rfind(videoModeFailed, 0), 0u) << g.err;
    EXPECT_GT(g.err.size(), videoModeFailed.size() + 1) << "no SDL error text";
    EXPECT_EQ(g.driver, "x11");
    EXPECT_EQ(g.quits, 1);
}

// A copy without the pack beside it: reported, start-up goes on, and an
// Escape press ends the run before the next frame is drawn.
TEST_F(DemoBinary, MissingPackIsReportedAndEscapePressQuits) {
    ASSERT_EQ(runCommand("cp '" + kBin + "/isoloop' '" + dir + "/'"), 0);
    DemoRun r = run("ISOLOOP_PROBE_KEYS=30:down-esc '" + dir + "/isoloop' window", 0);
    EXPECT_EQ(r.status, 0) << r.err << r.out;
    std::string missing;
    for (int k = 0; k < 11; k++) // the loading picture, then the ten texture reads
        missing += " file " + dir + "/julia.3ds not found!";
    EXPECT_EQ(r.out, consoleText(missing));
    EXPECT_EQ(r.swaps, 30);
    EXPECT_EQ(r.quits, 1);
}

// A FIFO in place of the pack is refused at once, a pack of the wrong length
// read as far as it goes; each is named once, and the demo starts and runs
// (a demo waiting on the FIFO would be killed after a minute).
TEST_F(DemoBinary, PackThatIsNoFileOrOfTheWrongLengthIsNamedOnceAndTheDemoRuns) {
    const std::string pack = dir + "/julia.3ds";
    const std::pair<std::string, std::string> cases[] = {
        {"mkfifo '" + pack + "'", " is a FIFO, not a picture pack!"},
        {"head -c 1000 '" + kBin + "/julia.3ds' >'" + pack + "'",
         " has 1000 bytes, a picture pack has 1575936!"}};
    ASSERT_EQ(runCommand("cp '" + kBin + "/isoloop' '" + dir + "/'"), 0);
    for (const auto& [make, how] : cases) {
        ASSERT_EQ(runCommand("rm -f '" + pack + "' && " + make), 0);
        DemoRun r = run("ISOLOOP_PROBE_KEYS=30:down-esc '" + dir + "/isoloop' window", 0);
        EXPECT_EQ(r.status, 0) << r.err << r.out;
        EXPECT_EQ(r.out.rfind(" file " + pack + how + kFirstLine, 0), 0u) << r.out;
        EXPECT_EQ(r.swaps, 30);
    }
}

// Started with a standard stream closed (as some launchers and service
// managers start programs) or writing into a pipe whose reader has gone, the
// show still starts and runs, and SIGTERM still ends it with status 0. A
// demo stuck on the X connection would be killed after a minute.
TEST_F(DemoBinary, ClosedOrDeadStandardStreamsNeverStopTheShow) {
    const std::string demo = "'" + kBin + "/isoloop' window";
    DemoRun noOut = run("sh -c \"exec " + demo + " >&-\"", 5);
    EXPECT_EQ(noOut.status, 0) << noOut.err;
    EXPECT_GE(noOut.swaps, 5);
    EXPECT_EQ(noOut.out, "");

    DemoRun noErr = run("sh -c \"exec " + demo + " 2>&-\"", 5);
    EXPECT_EQ(noErr.status, 0) << noErr.out;
    EXPECT_GE(noErr.swaps, 5);
    EXPECT_EQ(noErr.out, consoleText(""));
    // Something written to the closed stream: the sound device's message.
    DemoRun noErrNoSound =
        run("sh -c \"SDL_AUDIODRIVER=no-such-driver exec " + demo + " 2>&-\"", 0);
    EXPECT_EQ(noErrNoSound.status, 1) << noErrNoSound.out;
    EXPECT_EQ(noErrNoSound.out, consoleText(""));

    // The reader takes five bytes and leaves; the console text after them
    // is lost, the show goes on.
    DemoRun deadPipe =
        run("sh -c \"mkfifo fifo && { head -c 5 fifo >head.txt & exec " + demo + " >fifo; }\"", 5);
    EXPECT_EQ(deadPipe.status, 0) << deadPipe.err;
    EXPECT_GE(deadPipe.swaps, 5);
    EXPECT_EQ(readFile(dir + "/head.txt"), std::string(kFirstLine, 5));
    EXPECT_EQ(deadPipe.err, "");
}

// Through a symlink into a directory longer than 255 characters, and by name
// through PATH from another working directory.
TEST_F(DemoBinary, PackIsFoundThroughSymlinkLongDirectoryAndPath) {
    std::string deep = dir + "/" + std::string(200, 'd') + "/" + std::string(120, 'e');
    ASSERT_EQ(runCommand("mkdir -p '" + deep + "' && cp '" + kBin + "/isoloop' '" + kBin +
                         "/julia.3ds' '" + deep + "/'"),
              0);
    ASSERT_EQ(symlink((deep + "/isoloop").c_str(), (dir + "/elsewhere").c_str()), 0);
    expectStarted(run("./elsewhere window", 3));
    expectStarted(run("PATH=" + kBin + ":/usr/bin:/bin isoloop window", 3));
}

} // namespace
