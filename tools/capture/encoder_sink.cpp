// The ffmpeg sink. ffmpeg runs in its own process group (a Ctrl-C reaches the
// capture, which then stops it), reads frames on fd 3 and sound on fd 4, and
// gets the format from the options, not from the temporary file's name. Each
// pipe has its own writer thread: ffmpeg reads its inputs in an order of its
// own (all of one while it opens it), and one thread serving both would wait
// on the pipe ffmpeg is not reading.
//
// ffmpeg may stop reading without exiting (a full disk leaves it idle at 0%
// CPU): the writers wait on their pipes a moment at a time, and when neither
// pipe has moved and ffmpeg has neither run nor written for a while, the
// encoder counts as stopped. Its error output is kept for the message.
#include "capture/bounded_queue.h"
#include "capture/capture_sink.h"
#include "capture/output_probe.h"
#include "capture/spawn_process.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <pthread.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Chunk = std::vector<unsigned char>;

using SteadyClock = std::chrono::steady_clock;

// How long ffmpeg may sit idle with input waiting before it counts as stopped:
// longer than any pause of a working encoder, short enough to notice at once.
const auto kStalled = std::chrono::milliseconds(2000);

size_t chunkBytes(const Chunk& c) {
    return c.size();
}

// The commands' stop signals (any sent from outside) go to the drawing
// thread; a writer's SIGPIPE stays its own and comes back as EPIPE.
void blockSignalsInThisThread() {
    sigset_t set;
    sigfillset(&set);
    for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGTRAP})
        sigdelset(&set, sig);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

// What ffmpeg has done so far: CPU ticks plus bytes read and written. Any
// change means it is still at work.
long long activityOf(pid_t pid) {
    long long total = 0;
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/stat", (int)pid);
    if (FILE* f = std::fopen(path, "r")) {
        char buf[1024];
        size_t n = std::fread(buf, 1, sizeof buf - 1, f);
        buf[n] = 0;
        std::fclose(f);
        // Fields after the command name: state is 3, utime 14, stime 15.
        if (const char* p = std::strrchr(buf, ')')) {
            unsigned long long utime = 0, stime = 0;
            if (std::sscanf(p + 1, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &utime,
                            &stime) == 2)
                total += (long long)(utime + stime);
        }
    }
    std::snprintf(path, sizeof path, "/proc/%d/io", (int)pid);
    if (FILE* f = std::fopen(path, "r")) {
        char key[32];
        unsigned long long value;
        while (std::fscanf(f, "%31s %llu", key, &value) == 2)
            if (!std::strcmp(key, "rchar:") || !std::strcmp(key, "wchar:"))
                total += (long long)value;
        std::fclose(f);
    }
    return total;
}

std::string replaceAll(std::string s, const std::string& from, const std::string& to) {
    if (from.empty()) return s;
    for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
        s.replace(at, from.size(), to);
    return s;
}

