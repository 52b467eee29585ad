#include "app/egl/offscreen_gl.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <cstdio>

static EGLDisplay openDisplay() {
    // The surfaceless platform needs no X server or GPU; fall back to the
    // default display where it is missing.
    auto getPlatformDisplay =
        (PFNEGLGETPLATFORMDISPLAYEXTPROC)eglGetProcAddress("eglGetPlatformDisplayEXT");
    if (getPlatformDisplay) {
        EGLDisplay d =
            getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (d != EGL_NO_DISPLAY && eglInitialize(d, nullptr, nullptr)) return d;
    }
    EGLDisplay d = eglGetDisplay(EGL_DEFAULT_DISPLAY);
    if (d != EGL_NO_DISPLAY && eglInitialize(d, nullptr, nullptr)) return d;
    return EGL_NO_DISPLAY;
}

static std::string eglFailure(const char* what) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "%s failed (EGL error 0x%04x)", what, eglGetError());
    return buf;
}

OffscreenGL::OffscreenGL(int width, int height) {
    EGLDisplay d = openDisplay();
    if (d == EGL_NO_DISPLAY) {
        message = "no EGL display";
        return;
    }
    display = d;
    const EGLint configAttribs[] = {EGL_SURFACE_TYPE,
                                    EGL_PBUFFER_BIT,
                                    EGL_RENDERABLE_TYPE,
                                    EGL_OPENGL_BIT,
                                    EGL_RED_SIZE,
                                    8,
                                    EGL_GREEN_SIZE,
                                    8,
                                    EGL_BLUE_SIZE,
                                    8,
                                    EGL_DEPTH_SIZE,
                                    16,
                                    EGL_NONE};
    EGLConfig config;
    EGLint count = 0;
    if (!eglChooseConfig(d, configAttribs, &config, 1, &count) || count < 1) {
        message = "no EGL configuration with a 16-bit depth buffer";
        return;
    }
    const EGLint surfaceAttribs[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    surface = eglCreatePbufferSurface(d, config, surfaceAttribs);
    if (surface == EGL_NO_SURFACE) {
        message = eglFailure("eglCreatePbufferSurface");
        return;
    }
    // Desktop GL without a version request: Mesa's compatibility profile,
    // which keeps immediate mode and display lists.
    if (!eglBindAPI(EGL_OPENGL_API)) {
        message = eglFailure("eglBindAPI");
        return;
    }
    context = eglCreateContext(d, config, EGL_NO_CONTEXT, nullptr);
    if (context == EGL_NO_CONTEXT) {
        message = eglFailure("eglCreateContext");
        return;
    }
    if (!eglMakeCurrent(d, surface, surface, context)) {
        message = eglFailure("eglMakeCurrent");
        return;
    }
    current = true;
}

OffscreenGL::~OffscreenGL() {
    if (!display) return;
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (context) eglDestroyContext(display, context);
    if (surface) eglDestroySurface(display, surface);
    eglTerminate(display);
}

std::string readPixelsTopDown(int width, int height) {
    size_t stride = (size_t)width * 3;
    std::string bottomUp(stride * height, '\0');
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, &bottomUp[0]);
    std::string rows(bottomUp.size(), '\0');
    for (int y = 0; y < height; y++)
        rows.replace((size_t)y * stride, stride, bottomUp, (size_t)(height - 1 - y) * stride,
                     stride);
    return rows;
}
