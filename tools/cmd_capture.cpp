// capture: films the show on a virtual clock. The demo's own start-up runs in
// a window-less GL context, then passes of its main loop (the same frame the
// demo draws) at exact pass times, while a virtual sound device pulls the ring
// as the real one does; pictures and soundtrack go to ffmpeg or to files.
// Outputs are written under temporary names and renamed when complete.
#include "commands.h"

#include "app/egl/offscreen_gl.h"
#include "app/gl/frame_pass.h"
#include "app/gl/startup_steps.h"
#include "args.h"
#include "base/console.h"
#include "base/working_dir.h"
#include "capture/blend_sink.h"
#include "capture/gl/capture_canvas.h"
#include "capture/capture_progress.h"
#include "capture/capture_run.h"
#include "capture/capture_text.h"
#include "capture/capture_sink.h"
#include "output_dir.h"
#include "output_files.h"
#include "show_pack.h"
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <strings.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* kUsage =
    "usage: isoloop-tool capture OUT.mkv|OUT.mp4 [options]\n"
    "       isoloop-tool capture --frames DIR [options]\n"
    "Films the show frame- and sample-exact on a virtual clock: the demo's own start-up\n"
    "and main loop, pictures and music from one run. OUT.mkv is lossless (FFV1, FLAC),\n"
    "OUT.mp4 is for sharing (H.264, AAC); both need Debian's ffmpeg. --frames DIR writes\n"
    "DIR/000000.png, ... and DIR/audio.wav instead.\n"
    "  --fps F        video frame rate, integer or ratio: 60 (default), 50, 30, 60000/1001;\n"
    "                 from 1 to 1000 frames a second\n"
    "  --loops K      the whole show K times (default 1), up to the pass that draws nothing\n"
    "  --seconds S    S seconds of video instead of whole loops\n"
    "  --loading MS   loading time before the show, milliseconds (default 400)\n"
    "  --size WxH     picture size (default 640x480); the projection follows its aspect\n"
    "  --pad WxH      black bars to a WxH frame, never stretched; without --size the\n"
    "                 picture is the largest 4:3 one that fits\n"
    "  --samples N    multisampled antialiasing with N samples per pixel\n"
    "  --sim-fps R    run the show at R passes a second (a whole multiple of F) and\n"
    "                 average each R/F pictures into one video frame\n"
    "  --log FILE     one tab-separated row per pass\n"
    "  --quiet        no progress line\n"
    "  --stats        at the end, where the time went\n"
    "  -h, --help     this text\n";

struct Options {
    std::string out, frames, log;
    VideoKind kind = VideoKind::Lossless;
    Rate fps, simFps;
    bool blend = false;
    int loops = 1;
    int64_t secondsP = 0, secondsQ = 1; // --seconds as a ratio; 0: loops
    int64_t loadingMs = 400;
    int width = 640, height = 480, padW = 0, padH = 0, samples = 0;
    bool sized = false, quiet = false, stats = false;
};

const CommandSyntax kSyntax = {"capture",
                               kUsage,
                               {"--fps", "--loops", "--seconds", "--loading", "--size", "--pad",
                                "--samples", "--sim-fps", "--log", "--frames"},
                               {"--quiet", "--stats"}};

int badUsage(const std::string& why) {
    return usageError(kSyntax, why);
}

bool endsWith(const std::string& s, const char* tail) {
    size_t n = std::strlen(tail);
    return s.size() > n && strcasecmp(s.c_str() + s.size() - n, tail) == 0;
}

