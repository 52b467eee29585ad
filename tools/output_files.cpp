#include "output_files.h"

#include "standard_streams.h"
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <pthread.h>
#include <sys/syscall.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What the signal handler reaches: plain arrays and flags only.
struct Output {
    char temp[4096]; // "" once renamed or removed
    char final[4096];
    bool directory;
    bool renamed; // in place, to be removed again if a later one fails
};
Output s_outputs[OutputFiles::MAX_OUTPUTS];
volatile sig_atomic_t s_count = 0;
volatile sig_atomic_t s_deferred = 0;
volatile sig_atomic_t s_interrupted = 0;
const volatile sig_atomic_t* s_child = nullptr;
int s_signals[16];
int s_signalCount = 0;

// Async-signal-safe: unlink, rmdir, and a directory's entries read with the
// raw system call (opendir would allocate, and a signal may come in malloc).
void removeOutput(Output& o) {
    if (!o.temp[0]) return;
    if (o.directory) {
        int dir = open(o.temp, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            alignas(8) char buf[4096];
            for (;;) {
                long n = syscall(SYS_getdents64, dir, buf, sizeof buf);
                if (n <= 0) break;
                for (long at = 0; at < n;) {
                    // struct linux_dirent64: ino 8, off 8, reclen 2, type 1, name.
                    unsigned short reclen;
                    std::memcpy(&reclen, buf + at + 16, sizeof reclen);
                    const char* name = buf + at + 19;
                    if (std::strcmp(name, ".") && std::strcmp(name, "..")) unlinkat(dir, name, 0);
                    at += reclen;
                }
            }
            close(dir);
        }
        rmdir(o.temp);
    } else {
        unlink(o.temp);
    }
    o.temp[0] = 0;
}

extern "C" void onOutputSignal(int sig) {
    // Recorded first: whoever sees the child's pipe break then also sees why.
    if (s_deferred && !s_interrupted) s_interrupted = sig;
    if (s_child && *s_child > 0) kill(-(pid_t)*s_child, SIGKILL);
    if (s_deferred) return;
    for (int k = 0; k < s_count; k++)
        removeOutput(s_outputs[k]);
    _exit(128 + sig);
}

// Holds the caught signals back while a temporary is made and counted: one
// that came in between would leave it behind. Other threads block them.
class HoldSignals {
  public:
    HoldSignals() {
        sigset_t block;
        sigemptyset(&block);
        for (int k = 0; k < s_signalCount; k++)
            sigaddset(&block, s_signals[k]);
        pthread_sigmask(SIG_BLOCK, &block, &old_);
    }
    ~HoldSignals() {
        int error = errno;
        pthread_sigmask(SIG_SETMASK, &old_, nullptr);
        errno = error;
    }

  private:
    sigset_t old_;
};

bool tempName(const std::string& path, Output* o) {
    if (std::snprintf(o->temp, sizeof o->temp, "%s.partXXXXXX", path.c_str()) >=
            (int)sizeof o->temp ||
        path.size() >= sizeof o->final) {
        o->temp[0] = 0;
        errno = ENAMETOOLONG;
        return false;
    }
    std::memcpy(o->final, path.c_str(), path.size() + 1);
    return true;
}

// mkstemp and mkdtemp make private entries; the output gets the usual mode.
mode_t usualMode(mode_t full) {
    mode_t mask = umask(0);
    umask(mask);
    return full & ~mask;
}

} // namespace

OutputFiles::OutputFiles(std::initializer_list<int> signals) {
    s_count = 0;
    s_deferred = 0;
    s_interrupted = 0;
    s_child = nullptr;
    s_signalCount = 0;
    for (int sig : signals) {
        if (s_signalCount == (int)(sizeof s_signals / sizeof s_signals[0])) break;
        s_signals[s_signalCount++] = sig;
        std::signal(sig, onOutputSignal);
    }
}

OutputFiles::~OutputFiles() {
    for (int k = 0; k < s_signalCount; k++)
        std::signal(s_signals[k], SIG_DFL);
    s_signalCount = 0;
    removeAll();
    s_child = nullptr;
}

int OutputFiles::addFile(const std::string& path) {
    if (s_count == MAX_OUTPUTS) {
        errno = EMFILE;
        return -1;
    }
    HoldSignals hold;
    Output& o = s_outputs[s_count];
    o.directory = o.renamed = false;
    if (!tempName(path, &o)) return -1;
    int fd = mkstemp(o.temp);
    if (fd < 0) {
        o.temp[0] = 0;
        return -1;
    }
    fchmod(fd, usualMode(0666));
    s_count = s_count + 1; // visible to the handler once the name is complete
    return fd;
}

bool OutputFiles::addDirectory(const std::string& path) {
    if (s_count == MAX_OUTPUTS) {
        errno = EMFILE;
        return false;
    }
    HoldSignals hold;
    Output& o = s_outputs[s_count];
    o.directory = true;
    o.renamed = false;
    if (!tempName(path, &o)) return false;
    if (!mkdtemp(o.temp)) {
        o.temp[0] = 0;
        return false;
    }
    chmod(o.temp, usualMode(0777));
    s_count = s_count + 1;
    return true;
}

int OutputFiles::count() const {
    return s_count;
}

const char* OutputFiles::temp(int k) const {
    return k < s_count ? s_outputs[k].temp : "";
}

