// Frames per second of each scene at 640 x 480 under Mesa. Every frame runs
// the frame driver's bookkeeping with the device draining the ring in real
// time (so the synthesizer renders as in the demo), draws the scene, and
// waits for the rasterizer (glFinish stands in for the swap).
#include "app/egl/offscreen_gl.h"
#include "app/frame_driver.h"
#include "app/gl/frame_pass.h"
#include "app/gl/startup_steps.h"
#include "base/working_dir.h"

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
    runStartupQuietly(640, 480);
    return true;
}

void frames(benchmark::State& state, int n) {
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
        FramePlan live = planFrame(t, (uint32_t)(t * 44100));
        // The scene under test whatever the counter says, with the live pulses.
        drawPlan(planScene(t, n, live.funk, live.flexer, live.offsetaapje));
        glFinish();
    }
    state.counters["fps"] =
        benchmark::Counter((double)state.iterations(), benchmark::Counter::kIsRate);
    // CPU of all threads (the rasterizer's included) per frame: what a frame
    // costs whatever else the machine is running.
    state.counters["cpu_ms"] = (processSeconds() - cpu0) * 1000 / (double)state.iterations();
}

} // namespace

BENCHMARK_CAPTURE(frames, scene1_tunnel, 5)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(frames, credits, 13)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(frames, scene0_forest, 20)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(frames, scene3_fractal, 31)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(frames, scene4_sea, 40)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(frames, scene5_pillars, 51)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
