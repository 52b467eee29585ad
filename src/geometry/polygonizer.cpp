// metaBuilder::kickIn: samples the shape function on the 32^3 grid of integer
// points -16..15, searches a crossing point on every cell edge whose ends
// disagree and emits each cell's polygons, fanned into triangles. Main thread.
#include "geometry/meta_builder.h"

#include "geometry/case_table.h"
#include "geometry/cell_geometry.h"
#include <cstdio>
#include <vector>

namespace {

const int kGrid = 32; // samples per axis, at -16 .. 15
const int kOrigin = 16;

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

} // namespace

void metaBuilder::kickIn(shapeFunction f) {
    reset();
    printf("\nrekenen..");
    fflush(stdout);

    std::vector<unsigned char> flag(kGrid * kGrid * kGrid);
    for (int k = 0; k < kGrid; k++)
        for (int j = 0; j < kGrid; j++)
            for (int i = 0; i < kGrid; i++)
                flag[(k * kGrid + j) * kGrid + i] =
                    f(double(i - kOrigin), double(j - kOrigin), double(k - kOrigin)) != 0;

    // Up to four cells share an edge; the search result of each directed edge
    // (start grid point, axis) is kept, and the point rebuilt with the same
    // arithmetic, so every cell sees the very same crossing point.
    std::vector<unsigned char> probe(kGrid * kGrid * kGrid * 3, 0);
    // The vertex of each directed edge, once merged. Within one build vertices
    // are only appended, so addVertex would return this index again.
    std::vector<int> vertex(kGrid * kGrid * kGrid * 3, -1);
    for (int k = 0; k < kGrid - 1; k++)
        for (int j = 0; j < kGrid - 1; j++)
            for (int i = 0; i < kGrid - 1; i++) {
                int at[8];
                unsigned caseIndex = 0;
                for (int c = 0; c < 8; c++) {
                    const int* o = cornerOffset[c];
                    at[c] = ((k + o[2]) * kGrid + (j + o[1])) * kGrid + (i + o[0]);
                    caseIndex |= unsigned(flag[at[c]]) << c;
                }
                for (int e = 0; e < 12; e++) {
                    edgePoints[e].set(0.0, 0.0, 0.0);
                    edgeVertex[e] = nullptr;
                    int s = flag[at[edgeStart[e]]];
                    if (s == flag[at[edgeEnd[e]]]) continue;
                    const int* o0 = cornerOffset[edgeStart[e]];
                    const int* o1 = cornerOffset[edgeEnd[e]];
                    double p0[3] = {double(i + o0[0] - kOrigin), double(j + o0[1] - kOrigin),
                                    double(k + o0[2] - kOrigin)};
                    double p1[3] = {double(i + o1[0] - kOrigin), double(j + o1[1] - kOrigin),
                                    double(k + o1[2] - kOrigin)};
                    int key = at[edgeStart[e]] * 3 + edgeAxis[e];
                    unsigned char& n = probe[key];
                    if (!n) n = static_cast<unsigned char>(searchEdge(f, p0, p1, s));
                    crossingPoint(p0, p1, n, &edgePoints[e]);
                    edgeVertex[e] = &vertex[key];
                }
                marchers(static_cast<unsigned char>(caseIndex));
            }
    for (int e = 0; e < 12; e++)
        edgeVertex[e] = nullptr;

    printf("[tris%i verts%i]\n", int(numTriangles), int(numVertices));
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
    if (known && *known >= 0) return *known;
    int index = addVertex(&edgePoints[edge]);
    if (known) *known = index;
    return index;
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
