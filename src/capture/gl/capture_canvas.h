// Where the capture draws: the offscreen context's own colour buffer, or with
// multisampling a multisampled framebuffer (16-bit depth, like the demo's
// display) resolved at every read. Reads give BGRX rows top first (GL's and
// ffmpeg's fast layout; X is not used), placed in a larger black frame when
// padded. Main thread, GL context current.
#pragma once
#include <string>
#include <vector>

class CaptureCanvas {
  public:
    // A width x height picture centred in a frameWidth x frameHeight frame.
    // Binds the drawing target; ok() tells whether it exists.
    CaptureCanvas(int width, int height, int samples, int frameWidth, int frameHeight);
    ~CaptureCanvas();
    CaptureCanvas(const CaptureCanvas&) = delete;
    CaptureCanvas& operator=(const CaptureCanvas&) = delete;

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }

    // The picture as a frame: BGRX, top row first, black around it.
    std::vector<unsigned char> read();
    // Bytes of one frame.
    size_t frameBytes() const { return (size_t)frameWidth_ * frameHeight_ * 4; }

  private:
    int width_, height_, frameWidth_, frameHeight_;
    unsigned fbo_ = 0, colour_ = 0, depth_ = 0;
    std::string error_;
    std::string rows_; // bottom row first, as GL reads it
};

// Largest picture of the aspect w:h that fits in a padW x padH frame.
void fitInside(int w, int h, int padW, int padH, int* outW, int* outH);
