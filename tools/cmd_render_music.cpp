// render-music --seconds S --out FILE [--events FILE.tsv]: the pure music
// stream of a fresh synthesizer (4000-sample updateSynth calls, no frame
// driver in between) as 16-bit stereo 44100 Hz sound in the format of the
// file's extension (or WAV on standard output for "-"), and optionally every
// posted event. Files are written under temporary names and renamed at the
// end; when any output fails, none is left behind.
#include "args.h"
#include "commands.h"
#include "output_files.h"
#include "sound_file.h"
#include "standard_streams.h"

#include "synth/events.h"
#include "synth/synth_driver.h"
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sndfile.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const CommandSyntax kSyntax{
    "render-music",
    "usage: isoloop-tool render-music --seconds S --out FILE [--events FILE.tsv]\n"
    "  FILE: .wav, .flac, .ogg or .mp3 (where libsndfile writes MPEG), by its extension;\n"
    "  - writes WAV to standard output. --events lists every burst (0) and drum hit (1).\n",
    {"--seconds", "--out", "--events"},
    {}};
const double kMaxSeconds = 86400; // a day: stream frame counts stay 32-bit

struct Options {
    double seconds = -1;
    std::string out, events;
    int format = 0;
};

int parseRenderArgs(int argc, char** argv, Options* o) {
    ParsedArgs a;
    if (int status = parseArgs(kSyntax, argc, argv, &a); status >= 0) return status;
    if (!a.operands.empty())
        return usageError(kSyntax, "unexpected argument '" + a.operands[0] + "'");
    bool hasEvents = false;
    for (const auto& [key, val] : a.options) {
        if (key == "--seconds") {
            if (!parseDouble(val.c_str(), &o->seconds) ||
                !(o->seconds > 0 && o->seconds <= kMaxSeconds))
                return usageError(kSyntax,
                                  "--seconds needs a number of seconds above 0 and at most 86400");
        } else if (key == "--out") {
            o->out = val;
        } else {
            o->events = val;
            hasEvents = true;
        }
    }
    if (o->seconds < 0) return usageError(kSyntax, "--seconds is required");
    if (std::llround(o->seconds * 44100) < 1)
        return usageError(kSyntax, "--seconds is too short to hold one sample (1/44100 s)");
    if (o->out.empty()) return usageError(kSyntax, "--out is required");
    if (hasEvents && o->events.empty()) return usageError(kSyntax, "--events needs a file name");
    std::string why;
    if (!(o->format = soundFormatFor(o->out, &why))) return usageError(kSyntax, why);
    if (hasEvents && sameOutput(o->out, o->events))
        return usageError(kSyntax, "--out and --events name the same file");
    if (o->out == "-" && std::llround(o->seconds * 44100) > kMaxStreamFrames)
        return usageError(kSyntax, "a WAV stream holds at most 24347 seconds");
    if (o->out == "-" && isatty(1))
        return usageError(kSyntax, "standard output is a terminal, not a place for sound");
    return -1;
}

// The stream frame of an event in the block starting at `start`: the first
// frame there whose time stamp is the event's (past 256 s two neighbouring
// frames can share a single-precision stamp).
unsigned int frameOfEvent(const Event& e, unsigned int start, unsigned int frames) {
    for (unsigned int i = 0; i < frames; i++)
        if (eventTimeOfFrame(start + i) == e.time) return start + i;
    return start;
}

int fail(const char* path, const char* why) {
    fprintf(stderr, "isoloop-tool render-music: cannot write '%s': %s\n", path, why);
    return 1;
}

class Progress {
  public:
    explicit Progress(double total) : total_(total), shown_(isatty(2) && total >= 10) {}
    void update(double done) {
        if (!shown_ || done < next_) return;
        fprintf(stderr, "\rrendering %.0f / %.0f s", done, total_);
        next_ = done + 1;
    }
    void finish() {
        if (shown_) fprintf(stderr, "\rrendering %.0f / %.0f s\n", total_, total_);
    }

  private:
    double total_;
    bool shown_;
    double next_ = 0;
};