std::vector<std::string> encoderArgs(const EncoderSpec& s) {
    std::string size = std::to_string(s.width) + "x" + std::to_string(s.height);
    std::string rate = std::to_string(s.fps.a) + "/" + std::to_string(s.fps.b);
    // clang-format off
    std::vector<std::string> args = {
        // -xerror: a failed write of the file's end is a failure, not a word.
        s.ffmpeg, "-hide_banner", "-loglevel", "error", "-nostdin", "-y", "-xerror",
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
    // A file name, never read as a protocol ("pipe:1.mkv", "a-12:00.mkv")
    // or an option ("-x.mp4").
    args.push_back("file:" + s.path);
    return args;
}

// ffmpeg muxes the stream that lags: it takes the next picture only once the
// sound up to that picture is encoded, so pictures wait while the sound
// catches up by its input packet (512 frames), the audio encoder's frame
// (FLAC 4608, AAC 1024) and up to two of the device's 2048-frame requests.
// As many pictures as that span holds at this rate, plus a few, must fit
// between the drawing and the encoder, or each side waits on the other.
int64_t picturesInFlight(const EncoderSpec& s) {
    int64_t lag = 512 + (s.kind == VideoKind::Lossless ? 4608 : 1024) + 2 * CAPTURE_DEVICE_FRAMES;
    int64_t den = (int64_t)CAPTURE_AUDIO_RATE * s.fps.b;
    return 8 + (lag * s.fps.a + den - 1) / den;
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
        final_ = enc.finalPath.empty() ? enc.path : enc.finalPath;
        temp_ = enc.path;
        probe_ = enc.probe;
        // Two video frames' worth of sound, whatever the rate, plus ample
        // room: a pass's whole soundtrack is handed over before its picture,
        // and ffmpeg reads little sound while it waits for a picture.
        int64_t frameBytes = (CAPTURE_AUDIO_RATE * enc.fps.b + enc.fps.a - 1) / enc.fps.a * 4;
        audioQueue_.reset(
            new BoundedQueue<Chunk>((size_t)(2 * frameBytes + (8 << 20)), chunkBytes));
        videoQueue_.reset(new BoundedQueue<Chunk>((size_t)picturesInFlight(enc)));
        int video[2], audio[2], errors[2];
        if (!highPipe(video) || !highPipe(audio) || !highPipe(errors)) {
            *error = std::string("cannot make a pipe: ") + std::strerror(errno);
            return false;
        }
        int rc = 0;
        pid_ = spawnProcess(encoderArgs(enc), {{video[0], 3}, {audio[0], 4}, {errors[1], 2}},
                            ChildGroup::Own, &rc);
        close(video[0]);
        close(audio[0]);
        close(errors[1]);
        video_ = video[1];
        audio_ = audio[1];
        errors_ = errors[0];
        // Writers wait in poll, a moment at a time, never in write.
        fcntl(video_, F_SETFL, fcntl(video_, F_GETFL) | O_NONBLOCK);
        fcntl(audio_, F_SETFL, fcntl(audio_, F_GETFL) | O_NONBLOCK);
        if (pid_ < 0) {
            close(errors_);
            errors_ = -1;
            *error = "cannot run " + enc.ffmpeg + ": " + std::strerror(rc);
            return false;
        }
        encoderPid = pid_;
        lastMove_ = lastActivityAt_ = SteadyClock::now();
        lastActivity_ = activityOf(pid_);
        errorReader_ = std::thread([this] { readErrors(); });
        videoWriter_ = std::thread([this] { writeLoop(*videoQueue_, video_); });
        audioWriter_ = std::thread([this] { writeLoop(*audioQueue_, audio_); });
        return true;
    }

    ~EncoderSink() override { abort(); }

    bool frame(std::vector<unsigned char>&& bgrx) override {
        Pushing pushing(this);
        pictures_++;
        return videoQueue_->push(std::move(bgrx));
    }

    bool sound(const unsigned char* s16le, int64_t frames) override {
        Pushing pushing(this);
        soundFrames_ += frames;
        return audioQueue_->push(Chunk(s16le, s16le + frames * 4));
    }

    bool finish() override {
        videoQueue_->close();
        audioQueue_->close();
        joinWriters();
        int status = reap();
        if (failed_ || status != 0) {
            error_ = reason(status);
            return false;
        }
        std::string why;
        if (probe_ && !outputIsWhole(temp_, pictures_, soundFrames_, &why)) {
            error_ = saidDiskFull() || fileSystemFull(temp_)
                         ? diskFullMessage(final_)
                         : "ffmpeg left '" + final_ + "' incomplete: " + why;
            return false;
        }
        return true;
    }

    void abort() override {
        stop();
        joinWriters();
        reap();
    }

    std::string error() const override { return error_; }

  private:
    // While the drawing thread hands a chunk over (and perhaps waits for room).
    struct Pushing {
        EncoderSink* sink;
        explicit Pushing(EncoderSink* s) : sink(s) {
            sink->pushingSince_ = SteadyClock::now().time_since_epoch().count();
        }
        ~Pushing() { sink->pushingSince_ = 0; }
    };

    // Closes its pipe when done: ffmpeg ends each input at end of file.
    void writeLoop(BoundedQueue<Chunk>& queue, int& fd) {
        blockSignalsInThisThread();
        Chunk c;
        for (;;) {
            idleWriters_++;
            bool got = queue.pop(&c);
            idleWriters_--;
            if (!got) break;
            if (!writeAll(fd, c.data(), c.size())) {
                failed_ = true;
                stop();
                break;
            }
        }
        close(fd);
        fd = -1;
    }

    bool writeAll(int fd, const unsigned char* p, size_t n) {
        while (n > 0) {
            ssize_t done = write(fd, p, n);
            if (done > 0) {
                p += done;
                n -= (size_t)done;
                std::lock_guard<std::mutex> lock(watch_);
                lastMove_ = SteadyClock::now();
                continue;
            }
            if (done < 0 && errno == EINTR) continue;
            if (done == 0 || errno != EAGAIN) return false;
            pollfd w = {fd, POLLOUT, 0};
            if (poll(&w, 1, 200) == 0 && stalled()) {
                stalled_ = true;
                return false;
            }
            if (stopped_) return false;
        }
        return true;
    }

    // Neither pipe has moved, and ffmpeg has not run or written, for kStalled,
    // while it has input waiting on every pipe, or the drawing waits for room.
    // (A writer with nothing to write means ffmpeg may rightly be waiting for
    // the drawing: for a picture that takes long, say, at a low frame rate.)
    bool stalled() {
        std::lock_guard<std::mutex> lock(watch_);
        SteadyClock::time_point now = SteadyClock::now();
        long long activity = activityOf(pid_);
        if (activity != lastActivity_) {
            lastActivity_ = activity;
            lastActivityAt_ = now;
        }
        SteadyClock::rep pushing = pushingSince_;
        bool drawingWaits =
            pushing != 0 &&
            now - SteadyClock::time_point(SteadyClock::duration(pushing)) > kStalled;
        return now - lastMove_ > kStalled && now - lastActivityAt_ > kStalled &&
               (idleWriters_ == 0 || drawingWaits);
    }

    // Ends the encoder (its whole process group) and wakes everyone.
    void stop() {
        stopped_ = true;
        if (pid_ > 0) kill(-pid_, SIGKILL); // a blocked write then fails at once
        videoQueue_->cancel();
        audioQueue_->cancel();
    }

    void readErrors() {
        blockSignalsInThisThread();
        char buf[4096];
        for (;;) {
            ssize_t n = read(errors_, buf, sizeof buf);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            std::lock_guard<std::mutex> lock(watch_);
            said_.append(buf, (size_t)n);
            if (said_.size() > 16384) said_.erase(0, said_.size() - 8192);
        }
        close(errors_);
        errors_ = -1;
    }

    // ffmpeg's last line, under the output's own name.
    std::string lastWords() {
        std::lock_guard<std::mutex> lock(watch_);
        std::string s = said_;
        while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' '))
            s.pop_back();
        size_t nl = s.find_last_of("\r\n");
        if (nl != std::string::npos) s.erase(0, nl + 1);
        return replaceAll(s, temp_, final_);
    }

    bool saidDiskFull() {
        std::lock_guard<std::mutex> lock(watch_);
        return said_.find(std::strerror(ENOSPC)) != std::string::npos ||
               said_.find("No space left on device") != std::string::npos;
    }

    std::string reason(int status) {
        if (saidDiskFull() || fileSystemFull(temp_)) return diskFullMessage(final_);
        std::string why;
        if (stalled_ && failed_)
            why = "ffmpeg stopped reading its input";
        else if (failed_)
            why = "ffmpeg stopped reading";
        else if (stalled_)
            why = "ffmpeg stopped working";
        else
            why = "ffmpeg failed";
        if (status >= 0) why += " (exit status " + std::to_string(status) + ")";
        std::string words = lastWords();
        return words.empty() ? why : why + ": " + words;
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
    // An ffmpeg that sits idle instead of finishing is stopped.
    int reap() {
        if (pid_ <= 0) return -1;
        int status = 0;
        for (;;) {
            pid_t got = waitpid(pid_, &status, WNOHANG);
            if (got == pid_ || (got < 0 && errno != EINTR)) break;
            if (got == 0) {
                usleep(50000);
                if (!stopped_ && stalled()) {
                    stalled_ = true;
                    stop();
                }
            }
        }
        pid_ = -1;
        encoderPid = 0;
        // ffmpeg is gone; anything it started has closed its error output too.
        if (errorReader_.joinable()) errorReader_.join();
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // Pictures in flight (see picturesInFlight); sound is small, and ffmpeg
    // may read none of it until it has opened the video input.
    std::unique_ptr<BoundedQueue<Chunk>> videoQueue_{new BoundedQueue<Chunk>(1)};
    std::unique_ptr<BoundedQueue<Chunk>> audioQueue_{new BoundedQueue<Chunk>(1)};
    std::thread videoWriter_, audioWriter_, errorReader_;
    pid_t pid_ = -1;
    int video_ = -1, audio_ = -1, errors_ = -1;
    std::atomic<bool> failed_{false}, stalled_{false}, stopped_{false};
    bool probe_ = false;
    int64_t pictures_ = 0, soundFrames_ = 0;        // handed over so far
    std::atomic<int> idleWriters_{0};               // writers waiting for a chunk
    std::atomic<SteadyClock::rep> pushingSince_{0}; // 0: the drawing is not handing over
    std::string error_, final_, temp_;
    std::mutex watch_; // what follows, shared by the writers and the error reader
    SteadyClock::time_point lastMove_, lastActivityAt_;
    long long lastActivity_ = 0;
    std::string said_;
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
