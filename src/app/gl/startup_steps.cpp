#include "app/gl/startup_steps.h"

#include "app/gl/fixed_state.h"
#include "app/gl/loading_picture.h"
#include "app/startup_work.h"
#include "base/console.h"
#include "geometry/gl/solids_bake.h"
#include "geometry/solids.h"
#include <string>

Startup::Startup(int width, int height, StartupWork* work)
    : width_(width), height_(height), work_(work) {}

int Startup::step() {
    switch (next_) {
    case LOADING_PICTURE:
        // The driver's first allocations come from warmed pages when the
        // worker has them ready.
        if (work_) work_->releaseEarlyWarmMemory();
        drawLoadingScreen(width_, height_);
        showLoadingPicture();
        break;
    case FIXED_STATE:
        fixedState();
        break;
    case SOLIDS:
        solids();
        break;
    case AUDIO:
        if (int status = startAudio()) return status;
        break;
    case DONE:
        return 0;
    }
    next_ = static_cast<Step>(next_ + 1);
    return 0;
}

int Startup::runUntil(Step last) {
    while (next_ < last)
        if (int status = step()) return status;
    return 0;
}

void Startup::fixedState() {
    if (!work_) {
        setFixedState();
        return;
    }
    work_->finish();
    work_->releaseWarmMemory();
    consolePrint("%s", work_->textureLines().c_str());
    setFixedState(work_->textureBytes());
    work_->releaseTextureBytes();
}

void Startup::solids() {
    consolePrint("filtering ground radiation..");
    // The ids come first; the polygonizer's lines follow them, whether the
    // meshes were built ahead on the worker or are built now.
    int base = reserveSolidLists();
    if (work_)
        consolePrint("%s", work_->solidLines().c_str());
    else
        buildSolidMeshes();
    bakeSolids(base);
    consolePrint("hmm mag die console weg aub?");
}

void runStartupQuietly(int width, int height) {
    std::string lines;
    ConsoleCapture quiet(&lines);
    Startup(width, height).runUntil();
}
