// What needs no GL (texture bytes, meshes) is built meanwhile on a second
// thread; start-up prints its console lines at the points where the work
// belongs.
#include "app/sdl/sdl_main.h"

#include "app/gl/startup_steps.h"
#include "app/sdl/display.h"
#include "app/sdl/luz.h"
#include "app/startup_work.h"
#include "base/console.h"
#include "base/working_dir.h"
#include "synth/sdl/audio_device.h"
#include <SDL.h>

namespace {

// The demo's host: the loading picture swapped to the front, SDL's device.
class DemoStartup : public Startup {
  public:
    using Startup::Startup;

  protected:
    void showLoadingPicture() override { SDL_GL_SwapBuffers(); }
    int startAudio() override {
        if (initAudio() != 0) {
            // Leaving without SDL_Quit would strand a full-screen desktop at 640x480.
            SDL_Quit();
            return 1;
        }
        SDL_PauseAudio(0);
        return 0;
    }
};

DemoStartup* s_startup = nullptr; // the start-up SDL_main runs, while it runs

} // namespace

void initGL() {
    s_startup->runUntil(Startup::SOLIDS);
}

extern "C" int SDL_main(int argc, char** argv) {
    // Whoever started the demo may have left it no console at all.
    detachFromStandardStreams();
    // The pack lies next to the real executable, however it was started.
    setWorkingDir(executablePath(argv[0]).c_str());
    StartupWork work; // joined on every way out of here
    work.start();
    if (startVideo() != 0) return 1;
    // The driver's start-up allocations are served from warmed pages when the
    // worker has them ready; otherwise the next chance is the loading picture.
    work.releaseEarlyWarmMemory();
    if (createSurface(argc <= 1 ? 1 : 0) != 0) return 2;
    SDL_ShowCursor(0);

    DemoStartup startup(gScreen->w, gScreen->h, &work);
    s_startup = &startup;
    initGL();
    int status = startup.runUntil();
    s_startup = nullptr;
    if (status != 0) return status;

    while (handleEvents())
        luz();

    SDL_CloseAudio();
    SDL_Quit();
    return 0;
}
