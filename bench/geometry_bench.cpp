// The build of all eight solids as start-up does it (kickIn with the fast
// inside tests) against the linear-scan reference polygonizer with the plain
// inside tests, in one run. Checks first that both give identical meshes,
// then times them and counts shape-function calls. Console lines of the
// builds go to /dev/null.
#include "geometry/meta_builder.h"
#include "geometry/shapes.h"
#include "geometry/shapes_fast.h"
#include "linear_reference.h"

#include <benchmark/benchmark.h>
#include <algorithm>
#include <ctime>
#include <iostream>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

long g_calls;
template <shapeFunction F> int counted(double x, double y, double z) {
    g_calls++;
    return F(x, y, z);
}

// In start-up order: the inside tests start-up uses, and the plain ones.
const shapeFunction kFastShapes[8] = {
    counted<fastInsideTunnel>, counted<fastInsideMeta>,   counted<fastInsideMountain>,
    counted<isInsideFract>,    counted<fastInsidePillar>, counted<isInsidePyramid>,
    counted<fastInsideMeta2>,  counted<fastInsideMeta3>,
};
const shapeFunction kPlainShapes[8] = {
    counted<isInsideTunnel>, counted<isInsideMeta>,   counted<isInsideMountain>,
    counted<isInsideFract>,  counted<isInsidePillar>, counted<isInsidePyramid>,
    counted<isInsideMeta2>,  counted<isInsideMeta3>,
};

metaBuilder g_mesh;

void buildFast() {
    for (shapeFunction f : kFastShapes)
        g_mesh.kickIn(f);
}

void buildReference() {
    for (shapeFunction f : kPlainShapes)
        benchmark::DoNotOptimize(referenceBuild(f));
}

bool identical() {
    for (int s = 0; s < 8; s++) {
        g_mesh.kickIn(kFastShapes[s]);
        referenceMesh r = referenceBuild(kPlainShapes[s]);
        if (r.vertices.size() != g_mesh.numVertices || r.triangles.size() != g_mesh.numTriangles)
            return false;
        for (uint32_t i = 0; i < g_mesh.numVertices; i++)
            if (std::memcmp(&r.vertices[i], &g_mesh.vertices[i], sizeof(vector3))) return false;
        for (uint32_t i = 0; i < g_mesh.numTriangles; i++)
            for (int k = 0; k < 3; k++)
                if (r.triangles[i][k] != g_mesh.triangles[i].v[k]) return false;
    }
    return true;
}

// Times build and reports how many shape-function calls one build makes.
template <typename Build> void timeBuild(benchmark::State& state, Build build) {
    long calls = 0;
    for (auto _ : state) {
        g_calls = 0;
        build();
        calls = g_calls;
    }
    state.counters["shape_calls"] = double(calls);
}

void BM_EightSolidsGridMerge(benchmark::State& state) {
    timeBuild(state, buildFast);
}
BENCHMARK(BM_EightSolidsGridMerge)->Unit(benchmark::kMillisecond);

void BM_EightSolidsLinearScan(benchmark::State& state) {
    timeBuild(state, buildReference);
}
BENCHMARK(BM_EightSolidsLinearScan)->Unit(benchmark::kMillisecond);

// One solid at a time, fast build, in start-up order (0 mb .. 7 lost_jaw).
void BM_OneSolid(benchmark::State& state) {
    shapeFunction f = kFastShapes[state.range(0)];
    timeBuild(state, [f] { g_mesh.kickIn(f); });
}
BENCHMARK(BM_OneSolid)->DenseRange(0, 7)->Unit(benchmark::kMicrosecond);

// Median process CPU time of a build: steadier than wall time on a shared machine.
double medianMs(void (*build)(), int runs) {
    std::vector<double> t;
    for (int i = 0; i < runs; i++) {
        std::clock_t a = std::clock();
        build();
        std::clock_t b = std::clock();
        t.push_back(1000.0 * double(b - a) / CLOCKS_PER_SEC);
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    // The builds print their progress lines; keep the report readable.
    FILE* quiet = freopen("/dev/null", "w", stdout);
    (void)quiet;
    bool same = identical();
    benchmark::Initialize(&argc, argv);
    benchmark::ConsoleReporter reporter;
    reporter.SetOutputStream(&std::cerr);
    reporter.SetErrorStream(&std::cerr);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    double fast = medianMs(buildFast, 9), slow = medianMs(buildReference, 3);
    fprintf(stderr, "identical output: %s\n", same ? "yes" : "NO");
    fprintf(stderr,
            "eight builds (CPU time, median): grid merge %.1f ms, linear scan %.1f ms, speed-up "
            "%.1fx\n",
            fast, slow, slow / fast);
    benchmark::Shutdown();
    return same ? 0 : 1;
}