// Returns -1 when the capture goes on, else the exit status to end with.
int parseOptions(int argc, char** argv, Options* o) {
    ParsedArgs args;
    if (int status = parseArgs(kSyntax, argc, argv, &args); status >= 0) return status;
    const std::vector<std::string>& operands = args.operands;
    bool seconds = false, loops = false;
    for (const auto& [key, value] : args.options) {
        const char* val = value.c_str();
        int n = 0;
        bool ok = true;
        if (key == "--quiet" || key == "--stats") {
            (key == "--quiet" ? o->quiet : o->stats) = true;
        } else if (key == "--fps") {
            ok = parseRate(val, &o->fps);
        } else if (key == "--sim-fps") {
            ok = parseRate(val, &o->simFps);
            o->blend = true;
        } else if (key == "--loops") {
            ok = parseInt(val, 1, 200000, &n); // a year of video
            o->loops = n;
            loops = true;
        } else if (key == "--seconds") {
            ok = parseSeconds(val, &o->secondsP, &o->secondsQ);
            seconds = true;
        } else if (key == "--loading") {
            ok = parseInt(val, 0, 3600000, &n);
            o->loadingMs = n;
        } else if (key == "--size") {
            ok = parseSize(val, &o->width, &o->height);
            o->sized = true;
        } else if (key == "--pad") {
            ok = parseSize(val, &o->padW, &o->padH);
        } else if (key == "--samples") {
            ok = parseInt(val, 0, 64, &n);
            o->samples = n;
        } else if (key == "--log") {
            o->log = value;
            ok = !o->log.empty();
        } else if (key == "--frames") {
            o->frames = value;
            while (o->frames.size() > 1 && o->frames.back() == '/')
                o->frames.pop_back();                    // "shots/" names the directory shots
            ok = !o->frames.empty() && o->frames != "-"; // a directory, never a stream
        }
        if (!ok) return badUsage("bad value for " + key + ": '" + value + "'");
    }
    if (seconds && loops) return badUsage("give --loops or --seconds, not both");
    // The show's clock counts milliseconds: above 1000 frames a second frames
    // repeat; below 1, each frame carries minutes of sound to hold in memory.
    if (o->fps.a < o->fps.b || o->fps.a > 1000 * o->fps.b)
        return badUsage("--fps must be from 1 to 1000 frames a second");
    if (o->frames.empty()) {
        if (operands.size() != 1) return badUsage("give one output file, or --frames DIR");
        o->out = operands[0];
        if (endsWith(o->out, ".mp4"))
            o->kind = VideoKind::Sharing;
        else if (!endsWith(o->out, ".mkv"))
            return badUsage("the output must end in .mkv or .mp4 (or use --frames DIR)");
    } else if (!operands.empty()) {
        return badUsage("--frames DIR takes no output file");
    }
    if (o->blend) {
        // R / F = (Ra Fb) / (Rb Fa) must be a whole number.
        __int128 num = (__int128)o->simFps.a * o->fps.b, den = (__int128)o->simFps.b * o->fps.a;
        if (num % den != 0) return badUsage("--sim-fps must be a whole multiple of --fps");
        if (num / den > 1000) return badUsage("--sim-fps is more than 1000 times --fps");
    }
    if (o->padW) {
        if (!o->sized) {
            int w, h;
            fitInside(640, 480, o->padW, o->padH, &w, &h);
            o->width = w;
            o->height = h;
        }
        if (o->width > o->padW || o->height > o->padH)
            return badUsage("--pad must be at least as large as the picture");
    } else {
        o->padW = o->width;
        o->padH = o->height;
    }
    if (o->kind == VideoKind::Sharing && o->frames.empty() && (o->padW % 2 || o->padH % 2))
        return badUsage("H.264 in .mp4 needs an even frame width and height");
    // FFV1's four slices need two rows and two columns.
    if (o->kind == VideoKind::Lossless && o->frames.empty() && (o->padW < 2 || o->padH < 2))
        return badUsage("FFV1 in .mkv needs a frame at least 2x2");
    if (!o->log.empty() && !o->out.empty() && sameOutput(o->log, o->out))
        return badUsage("--log and the output name the same file");
    if (!o->log.empty() && !o->frames.empty() &&
        (sameOutput(o->log, o->frames) || insideDirectory(o->log, o->frames)))
        return badUsage("--log cannot be inside --frames DIR");
    return -1;
}

int failure(const std::string& why) {
    fprintf(stderr, "isoloop-tool capture: %s\n", why.c_str());
    return 1;
}

int interrupted(int sig, CaptureProgress* progress) {
    if (progress) progress->message("");
    fprintf(stderr, "isoloop-tool capture: interrupted, nothing written\n");
    return 128 + sig;
}

// A directory that the finished sequence may replace: none, or an empty one.
bool replaceableDir(const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return errno == ENOENT;
    return S_ISDIR(st.st_mode) && isEmptyDirectory(path);
}

struct Stopwatch {
    using Clock = std::chrono::steady_clock;
    double* total;
    Clock::time_point start = Clock::now();
    explicit Stopwatch(double* t) : total(t) {}
    ~Stopwatch() { *total += std::chrono::duration<double>(Clock::now() - start).count(); }
};

double peakMiB(int who) {
    rusage u;
    getrusage(who, &u);
    return u.ru_maxrss / 1024.0;
}

