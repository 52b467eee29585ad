// Prints hashes of everything the demo computes before it draws: five minutes
// of music (more than one loop of the show: 58 drum hits) with its events, the
// eight solids and the texture upload bytes. Built natively and as
// WebAssembly, the two must print the same "hash" lines; the render time of
// the music goes to standard error. Every cosine the music takes is rounded
// correctly, so no C library's last bit can part the two streams. The stream
// also goes to music.raw, for `driver --compare a.raw b.raw` to say where two
// streams part when they do.
#include "geometry/solids.h"
#include "synth/events.h"
#include "synth/synth_driver.h"
#include "texture/texture_builder.h"

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

uint64_t fnv1a(const void* data, size_t bytes, uint64_t h = 1469598103934665603ull) {
    const unsigned char* p = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < bytes; i++) {
        h ^= p[i];
        h *= 1099511628211ull;
    }
    return h;
}

// Little-endian bytes of v, whatever the host: the hashes must not depend on it.
template <class T> uint64_t hashLE(T v, uint64_t h) {
    unsigned char b[sizeof v];
    uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof v);
    for (size_t i = 0; i < sizeof v; i++)
        b[i] = (unsigned char)(bits >> (8 * i));
    return fnv1a(b, sizeof b, h);
}

void music() {
    const int blocks = 300 * 44100 / 2000; // 300 s in the driver's 4000-sample blocks
    std::vector<short> stream((size_t)blocks * 4000);
    uint64_t events = 1469598103934665603ull;
    unsigned eventCount = 0, drumHits = 0;
    auto start = std::chrono::steady_clock::now();
    for (int b = 0; b < blocks; b++) {
        updateSynth(stream.data() + (size_t)b * 4000, 4000);
        for (const Event& e : g_events) {
            events = hashLE(e.time, hashLE(e.type, events));
            eventCount++;
            drumHits += e.type == 1;
        }
        g_events.clear();
    }
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    uint64_t samples = 1469598103934665603ull;
    for (short v : stream)
        samples = hashLE(v, samples);
    std::printf("hash music_300s 0x%016" PRIx64 "\n", samples);
    if (FILE* f = std::fopen("music.raw", "wb")) {
        std::fwrite(stream.data(), sizeof(short), stream.size(), f);
        std::fclose(f);
    }
    std::printf("hash events_300s 0x%016" PRIx64 " count %u drum hits %u\n", events, eventCount,
                drumHits);
    std::fprintf(stderr, "music: 300 s rendered in %.3f s, %.1f x real time\n", seconds,
                 300 / seconds);
}

void meshes() {
    const char* names[SOLID_COUNT] = {"mb",      "stoned_forest", "stoned_mountain", "julia",
                                      "pillars", "pyramid",       "lost_forest",     "lost_jaw"};
    buildSolidMeshes();
    for (int k = 0; k < SOLID_COUNT; k++) {
        const metaBuilder& m = *solidTable[k];
        // As the solids' tests hash them: vertices, then triangles.
        uint64_t h = fnv1a(m.triangles, m.numTriangles * sizeof m.triangles[0],
                           fnv1a(m.vertices, m.numVertices * sizeof m.vertices[0]));
        std::printf("hash mesh_%s 0x%016" PRIx64 " tris %u verts %u\n", names[k], h,
                    (unsigned)m.numTriangles, (unsigned)m.numVertices);
    }
}

void textures(const char* pack) {
    std::vector<unsigned int> work(WORK_WORDS, 0);
    std::vector<unsigned char> bytes(textureBytesOffset(TEXTURE_SLOTS));
    buildTextureBytes(work.data(), bytes.data(), pack);
    // A newline first: the pack reader's messages do not end with one.
    std::printf("\nhash textures 0x%016" PRIx64 " bytes %zu\n", fnv1a(bytes.data(), bytes.size()),
                bytes.size());
}

// Where two streams first differ, how many samples do, and by how much at most.
int compare(const char* a, const char* b) {
    FILE* fa = std::fopen(a, "rb");
    FILE* fb = std::fopen(b, "rb");
    if (!fa || !fb) return 2;
    long long first = -1, differ = 0, n = 0;
    int most = 0;
    short x, y;
    while (std::fread(&x, sizeof x, 1, fa) == 1 && std::fread(&y, sizeof y, 1, fb) == 1) {
        int d = x > y ? x - y : y - x;
        if (d) {
            if (first < 0) first = n;
            differ++;
            if (d > most) most = d;
        }
        n++;
    }
    std::printf("samples %lld differ %lld first_frame %lld largest %d\n", n, differ,
                first < 0 ? -1 : first / 2, most);
    return 0;
}

} // namespace

// argv[1]: the picture pack, relative to the working directory (absent or
// missing: the pack slots keep what the working buffer last held, the same on
// every build).
int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--compare") == 0) return compare(argv[2], argv[3]);
    std::printf("hash layout %zu %zu %zu\n", sizeof(short), sizeof(vector3), sizeof(triangle13));
    music();
    meshes();
    textures(argc > 1 ? argv[1] : "no-pack.3ds");
    return 0;
}
