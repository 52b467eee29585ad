// The demo's music as the sound device receives it: the real binary under
// Xvfb with SDL's disk audio driver, stopped by SIGTERM. Aligned by stream
// frame, the device output must equal the offline render over the first 8000
// frames wherever the ring had been filled when the device played them.
#include "../music_helpers.h"
#include "files_and_commands.h"

#include <csignal>
#include <cstring>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const long kDeviceFrames = 2048; // frames per callback, as the demo asks
const long kCompared = 8000;     // frames synthesized before any frame-driver draw

std::vector<short> framesOf(const std::string& bytes) { // the device's native S16
    std::vector<short> s(bytes.size() / 4 * 2);
    if (!s.empty()) std::memcpy(s.data(), bytes.data(), s.size() * 2);
    return s;
}

long firstSoundFrame(const std::vector<short>& s) {
    auto it = std::find_if(s.begin(), s.end(), [](short v) { return v != 0; });
    return it == s.end() ? -1 : (long)((it - s.begin()) / 2);
}

// Runs the demo until the device has taken 8000 frames after the first sound,
// then stops it; returns its exit status (-1 if it ended early or hung).
int runDemo(const std::string& dir, const std::string& audio) {
    pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL); // never outlive a failed test
        if (!freopen((dir + "/err.txt").c_str(), "w", stderr)) _exit(126);
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", audio.c_str(), 1);
        execl(ISOLOOP_BINARY_DIR "/isoloop", "isoloop", "window", (char*)nullptr);
        _exit(127);
    }
    int status = 0, waited = 0;
    for (long first = -1, bytes = 0;
         first < 0 || bytes < (first + kCompared + 2 * kDeviceFrames) * 4; usleep(100000)) {
        std::string raw = readFile(audio);
        first = firstSoundFrame(framesOf(raw)), bytes = (long)raw.size();
        if (waitpid(pid, &status, WNOHANG) == pid) return -1;
        if (++waited > 1800) break; // stopped below; the comparison then fails
    }
    kill(pid, SIGTERM);
    for (waited = 0; waitpid(pid, &status, WNOHANG) != pid; usleep(100000))
        if (++waited > 300) kill(pid, SIGKILL);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(DemoMusic, DeviceReceivesTheOfflineRenderFromTheFirstFilledBlock) {
    char tmpl[] = "/tmp/isoloop-music-e2e-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    const std::string dir = tmpl, audio = dir + "/device.raw";
    int status = runDemo(dir, audio);
    std::vector<short> dev = framesOf(readFile(audio));
    std::string err = readFile(dir + "/err.txt");
    runCommand("rm -rf '" + dir + "'");
    EXPECT_EQ(status, 0) << "no clean exit on SIGTERM:\n" << err;
    long first = firstSoundFrame(dev);
    ASSERT_GE(first, 0) << "the device received only silence";

    // Stream frame 0 lies a whole number of paused device buffers into the
    // file; exactly one such start may match.
    std::vector<short> ref = renderMusic(kCompared, {4000});
    long found = -1, matched = 0, silent = 0;
    for (long p = 0; p * kDeviceFrames <= first; p++) {
        long m = 0, s = 0, bad = 0, at = p * kDeviceFrames;
        for (long i = 0; i < kCompared && 2 * (at + i) + 1 < (long)dev.size(); i++) {
            short l = dev[2 * (at + i)], r = dev[2 * (at + i) + 1];
            if (l == ref[2 * i] && r == ref[2 * i + 1])
                m += ref[2 * i] != 0 || ref[2 * i + 1] != 0;
            else
                (l == 0 && r == 0 ? s : bad)++;
        }
        if (bad || !m) continue;
        EXPECT_EQ(found, -1) << "two alignments match";
        found = p, matched = m, silent = s;
    }
    ASSERT_NE(found, -1) << "no alignment of the device output matches the offline render";
    // Only what the device played before the first refill can be silent.
    EXPECT_GE(matched, kCompared - 2 * kDeviceFrames - 2000);
    EXPECT_EQ(matched + silent, kCompared);
}
