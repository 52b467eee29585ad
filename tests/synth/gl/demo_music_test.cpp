// The demo's music as the sound device receives it: the real binary under
// Xvfb with SDL's disk audio driver, stopped by SIGTERM. What the callback
// delivered must be non-silent and, aligned by stream frame, equal to the
// offline render over the first 8000 frames wherever the ring had been
// filled when the device played them (those four blocks are synthesized in
// the first frame, before the frame driver draws from the generator).
#include "../music_helpers.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const unsigned int kDeviceFrames = 2048; // frames per callback, as the demo asks
const unsigned int kCompared = 8000;     // frames synthesized before any frame-driver draw

// The disk file as stereo frames; the device format is S16 little-endian.
std::vector<short> framesOf(const std::string& bytes) {
    std::vector<short> s(bytes.size() / 4 * 2);
    for (size_t i = 0; i < s.size(); i++)
        s[i] = (short)(unsigned short)((unsigned char)bytes[2 * i] | (unsigned char)bytes[2 * i + 1]
                                                                         << 8);
    return s;
}

long firstSoundFrame(const std::vector<short>& s) {
    for (size_t i = 0; i < s.size(); i++)
        if (s[i] != 0) return (long)(i / 2);
    return -1;
}

struct Alignment {
    long matched = 0, silent = 0, mismatch = 0; // non-silent equal frames, unfilled, other
};

// Compares the device output from file frame `start` on with the render.
Alignment compareFrom(const std::vector<short>& dev, size_t start, const std::vector<short>& ref) {
    Alignment a;
    for (size_t i = 0; i < kCompared && 2 * (start + i) + 1 < dev.size(); i++) {
        short l = dev[2 * (start + i)], r = dev[2 * (start + i) + 1];
        if (l == ref[2 * i] && r == ref[2 * i + 1])
            a.matched += ref[2 * i] != 0 || ref[2 * i + 1] != 0;
        else if (l == 0 && r == 0)
            a.silent++;
        else
            a.mismatch++;
    }
    return a;
}

struct DemoRun {
    bool started = false; // false: the demo ended by itself before the stop
    int status = -1;      // exit status after SIGTERM, -1 if killed or hung
    std::string err;
};

// Runs the demo until the device has taken the first 8000 frames after the
// first sound (paused start-up time is written as silence), then stops it.
DemoRun runDemo(const std::string& dir, const std::string& audio) {
    std::remove(audio.c_str());
    DemoRun run;
    pid_t pid = fork();
    if (pid == 0) {
        if (!freopen((dir + "/err.txt").c_str(), "w", stderr)) _exit(126);
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", audio.c_str(), 1);
        execl(ISOLOOP_BINARY_DIR "/isoloop", "isoloop", "window", (char*)nullptr);
        _exit(127);
    }
    int status = 0;
    bool exited = pid < 0;
    for (int waited = 0; waited < 1800 && !exited; waited++, usleep(100000)) {
        std::string bytes = readFile(audio);
        long first = firstSoundFrame(framesOf(bytes));
        if (first >= 0 && (long)bytes.size() >= (first + kCompared + 2 * kDeviceFrames) * 4) break;
        exited = waitpid(pid, &status, WNOHANG) == pid;
    }
    run.started = !exited;
    if (!exited) kill(pid, SIGTERM);
    for (int waited = 0; waited < 300 && !exited; waited++, usleep(100000))
        exited = waitpid(pid, &status, WNOHANG) == pid;
    if (!exited && pid > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    } else if (exited && WIFEXITED(status)) {
        run.status = WEXITSTATUS(status);
    }
    run.err = readFile(dir + "/err.txt");
    return run;
}

} // namespace

TEST(DemoMusic, DeviceReceivesTheOfflineRenderFromTheFirstFilledBlock) {
    char tmpl[] = "/tmp/isoloop-music-e2e-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    const std::string dir = tmpl;
    const std::string audio = dir + "/device.raw";

    // A display lost to a concurrent X server start is not the music's fault:
    // try again, a few times, when the demo cannot open its display at all.
    DemoRun run;
    for (int attempt = 0; attempt < 3; attempt++) {
        run = runDemo(dir, audio);
        if (run.started || run.err.find("X11 display") == std::string::npos) break;
        sleep(1);
    }
    std::vector<short> dev = framesOf(readFile(audio));
    runCommand("rm -rf '" + dir + "'");
    ASSERT_TRUE(run.started) << "the demo ended by itself:\n" << run.err;
    EXPECT_EQ(run.status, 0) << "the demo did not end with status 0 on SIGTERM:\n" << run.err;
    long first = firstSoundFrame(dev);
    ASSERT_GE(first, 0) << "the device received only silence";

    // The callback's output starts at stream frame 0 at some whole number of
    // paused device buffers into the file. Exactly one such start may match.
    std::vector<short> ref = renderMusic(kCompared, {4000});
    long found = -1;
    Alignment best;
    for (long p = 0; p * (long)kDeviceFrames <= first; p++) {
        Alignment a = compareFrom(dev, (size_t)p * kDeviceFrames, ref);
        if (a.mismatch == 0 && a.matched > 0) {
            EXPECT_EQ(found, -1) << "two alignments match";
            found = p;
            best = a;
        }
    }
    ASSERT_NE(found, -1) << "no alignment of the device output matches the offline render";
    std::printf("stream starts %ld device buffers into the file; %ld frames matched, %ld silent\n",
                found, best.matched, best.silent);
    // Only frames the device played before the first refill can be silent:
    // at most the device buffers of one callback period and a block more.
    EXPECT_GE(best.matched, (long)(kCompared - 2 * kDeviceFrames - 2000));
    EXPECT_EQ(best.matched + best.silent, (long)kCompared);
}
