#define GL_GLEXT_PROTOTYPES
#include "capture/gl/capture_canvas.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <cstring>

CaptureCanvas::CaptureCanvas(int width, int height, int samples, int frameWidth, int frameHeight)
    : width_(width), height_(height), frameWidth_(frameWidth), frameHeight_(frameHeight),
      rows_((size_t)width * height * 4, '\0') {
    if (samples <= 1) return;
    GLint most = 0;
    glGetIntegerv(GL_MAX_SAMPLES, &most);
    if (most < samples) {
        error_ = "this GL draws at most " + std::to_string(most) + " samples per pixel";
        return;
    }
    glGenFramebuffers(1, &fbo_);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glGenRenderbuffers(1, &colour_);
    glBindRenderbuffer(GL_RENDERBUFFER, colour_);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_RGBA8, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
    glGenRenderbuffers(1, &depth_);
    glBindRenderbuffer(GL_RENDERBUFFER, depth_);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_DEPTH_COMPONENT16, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth_);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        error_ = "no multisampled framebuffer with " + std::to_string(samples) + " samples";
}

CaptureCanvas::~CaptureCanvas() {
    if (!fbo_) return;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &fbo_);
    glDeleteRenderbuffers(1, &colour_);
    glDeleteRenderbuffers(1, &depth_);
}

std::vector<unsigned char> CaptureCanvas::read() {
    std::vector<unsigned char> frame(frameBytes(), 0);
    int x = (frameWidth_ - width_) / 2, y = (frameHeight_ - height_) / 2;
    if (fbo_) {
        // Resolve into the context's own buffer, read there, draw on here.
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        glBlitFramebuffer(0, 0, width_, height_, 0, 0, width_, height_, GL_COLOR_BUFFER_BIT,
                          GL_NEAREST);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, width_, height_, GL_BGRA, GL_UNSIGNED_BYTE, &rows_[0]);
    if (fbo_) glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    size_t stride = (size_t)width_ * 4;
    for (int row = 0; row < height_; row++)
        std::memcpy(&frame[((size_t)(y + row) * frameWidth_ + x) * 4],
                    &rows_[(size_t)(height_ - 1 - row) * stride], stride);
    return frame;
}

void fitInside(int w, int h, int padW, int padH, int* outW, int* outH) {
    // Width-bound when padW / w <= padH / h, in integers.
    if ((long long)padW * h <= (long long)padH * w) {
        *outW = padW;
        *outH = (int)((long long)padW * h / w);
    } else {
        *outH = padH;
        *outW = (int)((long long)padH * w / h);
    }
}
