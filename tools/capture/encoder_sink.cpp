// The ffmpeg sink. ffmpeg runs in its own process group (a Ctrl-C reaches the
// capture, which then stops it), reads frames on fd 3 and sound on fd 4, and
// gets the format from the options, not from the temporary file's name. Each
// pipe has its own writer thread: ffmpeg reads its inputs in an order of its
// own (all of one while it opens it), and one thread serving both would wait
// on the pipe ffmpeg is not reading.
#include "capture/bounded_queue.h"
#include "capture/capture_sink.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

using Chunk = std::vector<unsigned char>;

bool writeAll(int fd, const unsigned char* p, size_t n) {
    while (n > 0) {
        ssize_t done = write(fd, p, n);
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) return false;
        p += done;
        n -= (size_t)done;
    }
    return true;
}

std::vector<std::string> encoderArgs(const EncoderSpec& s) {
    std::string size = std::to_string(s.width) + "x" + std::to_string(s.height);
    std::string rate = std::to_string(s.fps.a) + "/" + std::to_string(s.fps.b);
    // clang-format off
    std::vector<std::string> args = {
        s.ffmpeg, "-hide_banner", "-loglevel", "error", "-nostdin", "-y",
        // Raw inputs of known layout: nothing to probe. A few frames queue in
        // ffmpeg (each is a whole picture); sound packets are small.
        "-probesize", "32", "-analyzeduration", "0", "-thread_queue_size", "4",
        "-f", "rawvideo", "-pix_fmt", "bgr0", "-video_size", size, "-framerate", rate,
        "-i", "pipe:3",
        "-probesize", "32", "-analyzeduration", "0", "-thread_queue_size", "1024",
        "-f", "s16le", "-ar", "44100", "-ac", "2", "-i", "pipe:4",
        "-map", "0:v", "-map", "1:a"};
    std::vector<std::string> codec;
    if (s.kind == VideoKind::Lossless) {
        codec = {"-c:v", "ffv1", "-level", "3", "-g", "1", "-slices", "4", "-slicecrc", "1",
                 "-c:a", "flac", "-f", "matroska"};
    } else {
        codec = {"-vf", "scale=out_color_matrix=bt709:out_range=tv,format=yuv420p",
                 "-c:v", "libx264", "-preset", "medium", "-crf", "18",
                 "-colorspace", "bt709", "-color_primaries", "bt709", "-color_trc", "bt709",
                 "-c:a", "aac", "-b:a", "256k", "-movflags", "+faststart", "-f", "mp4"};
    }
    // clang-format on
    args.insert(args.end(), codec.begin(), codec.end());
    args.push_back(s.path);
    return args;
}

// A pipe whose ends sit above the descriptors the child is given.
bool highPipe(int fds[2]) {
    int raw[2];
    if (pipe(raw) != 0) return false;
    fds[0] = fcntl(raw[0], F_DUPFD_CLOEXEC, 10);
    fds[1] = fcntl(raw[1], F_DUPFD_CLOEXEC, 10);
    close(raw[0]);
    close(raw[1]);
    return fds[0] >= 0 && fds[1] >= 0;
}

class EncoderSink : public FrameSink {
  public:
    bool start(const EncoderSpec& enc, std::string* error) {
        int video[2], audio[2];
        if (!highPipe(video) || !highPipe(audio)) {
            *error = std::string("cannot make a pipe: ") + std::strerror(errno);
            return false;
        }
        std::vector<std::string> args = encoderArgs(enc);
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(&a[0]);
        argv.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_adddup2(&actions, video[0], 3);
        posix_spawn_file_actions_adddup2(&actions, audio[0], 4);
        posix_spawnattr_t attr;
        posix_spawnattr_init(&attr);
        sigset_t defaults;
        sigemptyset(&defaults);
        sigaddset(&defaults, SIGPIPE);
        sigaddset(&defaults, SIGINT);
        sigaddset(&defaults, SIGTERM);
        posix_spawnattr_setsigdefault(&attr, &defaults);
        posix_spawnattr_setpgroup(&attr, 0);
        posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
        int rc = posix_spawn(&pid_, enc.ffmpeg.c_str(), &actions, &attr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attr);
        close(video[0]);
        close(audio[0]);
        video_ = video[1];
        audio_ = audio[1];
        if (rc != 0) {
            pid_ = -1;
            *error = "cannot run " + enc.ffmpeg + ": " + std::strerror(rc);
            return false;
        }
        encoderPid = pid_;
        videoWriter_ = std::thread([this] { writeLoop(videoQueue_, video_); });
        audioWriter_ = std::thread([this] { writeLoop(audioQueue_, audio_); });
        return true;
    }

    ~EncoderSink() override { abort(); }

    bool frame(std::vector<unsigned char>&& bgrx) override {
        return videoQueue_.push(std::move(bgrx));
    }

    bool sound(const unsigned char* s16le, int64_t frames) override {
        return audioQueue_.push(Chunk(s16le, s16le + frames * 4));
    }

    bool finish() override {
        videoQueue_.close();
        audioQueue_.close();
        joinWriters();
        int status = reap();
        if (failed_) {
            error_ = "ffmpeg stopped reading";
            if (status >= 0) error_ += " (exit status " + std::to_string(status) + ")";
            return false;
        }
        if (status != 0) {
            error_ = "ffmpeg failed (exit status " + std::to_string(status) + ")";
            return false;
        }
        return true;
    }

    void abort() override {
        if (pid_ > 0) kill(pid_, SIGKILL); // a blocked write then fails at once
        videoQueue_.cancel();
        audioQueue_.cancel();
        joinWriters();
        reap();
    }

    std::string error() const override { return error_; }

  private:
    // Closes its pipe when done: ffmpeg ends each input at end of file.
    void writeLoop(BoundedQueue<Chunk>& queue, int& fd) {
        Chunk c;
        while (queue.pop(&c)) {
            if (!writeAll(fd, c.data(), c.size())) {
                failed_ = true;
                videoQueue_.cancel();
                audioQueue_.cancel();
                break;
            }
        }
        close(fd);
        fd = -1;
    }

    void joinWriters() {
        if (videoWriter_.joinable()) videoWriter_.join();
        if (audioWriter_.joinable()) audioWriter_.join();
        for (int* fd : {&video_, &audio_}) {
            if (*fd >= 0) close(*fd);
            *fd = -1;
        }
    }

    // The exit status, or -1 when it died of a signal or was already reaped.
    int reap() {
        if (pid_ <= 0) return -1;
        int status = 0;
        while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        pid_ = -1;
        encoderPid = 0;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // A few frames in flight; sound is small, and ffmpeg may read none of it
    // until it has opened the video input.
    BoundedQueue<Chunk> videoQueue_{8};
    BoundedQueue<Chunk> audioQueue_{1 << 14};
    std::thread videoWriter_, audioWriter_;
    pid_t pid_ = -1;
    int video_ = -1, audio_ = -1;
    std::atomic<bool> failed_{false};
    std::string error_;
};

} // namespace

volatile sig_atomic_t encoderPid = 0;

std::string findProgram(const char* name) {
    const char* path = getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        std::string dir = dirs.substr(start, end - start);
        std::string file = (dir.empty() ? "." : dir) + "/" + name;
        struct stat st;
        if (stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(file.c_str(), X_OK) == 0)
            return file;
        start = end + 1;
    }
    return "";
}

std::unique_ptr<FrameSink> startEncoder(const EncoderSpec& enc, std::string* error) {
    std::unique_ptr<EncoderSink> sink(new EncoderSink);
    if (!sink->start(enc, error)) return nullptr;
    return sink;
}
