// Real-time factor of the music: seconds of music rendered per CPU second,
// in the driver's 4000-sample blocks. Each repetition renders the next
// minute of the same stream; report the median.
#include "synth/events.h"
#include "synth/synth_driver.h"

#include <benchmark/benchmark.h>

static void BM_MusicMinute(benchmark::State& state) {
    static short block[4000];
    const int blocks = 60 * 44100 / 2000; // 1323 blocks, 60.0 s
    for (auto _ : state) {
        for (int b = 0; b < blocks; b++) {
            updateSynth(block, 4000);
            g_events.clear(); // the frame driver would consume them
        }
        benchmark::DoNotOptimize(block);
    }
    state.counters["realtime_x"] = benchmark::Counter(
        blocks * 2000 / 44100.0 * (double)state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MusicMinute)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);

BENCHMARK_MAIN();
