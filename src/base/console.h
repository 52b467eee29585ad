// Start-up console output (standard output, flushed at once). A thread that
// builds start-up work ahead of its turn captures its lines instead, so the
// main thread can print them later at the point where they belong.
#pragma once
#include <string>

// printf to standard output, then fflush; or into the calling thread's
// capture while it has one.
void consolePrint(const char* format, ...) __attribute__((format(printf, 1, 2)));

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
