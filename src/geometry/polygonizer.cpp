// metaBuilder::kickIn: samples the shape function on the 32^3 grid of integer
// points -16..15, searches a crossing point on every cell edge whose ends
// disagree and emits each cell's polygons, fanned into triangles. Main thread.
#include "geometry/meta_builder.h"

#include "base/console.h"
#include "geometry/case_table.h"
#include "geometry/cell_geometry.h"
#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

const int kGrid = 32; // samples per axis, at -16 .. 15
const int kOrigin = 16;
const int kLevel = kGrid * kGrid * 3; // directed edges starting on one grid level

// The first of the probes at 1/8 .. 6/8 along the edge whose answer differs
// from the start corner's flag s; 6 (the probe at 3/4) when none does. 7/8 is
// never probed.
int searchEdge(shapeFunction f, const double p0[3], const double p1[3], int s) {
    int n = 1;
    for (; n <= 6; n++) {
        double t = n / 8.0;
        double q[3];
        for (int a = 0; a < 3; a++)
            q[a] = p0[a] + (p1[a] - p0[a]) * t;
        if ((f(q[0], q[1], q[2]) != 0) != (s != 0)) break;
    }
    return n > 6 ? 6 : n;
}

void crossingPoint(const double p0[3], const double p1[3], int n, vector3* out) {
    double t = n / 8.0;
    out->set(p0[0] + (p1[0] - p0[0]) * t, p0[1] + (p1[1] - p0[1]) * t, p0[2] + (p1[2] - p0[2]) * t);
}

// The inside flags of the grid, one row along x per bit mask: flag (i, j, k)
// is bit i of rows[k * 32 + j].
std::vector<uint32_t> sampleGrid(shapeFunction f) {
    std::vector<uint32_t> rows(kGrid * kGrid, 0);
    for (int k = 0; k < kGrid; k++)
        for (int j = 0; j < kGrid; j++)
            for (int i = 0; i < kGrid; i++)
                if (f(double(i - kOrigin), double(j - kOrigin), double(k - kOrigin)) != 0)
                    rows[k * kGrid + j] |= uint32_t(1) << i;
    return rows;
}

// Per directed edge (start grid point, axis) on the two grid levels of the
// current cell layer: the probe that found its crossing point (1..6, 0 while
// not searched) and its vertex (-1 until added). The vertex index stays valid
// because vertices are only appended during a build. Crossing points lie at
// n/8 (n = 1..6) along grid edges: points of two different edges differ by at
// least 1/8 on two axes, or by 3/8 along one line, so none lies within 0.1 of
// another, and each edge's point is a vertex of its own.
class edgeMemo {
  public:
    // Layer k reads levels k and k + 1; level k + 1 takes the place of k - 1.
    void startLayer(int k) {
        if (k == 0) clearLevel(0);
        clearLevel(k + 1);
    }
    int slot(int i, int j, int level, int axis) const {
        return (((level & 1) * kGrid + j) * kGrid + i) * 3 + axis;
    }
    uint8_t probe[kLevel * 2];
    int vertex[kLevel * 2];

  private:
    void clearLevel(int level) {
        std::fill_n(probe + (level & 1) * kLevel, kLevel, uint8_t(0));
        std::fill_n(vertex + (level & 1) * kLevel, kLevel, -1);
    }
};

// Cells 0..30 of a row whose eight corners are not all alike, from the four
// corner rows (j, k), (j + 1, k), (j, k + 1) and (j + 1, k + 1): cell i has
// its corners at bits i and i + 1.
uint32_t mixedCells(uint32_t m00, uint32_t m10, uint32_t m01, uint32_t m11) {
    uint32_t any = m00 | m10 | m01 | m11, all = m00 & m10 & m01 & m11;
    uint32_t allOut = ~(any | any >> 1), allIn = all & all >> 1;
    return ~(allOut | allIn) & ((uint32_t(1) << (kGrid - 1)) - 1);
}

// Case index of cell i of the row, bit c set when corner c is inside.
unsigned cellCase(uint32_t m00, uint32_t m10, uint32_t m01, uint32_t m11, int i) {
    unsigned lo = (m00 >> i & 3) | (m10 >> i & 1) << 3 | (m10 >> (i + 1) & 1) << 2;
    unsigned hi = (m01 >> i & 3) | (m11 >> i & 1) << 3 | (m11 >> (i + 1) & 1) << 2;
    return lo | hi << 4;
}

// Edges of a cell case whose two corners differ, bit e for edge e.
unsigned crossedEdges(unsigned caseIndex) {
    static const struct table {
        uint16_t mask[256];
        table() {
            for (unsigned c = 0; c < 256; c++) {
                mask[c] = 0;
                for (int e = 0; e < 12; e++)
                    mask[c] |= ((c >> edgeStart[e] ^ c >> edgeEnd[e]) & 1) << e;
            }
        }
    } t;
    return t.mask[caseIndex];
}

} // namespace

