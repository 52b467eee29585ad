// The capture in a browser: the page opened as index.html?capture&fps=F&
// seconds=S&size=WxH&keep=J1,J2,... runs the capture's own clock and pass
// loop (the units of isoloop-tool capture) on the demo's start-up and frame
// pass, with no real-time sound, and hands the page what the tool would
// write: the log, the soundtrack (S16 stereo) and the pictures of the kept
// passes. The page compares them with the native tool's.
#include "app/web/web_capture.h"

#include "app/gl/frame_pass.h"
#include "app/gl/startup_steps.h"
#include "base/console.h"
#include "capture/capture_clock.h"
#include "capture/capture_run.h"
#include "capture/capture_text.h"
#include <GL/gl.h>
#include <SDL.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <emscripten.h>
#include <set>
#include <string>
#include <vector>

// A kept pass's picture (RGBA, bottom row first) as a PNG data URL in
// Module.isowebFrames under the pass number.
EM_JS(void, keepPicture, (const unsigned char* px, int pass, int w, int h), {
    var src = HEAPU8.subarray(px, px + w * h * 4);
    var canvas = document.createElement('canvas');
    canvas.width = w;
    canvas.height = h;
    var ctx = canvas.getContext('2d');
    var image = ctx.createImageData(w, h);
    for (var y = 0; y < h; y++)
        image.data.set(src.subarray((h - 1 - y) * w * 4, (h - y) * w * 4), y * w * 4);
    ctx.putImageData(image, 0, 0);
    Module.isowebFrames = Module.isowebFrames || {};
    Module.isowebFrames[pass] = canvas.toDataURL('image/png');
});

EM_JS(void, reportError, (const char* why),
      { window.isoloopCapture = {error : UTF8ToString(why)}; });

EM_JS(void, reportCapture,
      (const char* log, int logBytes, const unsigned char* audio, int audioBytes), {
          window.isoloopCapture = {
              log : UTF8ToString(log, logBytes),
              audio : HEAPU8.slice(audio, audio + audioBytes).buffer,
              frames : Module.isowebFrames || {}
          };
      });

namespace {

struct WebCaptureOptions {
    Rate fps;
    int64_t secondsP = 0, secondsQ = 1; // 0: one whole loop
    int width = 640, height = 480;
    std::set<int64_t> keep;
};

bool parseKeep(const char* text, std::set<int64_t>* keep) {
    for (const char* p = text; *p;) {
        char* end;
        long long j = std::strtoll(p, &end, 10);
        if (end == p || j < 0) return false;
        keep->insert(j);
        p = *end == ',' ? end + 1 : end;
        if (*end && *end != ',') return false;
    }
    return true;
}

// Arguments as the page passes them: name value pairs.
bool parseOptions(int argc, char** argv, WebCaptureOptions* o, std::string* why) {
    for (int i = 0; i + 1 < argc; i += 2) {
        std::string key = argv[i];
        const char* val = argv[i + 1];
        bool ok = key == "fps"       ? parseRate(val, &o->fps)
                  : key == "seconds" ? parseSeconds(val, &o->secondsP, &o->secondsQ)
                  : key == "size"    ? parseSize(val, &o->width, &o->height)
                  : key == "keep"    ? parseKeep(val, &o->keep)
                                     : false;
        if (!ok) {
            *why = "bad capture option " + key + "=" + val;
            return false;
        }
    }
    return argc % 2 == 0 || (*why = "capture options come in pairs", false);
}

// The picture as GL has it, bottom row first, RGBA.
std::vector<unsigned char> readPicture(int w, int h) {
    std::vector<unsigned char> px((size_t)w * h * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    return px;
}

class WebCaptureStartup : public Startup {
  public:
    using Startup::Startup;
    std::vector<unsigned char> loading;

  protected:
    void showLoadingPicture() override { loading = readPicture(width(), height()); }
};

class WebCapture : public CaptureHooks {
  public:
    WebCapture(const WebCaptureOptions& o, const std::vector<unsigned char>& loading, FILE* log)
        : o_(o), loading_(loading), log_(log) {}

    bool sound(const unsigned char* s16le, int64_t frames) override {
        soundtrack.insert(soundtrack.end(), s16le, s16le + frames * 4);
        return true;
    }
    FramePlan drawPass(double t, uint64_t readPos) override { return drawFrame(t, readPos); }
    bool passDone(const PassRecord& pass) override {
        writeLogRow(log_, pass);
        if (!o_.keep.count(pass.pass)) return true;
        const std::vector<unsigned char> px =
            pass.loading ? loading_ : readPicture(o_.width, o_.height);
        keepPicture(px.data(), (int)pass.pass, o_.width, o_.height);
        return true;
    }

    std::vector<unsigned char> soundtrack;

  private:
    const WebCaptureOptions& o_;
    const std::vector<unsigned char>& loading_;
    FILE* log_;
};

} // namespace

int runWebCapture(int argc, char** argv) {
    WebCaptureOptions o;
    std::string why;
    if (!parseOptions(argc, argv, &o, &why)) {
        reportError(why.c_str());
        return 2;
    }
    if (SDL_Init(SDL_INIT_VIDEO) < 0 || !SDL_SetVideoMode(o.width, o.height, 0, SDL_OPENGL)) {
        reportError((std::string("no WebGL: ") + SDL_GetError()).c_str());
        return 1;
    }
    WebCaptureStartup startup(o.width, o.height);
    {
        std::string lines; // the demo's console, not the page's
        ConsoleCapture quiet(&lines);
        startup.runUntil();
    }

    char* logText = nullptr;
    size_t logSize = 0;
    FILE* log = open_memstream(&logText, &logSize);
    writeLogHeader(log);
    CaptureClock clock(o.fps, 400);
    CaptureLength length;
    if (o.secondsP) length.passes = clock.passesFor(o.secondsP, o.secondsQ);
    WebCapture hooks(o, startup.loading, log);
    int64_t passes = runCapture(clock, length, hooks);
    fclose(log);
    if (passes < 0) {
        std::free(logText);
        reportError("the capture stopped");
        return 1;
    }
    reportCapture(logText, (int)logSize, hooks.soundtrack.data(), (int)hooks.soundtrack.size());
    std::free(logText);
    return 0;
}
