// Soak of a show that runs for days: the frame driver and the real
// synthesizer, without GL, on a virtual clock at 60 passes a second, for a
// stretch from the start and a stretch across each wrap (2^32 frames of the
// ring and the synthesizer's clock, 2^32 ms of SDL's clock, and 2^39 frames
// where hits share stamps). Per stretch: the most blocks in one pass, the
// largest event set, the hits taken, the costliest pass (CPU), and memory.
// usage: isoloop-soak [MINUTES]   (default 10 per stretch)
#include "virtual_show.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

// CPU time of this thread in ms: a pass's own cost, whatever else the
// machine runs.
double cpuMs() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// VmRSS or VmHWM of this process, in kB.
long statusKb(const char* field) {
    FILE* f = std::fopen("/proc/self/status", "r");
    char line[256];
    long kb = -1;
    size_t n = std::strlen(field);
    while (f && std::fgets(line, sizeof line, f))
        if (!std::strncmp(line, field, n)) kb = std::atol(line + n + 1);
    if (f) std::fclose(f);
    return kb;
}

struct Stretch {
    const char* name;
    uint64_t frame, ms; // where the show is placed, half a stretch before its wrap
};

} // namespace

int main(int argc, char** argv) {
    const uint64_t minutes = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 10;
    if (minutes == 0) {
        std::fprintf(stderr, "usage: isoloop-soak [MINUTES]\n");
        return 2;
    }
    const uint64_t half = minutes * 30000; // ms before the wrap
    const uint64_t f32 = (1ull << 32) - half * 441 / 10, f39 = (1ull << 39) - half * 441 / 10;
    const Stretch stretches[] = {
        {"start", 0, 0},
        {"2^32 frames (27.05 h)", f32 / 2000 * 2000, f32 * 10 / 441},
        {"2^32 ms (49.7 days)", frameAtMs((1ull << 32) - half), (1ull << 32) - half},
        {"2^39 frames (144 days)", f39 / 2000 * 2000, f39 * 10 / 441},
    };
    std::printf("%-24s %8s %10s %10s %12s %10s %10s %10s   %s\n", "stretch", "passes", "max blocks",
                "max events", "hits taken", "cpu ms max", "rss kB", "rss end kB",
                "passes with 0/1/2/3/4/more blocks");
    for (const Stretch& s : stretches) {
        VirtualShow show(s.frame, s.ms);
        long rssStart = statusKb("VmRSS:");
        int maxBlocks = 0, prevN = incs;
        long perPass[6] = {0}; // passes with 0, 1, 2, 3, 4, more blocks
        long hits = 0;
        size_t maxEvents = 0;
        double longest = 0;
        const uint64_t passes = minutes * 60 * 60;
        for (uint64_t p = 0; p < passes; p++) {
            double t0 = cpuMs();
            FramePlan plan = show.pass();
            double ms = cpuMs() - t0;
            show.heard.clear();
            if (plan.blocks > maxBlocks) maxBlocks = plan.blocks;
            perPass[plan.blocks < 5 ? plan.blocks : 5]++;
            if (ms > longest) longest = ms;
            if (g_events.size() > maxEvents) maxEvents = g_events.size();
            hits += plan.n - (prevN >= 58 ? 0 : prevN);
            prevN = plan.n;
        }
        std::printf("%-24s %8llu %10d %10zu %12ld %10.2f %10ld %10ld   %ld/%ld/%ld/%ld/%ld/%ld\n",
                    s.name, (unsigned long long)passes, maxBlocks, maxEvents, hits, longest,
                    rssStart, statusKb("VmRSS:"), perPass[0], perPass[1], perPass[2], perPass[3],
                    perPass[4], perPass[5]);
        std::fflush(stdout);
    }
    std::printf("peak rss kB %ld\n", statusKb("VmHWM:"));
    return 0;
}
