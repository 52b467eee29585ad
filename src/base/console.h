// Start-up console output (standard output, flushed at once). A thread that
// builds start-up work ahead of its turn captures its lines instead, so the
// main thread can print them later at the point where they belong.
#pragma once
#include <string>

// printf to standard output, then fflush; or into the calling thread's
// capture while it has one. A console that has gone (a closed pipe, a full
// device) is not the show's concern: a failed write is dropped.
void consolePrint(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The demo's standard streams may be closed, or a pipe nobody reads: every
// closed one of descriptors 0, 1 and 2 is opened on /dev/null, so no
// library's descriptor (the X connection, the sound device) lands there and
// receives console text, and SIGPIPE is ignored. Call before anything else
// opens a descriptor.
void detachFromStandardStreams();

// While alive, the constructing thread's console lines are appended to *into.
class ConsoleCapture {
  public:
    explicit ConsoleCapture(std::string* into);
    ~ConsoleCapture();
    ConsoleCapture(const ConsoleCapture&) = delete;
    ConsoleCapture& operator=(const ConsoleCapture&) = delete;

  private:
    std::string* outer; // the capture this one interrupts, restored at the end
};