double cpuSeconds(int who) {
    rusage u;
    getrusage(who, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// The demo's start-up, with the loading picture grabbed where the demo swaps
// it to the front: the capture shows it until the show starts.
class CaptureStartup : public Startup {
  public:
    CaptureStartup(int width, int height, CaptureCanvas& canvas)
        : Startup(width, height), canvas_(canvas) {}
    std::vector<unsigned char> loadingFrame;

  protected:
    void showLoadingPicture() override { loadingFrame = canvas_.read(); }

  private:
    CaptureCanvas& canvas_;
};

// Each pass: the demo's frame, its picture read back, a log row, progress.
class Capture : public CaptureHooks {
  public:
    Capture(CaptureCanvas& canvas, const std::vector<unsigned char>& loadingFrame, FrameSink& sink,
            FILE* log, CaptureProgress& progress, const OutputFiles& outputs)
        : canvas_(canvas), loadingFrame_(loadingFrame), sink_(sink), log_(log), progress_(progress),
          outputs_(outputs) {}

    bool sound(const unsigned char* s16le, int64_t frames) override {
        return sink_.sound(s16le, frames);
    }

    FramePlan drawPass(double t, uint64_t readPos) override {
        Stopwatch watch(&frameTime);
        return drawFrame(t, readPos);
    }

    bool passDone(const PassRecord& pass) override {
        if (outputs_.interrupted()) return false;
        std::vector<unsigned char> frame;
        if (pass.loading) {
            frame = loadingFrame_;
        } else {
            Stopwatch watch(&readTime);
            frame = canvas_.read();
        }
        if (log_) writeLogRow(log_, pass);
        progress_.update(pass);
        Stopwatch watch(&waitTime);
        return sink_.frame(std::move(frame));
    }

    // Seconds spent in the frame (synthesis, scene), in reading the picture
    // back (the rasterizer finishes there) and waiting for the writers.
    double frameTime = 0, readTime = 0, waitTime = 0;

  private:
    CaptureCanvas& canvas_;
    const std::vector<unsigned char>& loadingFrame_;
    FrameSink& sink_;
    FILE* log_;
    CaptureProgress& progress_;
    const OutputFiles& outputs_;
};

int capture(const Options& o) {
    std::string ffmpeg;
    if (o.frames.empty()) {
        ffmpeg = findProgram("ffmpeg");
        if (ffmpeg.empty())
            return failure("ffmpeg not found: install Debian's 'ffmpeg' package, or write a PNG "
                           "sequence and a WAV file with --frames DIR");
    }
    // What is filmed is the show, with its pictures, or nothing.
    setWorkingDir(executablePath("").c_str());
    std::string packError;
    if (!showPackReady(&packError)) return failure(packError);

    // A signal during start-up removes the (still empty) temporaries at once;
    // once the writers run, the passes stop at the next check.
    OutputFiles outputs({OUTPUT_STOP_SIGNALS});
    outputs.stopOnSignal(&encoderPid);
    std::string videoPath; // where ffmpeg or the PNG writer writes
    if (!o.frames.empty()) {
        if (!replaceableDir(o.frames))
            return failure("'" + o.frames + "' exists and is not an empty directory");
        if (!outputs.addDirectory(o.frames))
            return failure("cannot write '" + o.frames + "': " + std::strerror(errno));
        videoPath = outputs.temp(0);
    } else {
        // A link stays a link; a pipe or device is written into, not replaced.
        std::string target = followLinks(o.out);
        switch (outputTarget(target)) {
        case OutputTarget::DIRECTORY:
            return failure("cannot write '" + o.out + "': it is a directory");
        case OutputTarget::LOOP:
            return failure("cannot write '" + o.out + "': " + std::strerror(ELOOP));
        case OutputTarget::SPECIAL:
            if (o.kind == VideoKind::Sharing)
                return failure("cannot write '" + o.out +
                               "': an .mp4 is finished by going back into the file, which a "
                               "pipe or device cannot do; use .mkv");
            videoPath = target;
            break;
        default: {
            int fd = outputs.addFile(target);
            if (fd < 0) return failure("cannot write '" + o.out + "': " + std::strerror(errno));
            close(fd);
            videoPath = outputs.temp(0);
        }
        }
    }
    FILE* log = nullptr;
    if (!o.log.empty()) {
        std::string why;
        int fd = openOutput(outputs, o.log, true, &why); // "-": standard output
        if (fd >= 0 && !(log = streamOf(fd))) why = std::strerror(errno);
        if (!log) return failure("cannot write '" + o.log + "': " + why);
        writeLogHeader(log);
    }
    struct LogCloser {
        FILE*& f;
        ~LogCloser() {
            if (f) fclose(f);
        }
    } closeLog{log};

    Stopwatch::Clock::time_point begin = Stopwatch::Clock::now();
    Rate passRate = o.blend ? o.simFps : o.fps;
    int64_t group = o.blend ? (o.simFps.a * o.fps.b) / (o.simFps.b * o.fps.a) : 1;
    CaptureClock clock(passRate, o.loadingMs);
    CaptureLength length;
    length.loops = o.loops;
    length.group = group;
    // --seconds counts video frames; with blending each is a group of passes.
    if (o.secondsP)
        length.passes = CaptureClock(o.fps, 0).passesFor(o.secondsP, o.secondsQ) * group;
    CaptureProgress progress(!o.quiet && isatty(2), clock, length.passes, o.loops);
    progress.message("starting up: textures, solids, display lists");

    OffscreenGL gl(o.width, o.height);
    if (!gl.ok()) return failure("no offscreen GL context: " + gl.error());
    CaptureCanvas canvas(o.width, o.height, o.samples, o.padW, o.padH);
    if (!canvas.ok()) return failure(canvas.error());

    // The demo's start-up, its picture pack next to the tool; its console
    // lines belong to the demo's console, not the tool's.
    CaptureStartup startup(o.width, o.height, canvas);
    {
        std::string startupLines;
        ConsoleCapture quiet(&startupLines);
        startup.runUntil();
    }

    std::string error;
    std::unique_ptr<FrameSink> sink;
    if (o.frames.empty()) {
        EncoderSpec enc;
        enc.ffmpeg = ffmpeg;
        enc.path = videoPath;
        enc.finalPath = o.out;
        enc.probe = videoPath != followLinks(o.out);
        enc.kind = o.kind;
        enc.width = o.padW;
        enc.height = o.padH;
        enc.fps = o.fps;
        sink = startEncoder(enc, &error);
    } else {
        sink = startFrameFiles(videoPath, o.frames, o.padW, o.padH, &error);
    }
    if (!sink) return failure(error);
    if (group > 1) sink = blendFrames(std::move(sink), group);

    double startup_s = std::chrono::duration<double>(Stopwatch::Clock::now() - begin).count();
    Stopwatch::Clock::time_point drawStart = Stopwatch::Clock::now();
    outputs.deferSignals();
    Capture hooks(canvas, startup.loadingFrame, *sink, log, progress, outputs);
    int64_t passes = runCapture(clock, length, hooks);
    if (passes < 0) {
        if (!outputs.interrupted()) {
            // The writer failed: finishing collects its reason (and ffmpeg's status).
            sink->finish();
            if (outputs.interrupted()) return interrupted(outputs.interrupted(), &progress);
            std::string why = sink->error();
            return failure(why.empty() ? "the output failed" : why);
        }
        sink->abort();
        return interrupted(outputs.interrupted(), &progress);
    }
    progress.message("finishing the output");
    if (!sink->finish()) {
        if (outputs.interrupted()) return interrupted(outputs.interrupted(), &progress);
        return failure(sink->error());
    }
    std::string logWhy;
    FILE* logFile = log;
    log = nullptr;
    if (logFile && !closeOutput(logFile, &logWhy))
        return failure("cannot write '" + o.log + "': " + logWhy);
    std::string failed;
    if (!outputs.commit(&failed)) {
        if (outputs.interrupted()) return interrupted(outputs.interrupted(), &progress);
        return failure("cannot write '" + failed + "': " + std::strerror(errno));
    }
    progress.finish(passes);
    if (o.stats) {
        double wall = std::chrono::duration<double>(Stopwatch::Clock::now() - drawStart).count();
        fprintf(stderr,
                "capture: %lld passes, %.3f s of video; start-up %.2f s, passes %.2f s wall "
                "(%.2fx real time): frame %.2f s, read-back %.2f s, waiting for the writer "
                "%.2f s; CPU: capture %.2f s, encoder %.2f s; peak memory: capture %.0f MiB, "
                "encoder %.0f MiB\n",
                (long long)passes, (double)passes * passRate.b / passRate.a, startup_s, wall,
                (double)passes * passRate.b / passRate.a / wall, hooks.frameTime, hooks.readTime,
                hooks.waitTime, cpuSeconds(RUSAGE_SELF), cpuSeconds(RUSAGE_CHILDREN),
                peakMiB(RUSAGE_SELF), peakMiB(RUSAGE_CHILDREN));
    }
    return 0;
}

} // namespace

int cmdCapture(int argc, char** argv) {
    Options o;
    if (int status = parseOptions(argc, argv, &o); status >= 0) return status;
    return capture(o);
}
