#include "base/console.h"

#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {
thread_local std::string* t_capture = nullptr; // this thread's capture, if any
}

void consolePrint(const char* format, ...) {
    va_list args;
    va_start(args, format);
    if (t_capture) {
        va_list again;
        va_copy(again, args);
        int n = vsnprintf(nullptr, 0, format, again);
        va_end(again);
        if (n > 0) {
            size_t at = t_capture->size();
            t_capture->resize(at + n + 1);
            vsnprintf(&(*t_capture)[at], n + 1, format, args);
            t_capture->resize(at + n);
        }
    } else {
        vprintf(format, args);
        if (fflush(stdout) != 0) clearerr(stdout); // what was lost stays lost
    }
    va_end(args);
}

ConsoleCapture::ConsoleCapture(std::string* into) : outer(t_capture) {
    t_capture = into;
}

ConsoleCapture::~ConsoleCapture() {
    t_capture = outer;
}

void detachFromStandardStreams() {
    for (int fd = 0; fd <= 2; fd++) {
        if (fcntl(fd, F_GETFD) != -1) continue;
        // open gives the lowest free descriptor: this one.
        int got = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (got > 2) close(got);
    }
    signal(SIGPIPE, SIG_IGN);
}
