// Spatial index for vertex merging. A merge needs dx^2 + dy^2 + dz^2 < 0.01
// in double, which implies |dx| < 0.1 + 1 ulp on each axis. Cells are 1/4 wide
// (cell = floor(4x), exact), so the cells floor(4x - 0.5) and the one above
// hold every candidate; the exact test then runs on those candidates only.
#include "geometry/vertex_grid.h"

#include <cmath>

namespace {

const uint64_t kEmpty = ~uint64_t(0);
const double kCellLimit = 1048576.0; // 2^20: far cells share the edge cell
const int64_t kCellBias = 1048576;

// Cell coordinate of 4x (or 4x - 0.5), clamped so that it packs into 21 bits.
int64_t cellOf(double v) {
    double c = std::floor(v);
    if (c != c) return 0; // NaN never merges; any cell will do
    if (c < -kCellLimit) c = -kCellLimit;
    if (c > kCellLimit - 1) c = kCellLimit - 1;
    return static_cast<int64_t>(c);
}

uint64_t packKey(int64_t cx, int64_t cy, int64_t cz) {
    return (uint64_t(cx + kCellBias) << 42) | (uint64_t(cy + kCellBias) << 21) |
           uint64_t(cz + kCellBias);
}

uint64_t hashKey(uint64_t key) {
    key ^= key >> 33;
    key *= 0x9E3779B97F4A7C15ull;
    return key ^ (key >> 29);
}

} // namespace

vertexGrid::vertexGrid(unsigned capacity) {
    uint64_t size = 16;
    while (size < 2ull * capacity)
        size *= 2;
    slots.assign(size, slot{kEmpty, -1});
    mask = size - 1;
    next.reserve(capacity);
}

void vertexGrid::clear() {
    for (slot& s : slots)
        s = slot{kEmpty, -1};
    next.clear();
}

int32_t* vertexGrid::headOf(uint64_t key) {
    for (uint64_t i = hashKey(key) & mask;; i = (i + 1) & mask) {
        if (slots[i].key == key) return &slots[i].head;
        if (slots[i].key == kEmpty) {
            slots[i].key = key;
            return &slots[i].head;
        }
    }
}

const int32_t* vertexGrid::headOf(uint64_t key) const {
    for (uint64_t i = hashKey(key) & mask;; i = (i + 1) & mask) {
        if (slots[i].key == key) return &slots[i].head;
        if (slots[i].key == kEmpty) return nullptr;
    }
}

void vertexGrid::insert(const vector3& p) {
    // One cell per vertex and at most as many vertices as half the slots, so
    // the table never fills.
    int32_t* head = headOf(packKey(cellOf(4.0 * p.x), cellOf(4.0 * p.y), cellOf(4.0 * p.z)));
    next.push_back(*head);
    *head = static_cast<int32_t>(next.size() - 1);
}

int vertexGrid::find(const vector3* vertices, const vector3& p) const {
    int64_t lo[3] = {cellOf(4.0 * p.x - 0.5), cellOf(4.0 * p.y - 0.5), cellOf(4.0 * p.z - 0.5)};
    int best = -1;
    for (int n = 0; n < 8; n++) {
        int64_t c[3];
        bool inRange = true;
        for (int a = 0; a < 3; a++) {
            c[a] = lo[a] + ((n >> a) & 1);
            if (c[a] > kCellBias - 1) inRange = false;
        }
        if (!inRange) continue;
        const int32_t* head = headOf(packKey(c[0], c[1], c[2]));
        if (!head) continue;
        for (int32_t i = *head; i >= 0; i = next[i]) {
            if (best >= 0 && i > best) continue;
            double dx = vertices[i].x - p.x;
            double dy = vertices[i].y - p.y;
            double dz = vertices[i].z - p.z;
            if (dx * dx + dy * dy + dz * dz < 0.01) best = i;
        }
    }
    return best;
}
