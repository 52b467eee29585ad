// The start-up work that needs no GL, done on a second thread while SDL and
// GL start on the main thread: the upload bytes of the eighteen textures, the
// eight solid meshes, and heap pages faulted in for the GL driver's window
// set-up, loading picture, uploads and display lists. The console lines of that work are kept
// for the main thread to print at their points. start(), finish() and the
// release calls belong to the main thread; the worker makes no SDL or GL call.
#pragma once
#include <atomic>
#include <string>
#include <thread>

class StartupWork {
  public:
    StartupWork() = default;
    ~StartupWork(); // finishes the work first if it still runs
    StartupWork(const StartupWork&) = delete;
    StartupWork& operator=(const StartupWork&) = delete;

    // Takes the memory (from the main thread's heap) and starts the worker.
    // Needs workingDir set: the worker reads the picture pack.
    void start();
    // Waits for the worker; the results below are valid from here on.
    void finish();

    // Upload bytes of all slots, laid out as buildTextureBytes writes them.
    const unsigned char* textureBytes() const { return bytes; }
    // What the texture build and the polygonizer would have printed.
    const std::string& textureLines() const { return textureLog; }
    const std::string& solidLines() const { return solidLog; }

    // Frees the first warmed block if the worker has touched it already (it
    // does that first); it is not waited for. Call before the video mode is
    // set and again before the loading picture is drawn.
    void releaseEarlyWarmMemory();
    // Frees the texture working buffer and the warmed blocks: call after
    // finish(), just before the GL work whose allocations they are to serve.
    void releaseWarmMemory();
    // Frees the upload bytes once they are uploaded.
    void releaseTextureBytes();

  private:
    void run();

    std::thread worker;
    std::atomic<bool> earlyReady{false}; // the worker is done with early
    std::atomic<bool> hurry{false};      // the main thread waits: stop warming pages
    unsigned char* early = nullptr;      // pages for the driver's window and loading picture
    unsigned int* work = nullptr;        // the texture builder's working buffer
    unsigned char* warm = nullptr;       // pages for the driver, only touched
    unsigned char* bytes = nullptr;      // upload bytes of all slots
    std::string textureLog, solidLog;
};
