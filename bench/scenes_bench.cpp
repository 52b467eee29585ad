// Frames per second of each scene at 640 x 480 under Mesa. Every frame runs
// the frame driver's bookkeeping with the device draining the ring in real
// time (so the synthesizer renders as in the demo), draws the scene, and
// waits for the rasterizer (glFinish stands in for the swap).
#include "app/frame_driver.h"
#include "app/gl_setup.h"
#include "app/solids.h"
#include "base/working_dir.h"
#include "offscreen_gl.h"
#include "scenes/scenes.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

double processSeconds() {
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return (double)ts.tv_sec + ts.tv_nsec * 1e-9;
}

bool startUp() {
    static OffscreenGL gl(640, 480);
    if (!gl.ok()) {
        fprintf(stderr, "no offscreen GL context: %s\n", gl.error().c_str());
        return false;
    }
    setWorkingDir(executablePath("").c_str());
    setProjection(640, 480);
    setFixedState();
    buildSolids();
    return true;
}

void frames(benchmark::State& state, int scene, int n) {
    static bool ready = startUp();
    if (!ready) {
        state.SkipWithError("no GL context");
        return;
    }
    using clock = std::chrono::steady_clock;
    static const clock::time_point start = clock::now();
    double cpu0 = processSeconds();
    for (auto _ : state) {
        double t = std::chrono::duration<double>(clock::now() - start).count();
        FramePlan plan = planFrame(t, (uint32_t)(t * 44100));
        plan.scene = scene; // keep the scene under test whatever the counter says
        plan.n = n;
        plan.t = scene == SCENE_0 ? t + 8.0 : t;
        glColor3f(plan.colour[0], plan.colour[1], plan.colour[2]);
        drawScene(plan);
        glFinish();
    }
    state.counters["fps"] =
        benchmark::Counter((double)state.iterations(), benchmark::Counter::kIsRate);
    // CPU of all threads (the rasterizer's included) per frame: what a frame
    // costs whatever else the machine is running.
    state.counters["cpu_ms"] = (processSeconds() - cpu0) * 1000 / (double)state.iterations();
}

} // namespace

BENCHMARK_CAPTURE(frames, scene1_tunnel, SCENE_1, 5)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(frames, credits, SCENE_CREDITS, 13)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(frames, scene0_forest, SCENE_0, 20)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(frames, scene3_fractal, SCENE_3, 31)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(frames, scene4_sea, SCENE_4, 40)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(frames, scene5_pillars, SCENE_5, 51)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