int render(const Options& o) {
    // A reader that stops early (SIGPIPE) or a closed terminal ends the
    // render as Ctrl-C does.
    OutputFiles outputs({OUTPUT_STOP_SIGNALS});
    using Target = OutputTarget;
    // A link stays a link: what it leads to is written.
    const std::string outPath = followLinks(o.out), eventsPath = followLinks(o.events);
    const Target outTo = outputTarget(outPath), eventsTo = outputTarget(eventsPath);
    const bool stream = outTo != Target::FILE;
    const char* out = outTo == Target::STDOUT ? "standard output" : o.out.c_str();
    const char* events = eventsTo == Target::STDOUT ? "standard output" : o.events.c_str();
    if (outTo == Target::DIRECTORY) return fail(out, "is a directory");
    if (!o.events.empty() && eventsTo == Target::DIRECTORY) return fail(events, "is a directory");
    if (outTo == Target::LOOP) return fail(out, std::strerror(ELOOP));
    if (!o.events.empty() && eventsTo == Target::LOOP) return fail(events, std::strerror(ELOOP));
    // A stream closed when the tool started is open on /dev/null now: writing
    // there would lose the output without a word.
    if ((outTo == Target::STDOUT || eventsTo == Target::STDOUT) && standardStreamClosed(1))
        return fail("standard output", "it is closed");
    if (stream && o.format != (SF_FORMAT_WAV | SF_FORMAT_PCM_16))
        return fail(out, "only WAV can be streamed into a pipe or device");
    const long long total = std::llround(o.seconds * 44100);
    if (stream && total > kMaxStreamFrames)
        return fail(out, "a WAV stream holds at most 24347 seconds");
    int fd = outTo == Target::STDOUT    ? 1
             : outTo == Target::SPECIAL ? open(outPath.c_str(), O_WRONLY | O_CLOEXEC)
                                        : outputs.addFile(outPath);
    if (fd < 0) return fail(out, std::strerror(errno));
    std::string why;
    SoundSink sink;
    sink.fd = fd;
    SNDFILE* sound = openSoundOutput(&sink, o.format, stream, total, &why);
    // Every byte written, the file on the disk, closed: else no output.
    auto closeSound = [&] {
        bool ok = !sound || sf_close(sound) == 0;
        sound = nullptr;
        struct stat st;
        if (ok && sink.error) {
            ok = false;
            errno = sink.error;
        }
        if (ok && fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && fsync(fd) != 0) ok = false;
        int error = errno;
        if (fd != 1 && close(fd) != 0 && ok) {
            ok = false;
            error = errno;
        }
        errno = error;
        return ok;
    };
    if (!sound) {
        closeSound();
        return fail(out, why.c_str());
    }
    FILE* tsv = nullptr;
    if (eventsTo == Target::STDOUT) {
        tsv = stdout;
    } else if (eventsTo == Target::SPECIAL) {
        tsv = std::fopen(eventsPath.c_str(), "w");
    } else if (!o.events.empty()) {
        int efd = outputs.addFile(eventsPath);
        if (efd >= 0 && !(tsv = fdopen(efd, "w"))) close(efd);
    }
    if (!o.events.empty() && !tsv) {
        int error = errno;
        closeSound();
        return fail(events, std::strerror(error));
    }
    if (tsv) fprintf(tsv, "type\tframe\ttime\n");

    static short block[4000];
    Progress progress(o.seconds);
    g_events.clear();
    for (unsigned int done = 0; done < total;) {
        unsigned int start = g_bufferPos;
        updateSynth(block, 4000);
        unsigned int keep = total - done < 2000 ? (unsigned int)(total - done) : 2000;
        // Within a block the set order is the posting order: bursts, then drums.
        for (const Event& e : g_events) {
            unsigned int f = frameOfEvent(e, start, 2000);
            if (tsv && f - start < keep) fprintf(tsv, "%u\t%u\t%.9g\n", e.type, f, e.time);
        }
        g_events.clear();
        if (sf_writef_short(sound, block, keep) != (sf_count_t)keep) {
            why = sink.error ? std::strerror(sink.error) : sf_strerror(sound);
            closeSound();
            if (tsv && tsv != stdout) fclose(tsv);
            return fail(out, why.c_str());
        }
        done += keep;
        progress.update(done / 44100.0);
    }
    progress.finish();

    if (!closeSound()) {
        why = errno ? std::strerror(errno) : "the sound could not be completed";
        if (tsv && tsv != stdout) fclose(tsv);
        return fail(out, why.c_str());
    }
    if (tsv == stdout && (std::fflush(stdout) != 0 || std::ferror(stdout)))
        return fail(events, std::strerror(errno));
    if (tsv && tsv != stdout) {
        bool ok = std::fflush(tsv) == 0 && !std::ferror(tsv) &&
                  (eventsTo == Target::SPECIAL || fsync(fileno(tsv)) == 0);
        int error = errno;
        if (std::fclose(tsv) != 0 || !ok) return fail(events, std::strerror(ok ? errno : error));
    }
    std::string failed; // both outputs or neither
    if (!outputs.commit(&failed)) return fail(failed.c_str(), std::strerror(errno));
    // (A signal caught just before the renames has ended the command there.)
    return 0;
}

} // namespace

int cmdRenderMusic(int argc, char** argv) {
    Options o;
    if (int status = parseRenderArgs(argc, argv, &o); status >= 0) return status;
    return render(o);
}