void metaBuilder::kickIn(shapeFunction f) {
    reset();
    consolePrint("\nrekenen..");

    std::vector<uint32_t> rows = sampleGrid(f);
    // Up to four cells share an edge: it is searched once, its point rebuilt
    // with the same arithmetic in every cell, and its vertex added once.
    edgeMemo memo;
    bool lastCrossed = false;
    for (int k = 0; k < kGrid - 1; k++) {
        memo.startLayer(k);
        for (int j = 0; j < kGrid - 1; j++) {
            const uint32_t* r = &rows[k * kGrid + j];
            uint32_t m00 = r[0], m10 = r[1], m01 = r[kGrid], m11 = r[kGrid + 1];
            // Cells with all corners alike have no crossed edge and no polygon.
            uint32_t mixed = mixedCells(m00, m10, m01, m11);
            lastCrossed = mixed >> (kGrid - 2) & 1;
            for (; mixed; mixed &= mixed - 1) {
                int i = __builtin_ctz(mixed);
                unsigned caseIndex = cellCase(m00, m10, m01, m11, i);
                for (int e = 0; e < 12; e++) {
                    edgePoints[e].set(0.0, 0.0, 0.0);
                    edgeVertex[e] = nullptr;
                }
                for (unsigned crossed = crossedEdges(caseIndex); crossed; crossed &= crossed - 1) {
                    int e = __builtin_ctz(crossed);
                    const int* o0 = cornerOffset[edgeStart[e]];
                    const int* o1 = cornerOffset[edgeEnd[e]];
                    double p0[3] = {double(i + o0[0] - kOrigin), double(j + o0[1] - kOrigin),
                                    double(k + o0[2] - kOrigin)};
                    double p1[3] = {double(i + o1[0] - kOrigin), double(j + o1[1] - kOrigin),
                                    double(k + o1[2] - kOrigin)};
                    int at = memo.slot(i + o0[0], j + o0[1], k + o0[2], edgeAxis[e]);
                    uint8_t& n = memo.probe[at];
                    if (!n)
                        n = static_cast<uint8_t>(
                            searchEdge(f, p0, p1, caseIndex >> edgeStart[e] & 1));
                    crossingPoint(p0, p1, n, &edgePoints[e]);
                    edgeVertex[e] = &memo.vertex[at];
                }
                marchers(static_cast<unsigned char>(caseIndex));
            }
        }
    }
    for (int e = 0; e < 12; e++) {
        // As the last cell left them: all zero unless it was crossed.
        if (!lastCrossed) edgePoints[e].set(0.0, 0.0, 0.0);
        edgeVertex[e] = nullptr;
    }

    consolePrint("[tris%i verts%i]\n", int(numTriangles), int(numVertices));
    prepare();
}

void metaBuilder::marchers(unsigned char caseIndex) {
    const casePolygons& row = caseTable(caseIndex);
    const uint8_t* e = row.edges;
    for (int p = 0; p < row.numPolygons; p++) {
        switch (row.size[p]) {
        case 3:
            drawTri(e[0], e[1], e[2]);
            break;
        case 4:
            drawQuad(e[0], e[1], e[2], e[3]);
            break;
        case 5:
            drawPenta(e[0], e[1], e[2], e[3], e[4]);
            break;
        case 6:
            drawHexa(e[0], e[1], e[2], e[3], e[4], e[5]);
            break;
        case 7:
            drawHepta(e[0], e[1], e[2], e[3], e[4], e[5], e[6]);
            break;
        }
        e += row.size[p];
    }
}

void metaBuilder::drawTri(int a, int b, int c) {
    // A full mesh refuses the triangle before adding its vertices, so no
    // orphan vertices pile up once the triangle limit is reached.
    if (numTriangles >= kCapacity) {
        refuse();
        return;
    }
    int ia = vertexOf(a);
    int ib = vertexOf(b);
    int ic = vertexOf(c);
    addTriangle(ia, ib, ic);
}

int metaBuilder::vertexOf(int edge) {
    int* known = edgeVertex[edge];
    if (!known) return addVertex(&edgePoints[edge]);
    if (*known < 0) *known = appendVertex(edgePoints[edge]);
    return *known;
}

void metaBuilder::drawQuad(int a, int b, int c, int d) {
    drawTri(a, b, c);
    drawTri(c, d, a);
}

void metaBuilder::drawPenta(int a, int b, int c, int d, int e) {
    drawTri(a, b, e);
    drawTri(b, c, e);
    drawTri(c, d, e);
}

void metaBuilder::drawHexa(int a, int b, int c, int d, int e, int f) {
    drawTri(a, b, c);
    drawTri(a, c, f);
    drawTri(c, d, f);
    drawTri(d, e, f);
}

void metaBuilder::drawHepta(int a, int b, int c, int d, int e, int f, int g) {
    drawTri(a, b, d);
    drawTri(b, c, d);
    drawTri(a, d, e);
    drawTri(a, e, g);
    drawTri(e, f, g);
}
