// render-music --seconds S --out FILE.wav [--events FILE.tsv]: the pure music
// stream of a fresh synthesizer (4000-sample updateSynth calls, no frame
// driver in between) as 16-bit stereo 44100 Hz WAV, and optionally every
// posted event. Files are written under temporary names and renamed at the end.
#include "commands.h"

#include "synth/events.h"
#include "synth/synth.h"
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sndfile.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* kUsage =
    "usage: isoloop-tool render-music --seconds S --out FILE.wav [--events FILE.tsv]\n";
const double kMaxSeconds = 86400; // a day: stream frame counts stay 32-bit

struct Options {
    double seconds = -1;
    const char* out = nullptr;
    const char* events = nullptr;
};

// Temporary files, removed if the render is interrupted or fails.
char s_tempWav[4096];
char s_tempEvents[4096];

void removeTemps() {
    if (s_tempWav[0]) unlink(s_tempWav);
    if (s_tempEvents[0]) unlink(s_tempEvents);
    s_tempWav[0] = s_tempEvents[0] = 0;
}

extern "C" void onSignal(int sig) {
    removeTemps(); // unlink is async-signal-safe
    _exit(128 + sig);
}

int badArgs(const char* why) {
    fprintf(stderr, "isoloop-tool render-music: %s\n%s", why, kUsage);
    return 2;
}

int parseArgs(int argc, char** argv, Options* o) {
    for (int i = 0; i < argc; i += 2) {
        if (i + 1 >= argc) return badArgs("missing value after the last option");
        const char* key = argv[i];
        const char* val = argv[i + 1];
        if (!std::strcmp(key, "--seconds")) {
            char* end = nullptr;
            errno = 0;
            o->seconds = std::strtod(val, &end);
            if (errno || end == val || *end || !(o->seconds > 0 && o->seconds <= kMaxSeconds))
                return badArgs("--seconds needs a number of seconds above 0 and at most 86400");
        } else if (!std::strcmp(key, "--out")) {
            o->out = val;
        } else if (!std::strcmp(key, "--events")) {
            o->events = val;
        } else {
            fprintf(stderr, "isoloop-tool render-music: unknown option '%s'\n%s", key, kUsage);
            return 2;
        }
    }
    if (o->seconds < 0) return badArgs("--seconds is required");
    if (!o->out || !*o->out) return badArgs("--out is required");
    if (o->events && !*o->events) return badArgs("--events needs a file name");
    return 0;
}

// Creates a temporary file next to `path` with the usual permissions.
int makeTemp(const char* path, char* temp, size_t size) {
    if (std::snprintf(temp, size, "%s.partXXXXXX", path) >= (int)size) {
        errno = ENAMETOOLONG;
        temp[0] = 0;
        return -1;
    }
    int fd = mkstemp(temp);
    if (fd < 0) {
        temp[0] = 0;
        return -1;
    }
    mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    return fd;
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
    removeTemps();
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
    SF_INFO info;
    std::memset(&info, 0, sizeof info);
    info.samplerate = 44100;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    int fd = makeTemp(o.out, s_tempWav, sizeof s_tempWav);
    if (fd < 0) return fail(o.out, std::strerror(errno));
    SNDFILE* wav = sf_open_fd(fd, SFM_WRITE, &info, SF_TRUE);
    if (!wav) {
        close(fd);
        return fail(o.out, sf_strerror(nullptr));
    }
    FILE* tsv = nullptr;
    if (o.events) {
        int efd = makeTemp(o.events, s_tempEvents, sizeof s_tempEvents);
        if (efd >= 0 && !(tsv = fdopen(efd, "w"))) close(efd);
        if (!tsv) {
            sf_close(wav);
            return fail(o.events, std::strerror(errno));
        }
        fprintf(tsv, "type\tframe\ttime\n");
    }

    const unsigned int total = (unsigned int)std::llround(o.seconds * 44100);
    static short block[4000];
    Progress progress(o.seconds);
    g_events.clear();
    for (unsigned int done = 0; done < total;) {
        unsigned int start = g_bufferPos;
        updateSynth(block, 4000);
        unsigned int keep = total - done < 2000 ? total - done : 2000;
        // Within a block the set order is the posting order: bursts, then drums.
        for (const Event& e : g_events) {
            unsigned int f = frameOfEvent(e, start, 2000);
            if (tsv && f - start < keep) fprintf(tsv, "%u\t%u\t%.9g\n", e.type, f, e.time);
        }
        g_events.clear();
        if (sf_writef_short(wav, block, keep) != (sf_count_t)keep) {
            std::string why = sf_strerror(wav);
            sf_close(wav);
            if (tsv) fclose(tsv);
            return fail(o.out, why.c_str());
        }
        done += keep;
        progress.update(done / 44100.0);
    }
    progress.finish();

    if (sf_close(wav) != 0) {
        if (tsv) fclose(tsv);
        return fail(o.out, "the file could not be completed");
    }
    if (tsv && (std::fflush(tsv) != 0 || std::ferror(tsv) || fsync(fileno(tsv)) != 0)) {
        fclose(tsv);
        return fail(o.events, std::strerror(errno));
    }
    if (tsv && std::fclose(tsv) != 0) return fail(o.events, std::strerror(errno));
    if (std::rename(s_tempWav, o.out) != 0) return fail(o.out, std::strerror(errno));
    s_tempWav[0] = 0;
    if (o.events && std::rename(s_tempEvents, o.events) != 0)
        return fail(o.events, std::strerror(errno));
    s_tempEvents[0] = 0;
    return 0;
}

} // namespace

int cmdRenderMusic(int argc, char** argv) {
    Options o;
    if (int status = parseArgs(argc, argv, &o)) return status;
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    int status = render(o);
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    return status;
}
