// The demo and the capture start up through the same steps: their GL calls,
// traced by apitrace (the demo in an X window, the capture window-less), are
// the same from the first viewport to the last display list, call for call
// and argument for argument. Only the way the loading picture is shown
// differs: the demo swaps it to the front, the capture reads it back.
// sdl12-compat (the SDL 1.2 of Debian 13) draws the window through a scaling
// framebuffer of its own, 13 calls a start-up that the tracer cannot tell from
// the demo's; SDL12COMPAT_OPENGL_SCALING=0 turns it off for the traced run, so
// only the demo's own calls are compared. SDL 1.2 itself ignores the variable.
#include "golden.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const std::string kBin = ISOLOOP_BINARY_DIR;

// The GL calls of a trace, numbers stripped, from the first real glViewport
// to the last glEndList; window-system calls and the capture's read-back left out.
std::vector<std::string> startupCalls(const std::string& dump) {
    std::vector<std::string> calls;
    std::istringstream in(dump);
    size_t lastList = 0;
    for (std::string line; std::getline(in, line);) {
        size_t space = line.find(' ');
        if (space == std::string::npos || line.find("// fake") != std::string::npos) continue;
        std::string call = line.substr(space + 1);
        if (call.rfind("gl", 0) != 0 || call.rfind("glX", 0) == 0) continue;
        if (call.rfind("glReadPixels", 0) == 0 || call.rfind("glPixelStorei", 0) == 0) continue;
        if (calls.empty() && call.rfind("glViewport", 0) != 0) continue;
        calls.push_back(call);
        if (call.rfind("glEndList", 0) == 0) lastList = calls.size();
    }
    calls.resize(lastList);
    return calls;
}

TEST(StartupStream, TheCaptureStartsUpWithTheDemosGlCalls) {
    if (runCommand("command -v apitrace >/dev/null") != 0)
        GTEST_SKIP() << "SKIPPED: apitrace is not installed (Debian package apitrace)";
    const std::string dir = "/tmp/isoloop-stream-" + std::to_string(getpid());
    ASSERT_EQ(runCommand("rm -rf " + dir + " && mkdir " + dir), 0);
    // The probe presses Escape at the third swap: the first frame is drawn.
    ASSERT_EQ(runCommand("cd " + dir +
                         " && env SDL_AUDIODRIVER=dummy SDL12COMPAT_OPENGL_SCALING=0 "
                         "ISOLOOP_PROBE_LOG=probe.log "
                         "ISOLOOP_PROBE_KEYS=3:down-esc LD_PRELOAD=" +
                         kBin + "/libisoloop_probe.so apitrace trace --api gl -o demo.trace '" +
                         kBin + "/isoloop' window >demo.out 2>demo.err"),
              0)
        << readFile(dir + "/demo.err");
    ASSERT_EQ(runCommand("cd " + dir + " && apitrace trace --api egl -o capture.trace '" + kBin +
                         "/isoloop-tool' capture --frames shots --seconds 0.1 --quiet "
                         ">capture.out 2>capture.err"),
              0)
        << readFile(dir + "/capture.err");
    ASSERT_EQ(runCommand("cd " + dir + " && apitrace dump --color=never demo.trace >demo.txt && " +
                         "apitrace dump --color=never capture.trace >capture.txt"),
              0);
    std::vector<std::string> demo = startupCalls(readFile(dir + "/demo.txt"));
    std::vector<std::string> capture = startupCalls(readFile(dir + "/capture.txt"));
    runCommand("rm -rf " + dir);
    // The loading picture alone is 98,000 calls; the lists far more.
    ASSERT_GT(demo.size(), 500000u);
    ASSERT_EQ(demo.size(), capture.size());
    for (size_t i = 0; i < capture.size(); i++)
        ASSERT_EQ(demo[i], capture[i]) << "call " << i;
}

} // namespace