bool OutputFiles::commit(std::string* failed) {
    // No signal between the renames: it would leave some outputs in place and
    // not the others. One that came before keeps everything from being placed.
    sigset_t block, old, pending;
    sigemptyset(&block);
    for (int k = 0; k < s_signalCount; k++)
        sigaddset(&block, s_signals[k]);
    sigprocmask(SIG_BLOCK, &block, &old);
    sigpending(&pending);
    bool stopped = s_interrupted != 0;
    for (int k = 0; k < s_signalCount; k++)
        stopped = stopped || sigismember(&pending, s_signals[k]);
    if (stopped) {
        removeAll();
        failed->clear();
        sigprocmask(SIG_SETMASK, &old, nullptr); // the pending one is handled here
        errno = EINTR;
        return false;
    }
    for (int k = 0; k < s_count; k++) {
        Output& o = s_outputs[k];
        if (std::rename(o.temp, o.final) == 0) {
            o.temp[0] = 0;
            o.renamed = true;
            continue;
        }
        int error = errno;
        *failed = o.final;
        for (int j = 0; j < k; j++)
            if (s_outputs[j].renamed && !s_outputs[j].directory) unlink(s_outputs[j].final);
        removeAll();
        sigprocmask(SIG_SETMASK, &old, nullptr);
        errno = error;
        return false;
    }
    s_count = 0;
    sigprocmask(SIG_SETMASK, &old, nullptr);
    return true;
}

void OutputFiles::removeAll() {
    for (int k = 0; k < s_count; k++)
        removeOutput(s_outputs[k]);
    s_count = 0;
}

void OutputFiles::deferSignals() {
    s_deferred = 1;
}

int OutputFiles::interrupted() const {
    return s_interrupted;
}

void OutputFiles::stopOnSignal(const volatile sig_atomic_t* pid) {
    s_child = pid;
}

OutputTarget outputTarget(const std::string& path) {
    struct stat st;
    if (path == "-") return OutputTarget::STDOUT;
    if (stat(path.c_str(), &st) != 0)
        return errno == ELOOP ? OutputTarget::LOOP : OutputTarget::FILE;
    if (S_ISREG(st.st_mode)) return OutputTarget::FILE;
    return S_ISDIR(st.st_mode) ? OutputTarget::DIRECTORY : OutputTarget::SPECIAL;
}

std::string followLinks(const std::string& path) {
    std::string p = path;
    for (int depth = 0; depth < 40; depth++) {
        struct stat st;
        if (lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
        char target[4096];
        ssize_t n = readlink(p.c_str(), target, sizeof target - 1);
        if (n <= 0) return p;
        target[n] = 0;
        size_t slash = p.rfind('/');
        p = target[0] == '/' || slash == std::string::npos ? std::string(target)
                                                           : p.substr(0, slash + 1) + target;
    }
    return p;
}

namespace {

// The directory a name lies in, resolved, plus its last part: two names for
// one file give the same (hard links aside, which stat catches).
std::string resolvedName(const std::string& path) {
    std::string p = followLinks(path);
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    size_t slash = p.rfind('/');
    std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : p.substr(0, slash);
    char* real = realpath(dir.c_str(), nullptr);
    if (!real) // a directory still to be made: resolve what exists of it
        return slash == std::string::npos || dir == p ? p : resolvedName(dir) + p.substr(slash);
    std::string r = std::string(real) + (std::strcmp(real, "/") ? "/" : "") + p.substr(slash + 1);
    std::free(real);
    return r;
}

} // namespace

bool sameOutput(const std::string& a, const std::string& b) {
    if (a == "-" || b == "-") return a == b; // standard output, not a file named "-"
    if (a == b || resolvedName(a) == resolvedName(b)) return true;
    struct stat sa, sb;
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

bool insideDirectory(const std::string& path, const std::string& dir) {
    std::string d = resolvedName(dir), p = resolvedName(path);
    return p.size() > d.size() && p.compare(0, d.size(), d) == 0 && p[d.size()] == '/';
}

int openOutput(OutputFiles& outputs, const std::string& name, bool standardOutput,
               std::string* why) {
    std::string target = followLinks(name);
    int fd = -1;
    switch (outputTarget(target)) {
    case OutputTarget::STDOUT:
        if (!standardOutput) {
            *why = "not a file name";
            return -1;
        }
        if (standardStreamClosed(1)) {
            *why = "standard output is closed";
            return -1;
        }
        return 1;
    case OutputTarget::DIRECTORY:
        *why = "it is a directory";
        return -1;
    case OutputTarget::LOOP:
        *why = std::strerror(ELOOP);
        return -1;
    case OutputTarget::SPECIAL: // a pipe or a device: never replaced
        fd = open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        break;
    case OutputTarget::FILE:
        fd = outputs.addFile(target);
        break;
    }
    if (fd < 0) *why = std::strerror(errno);
    return fd;
}

FILE* streamOf(int fd) {
    FILE* f = fdopen(fd, "wb");
    if (!f) {
        int error = errno;
        if (fd > 2) close(fd);
        errno = error;
    }
    return f;
}

bool closeOutput(FILE* f, std::string* why) {
    int fd = fileno(f);
    struct stat st;
    bool ok = std::fflush(f) == 0 && !std::ferror(f);
    int error = ok ? 0 : errno ? errno : EIO;
    // A plain file is whole only once it is on the disk.
    if (ok && fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && fsync(fd) != 0) {
        ok = false;
        error = errno;
    }
    if (std::fclose(f) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (!ok) *why = std::strerror(error);
    return ok;
}
