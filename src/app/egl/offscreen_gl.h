// A GL context without a window: Mesa's EGL on the surfaceless platform with a
// pbuffer of the picture's size (16-bit depth, like the demo's display), so
// frames render on a machine without X. One per process; main thread.
#pragma once
#include <string>

class OffscreenGL {
  public:
    // Creates the context and makes it current; ok() tells whether it worked.
    OffscreenGL(int width, int height);
    ~OffscreenGL();
    OffscreenGL(const OffscreenGL&) = delete;
    OffscreenGL& operator=(const OffscreenGL&) = delete;

    bool ok() const { return current; }
    const std::string& error() const { return message; }

  private:
    void* display = nullptr;
    void* surface = nullptr;
    void* context = nullptr;
    bool current = false;
    std::string message;
};

// Reads the w x h colour buffer as RGB rows, top row first.
std::string readPixelsTopDown(int width, int height);
