#include "capture/output_probe.h"

#include "capture/capture_clock.h"
#include "capture/capture_sink.h"
#include "capture/spawn_process.h"
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// Runs argv with standard output and error read back together; false when it
// cannot run or does not end with 0.
bool runForOutput(const std::vector<std::string>& args, std::string* out) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return false;
    int error = 0;
    pid_t pid = spawnProcess(args, {{fds[1], 1}, {fds[1], 2}}, ChildGroup::Ours, &error);
    close(fds[1]);
    if (pid < 0) {
        close(fds[0]);
        return false;
    }
    char buf[65536];
    for (;;) {
        ssize_t n = read(fds[0], buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        out->append(buf, (size_t)n);
    }
    close(fds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

bool outputIsWhole(const std::string& path, int64_t pictures, int64_t soundFrames,
                   std::string* why) {
    std::string ffprobe = findProgram("ffprobe");
    if (ffprobe.empty()) return true;
    std::string out;
    // One line per packet: stream, start and duration in seconds.
    if (!runForOutput({ffprobe, "-v", "error", "-show_entries",
                       "packet=stream_index,pts_time,duration_time", "-of", "csv=p=0",
                       "file:" + path},
                      &out)) {
        *why = "the finished file cannot be read back";
        return false;
    }
    int64_t video = 0;
    double soundEnd = 0;
    std::string said; // ffprobe's first complaint: a cut packet, a file that ends early
    for (size_t at = 0; at < out.size();) {
        size_t nl = out.find('\n', at);
        if (nl == std::string::npos) nl = out.size();
        std::string line = out.substr(at, nl - at);
        at = nl + 1;
        if (!line.empty() && (line[0] < '0' || line[0] > '9') && said.empty()) said = line;
        // A picture may carry no duration ("N/A"); sound always does.
        int stream;
        double pts, duration;
        int fields = std::sscanf(line.c_str(), "%d,%lf,%lf", &stream, &pts, &duration);
        if (fields >= 1 && stream == 0) video++;
        if (fields == 3 && stream == 1 && pts + duration > soundEnd) soundEnd = pts + duration;
    }
    // Packet times are rounded to the container's tick (a millisecond in .mkv).
    double wanted = (double)soundFrames / CAPTURE_AUDIO_RATE - 0.002;
    if (!said.empty()) {
        size_t bracket = said.find("] ");
        *why = said.substr(said[0] == '[' && bracket != std::string::npos ? bracket + 2 : 0);
        return false;
    }
    if (video != pictures || soundEnd < wanted) {
        char text[160];
        std::snprintf(text, sizeof text,
                      "the finished file holds %lld of %lld pictures and %.3f of %.3f s of sound",
                      (long long)video, (long long)pictures, soundEnd, wanted + 0.002);
        *why = text;
        return false;
    }
    return true;
}
