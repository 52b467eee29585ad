// The demo's start-up once a GL context is current, as steps run in order one
// call at a time, so a host that must return to its own loop between steps
// (a browser page) can. The demo, the tools, the benchmarks and the GL tests
// all start up through it. Console lines go through the console, so a caller
// can capture them. Main thread.
#pragma once

class StartupWork;

class Startup {
  public:
    enum Step {
        LOADING_PICTURE, // the projection and the loading picture, drawn and shown
        FIXED_STATE,     // the fixed GL state and the eighteen textures
        SOLIDS,          // "filtering..", 16 list ids, the meshes, 16 lists, "hmm.."
        AUDIO,           // the sound device opened and playing
        DONE
    };

    // Start-up for a width x height picture. work: the second thread's
    // results (started already), or null to build everything in line.
    Startup(int width, int height, StartupWork* work = nullptr);
    virtual ~Startup() = default;
    Startup(const Startup&) = delete;
    Startup& operator=(const Startup&) = delete;

    Step next() const { return next_; }
    // Runs the next step; returns 0, or the exit status start-up ends with.
    int step();
    // Runs the steps before last; returns 0, or the first exit status.
    int runUntil(Step last = DONE);

  protected:
    int width() const { return width_; }
    int height() const { return height_; }
    // The loading picture is drawn: the demo swaps it to the front.
    virtual void showLoadingPicture() {}
    // Opens and starts the sound device; 0, or the exit status to end with.
    // Without one (tools, tests) there is nothing to open.
    virtual int startAudio() { return 0; }

  private:
    void fixedState();
    void solids();

    int width_, height_;
    StartupWork* work_;
    Step next_ = LOADING_PICTURE;
};

// All of start-up in line, with no sound device, the console lines kept out
// of the caller's output: for the tools, the benchmarks and the GL tests.
void runStartupQuietly(int width, int height);
