// The case table, derived from the face rule: on each cell face, crossing
// points are joined so that inside corners are cut off one by one (never
// joined across a face diagonal); the segments, oriented so the surface faces
// the outside corners, link into loops, and each loop is one polygon.
#include "geometry/case_table.h"

#include "geometry/cell_geometry.h"
#include <array>

namespace {

struct face {
    int corner[4]; // in cyclic order around the face
    int normal[3]; // pointing out of the cell
};

const face kFaces[6] = {
    {{0, 3, 2, 1}, {0, 0, -1}}, {{4, 5, 6, 7}, {0, 0, 1}},  {{0, 1, 5, 4}, {0, -1, 0}},
    {{3, 7, 6, 2}, {0, 1, 0}},  {{0, 4, 7, 3}, {-1, 0, 0}}, {{1, 2, 6, 5}, {1, 0, 0}},
};

int edgeBetween(int a, int b) {
    for (int e = 0; e < 12; e++)
        if ((edgeStart[e] == a && edgeEnd[e] == b) || (edgeStart[e] == b && edgeEnd[e] == a))
            return e;
    return -1;
}

// Twice the edge's midpoint, in integers.
void edgeMid2(int e, int m[3]) {
    for (int a = 0; a < 3; a++)
        m[a] = cornerOffset[edgeStart[e]][a] + cornerOffset[edgeEnd[e]][a];
}

// Orients the segment between crossed edges e1 and e2 of face f so that the
// polygon's normal (b - a) x (c - b) points from the inside corners to the
// outside ones: with d running from inside to outside along e1, the segment
// direction t must satisfy (d x t) . faceNormal < 0.
void addSegment(const face& f, int e1, int e2, const bool inside[8], int next[12]) {
    int p[3], q[3], d[3], t[3];
    edgeMid2(e1, p);
    edgeMid2(e2, q);
    int in = inside[edgeStart[e1]] ? edgeStart[e1] : edgeEnd[e1];
    int out = in == edgeStart[e1] ? edgeEnd[e1] : edgeStart[e1];
    for (int a = 0; a < 3; a++) {
        t[a] = q[a] - p[a];
        d[a] = cornerOffset[out][a] - cornerOffset[in][a];
    }
    int s = (d[1] * t[2] - d[2] * t[1]) * f.normal[0] + (d[2] * t[0] - d[0] * t[2]) * f.normal[1] +
            (d[0] * t[1] - d[1] * t[0]) * f.normal[2];
    if (s < 0)
        next[e1] = e2;
    else
        next[e2] = e1;
}

void faceSegments(const face& f, const bool inside[8], int next[12]) {
    int edge[4];
    bool crossed[4];
    int numCrossed = 0;
    for (int i = 0; i < 4; i++) {
        edge[i] = edgeBetween(f.corner[i], f.corner[(i + 1) & 3]);
        crossed[i] = inside[f.corner[i]] != inside[f.corner[(i + 1) & 3]];
        numCrossed += crossed[i];
    }
    if (numCrossed == 2) {
        int e[2], n = 0;
        for (int i = 0; i < 4; i++)
            if (crossed[i]) e[n++] = edge[i];
        addSegment(f, e[0], e[1], inside, next);
    } else if (numCrossed == 4) {
        // Two inside corners on a diagonal: cut each one off on its own.
        for (int i = 0; i < 4; i++)
            if (inside[f.corner[i]]) addSegment(f, edge[(i + 3) & 3], edge[i], inside, next);
    }
}

void appendPolygon(casePolygons& row, int& used, const int* loop, int n) {
    row.size[row.numPolygons++] = static_cast<uint8_t>(n);
    for (int i = 0; i < n; i++)
        row.edges[used++] = static_cast<uint8_t>(loop[i]);
}

// The edge that leaves corner c along the given axis.
int edgeFromCorner(int c, int axis) {
    for (int e = 0; e < 12; e++)
        if (edgeAxis[e] == axis && (edgeStart[e] == c || edgeEnd[e] == c)) return e;
    return -1;
}

// In the twelve cases whose two outside corners are the ends of a face
// diagonal, the edge that leaves each of them at right angles to that face;
// false for every other case.
bool diagonalSplit(const bool inside[8], int split[2]) {
    int out[8], n = 0;
    for (int c = 0; c < 8; c++)
        if (!inside[c]) out[n++] = c;
    if (n != 2) return false;
    int same = -1, differ = 0;
    for (int a = 0; a < 3; a++) {
        if (cornerOffset[out[0]][a] == cornerOffset[out[1]][a])
            same = a;
        else
            differ++;
    }
    if (differ != 2) return false;
    split[0] = edgeFromCorner(out[0], same);
    split[1] = edgeFromCorner(out[1], same);
    return true;
}

// Rows whose first vertices and polygon order are kept as the demo has
// always had them; they decide the fan diagonals of their non-planar polygons.
struct fixedRow {
    int caseIndex;
    casePolygons polygons;
};

const fixedRow kFixedRows[] = {
    {1, {1, {3}, {0, 3, 4}}},
    {2, {1, {3}, {1, 0, 5}}},
    {3, {1, {4}, {1, 3, 4, 5}}},
    {5, {2, {3, 3}, {0, 3, 4, 2, 1, 6}}},
    {7, {1, {5}, {5, 6, 2, 3, 4}}},
    {15, {1, {4}, {4, 5, 6, 7}}},
    {23, {1, {6}, {5, 6, 2, 3, 11, 8}}},
    {60, {2, {4, 4}, {3, 1, 6, 7, 5, 4, 11, 9}}},
    {61, {1, {7}, {0, 1, 6, 7, 11, 9, 5}}},
    {65, {2, {3, 3}, {0, 3, 4, 6, 9, 10}}},
    {90, {4, {3, 3, 3, 3}, {6, 9, 10, 4, 11, 8, 3, 2, 7, 1, 0, 5}}},
    {171, {1, {7}, {4, 8, 9, 1, 2, 10, 11}}},
    {250, {2, {4, 4}, {1, 0, 4, 6, 3, 2, 6, 4}}},
    {254, {1, {3}, {0, 4, 3}}},
};

} // namespace

casePolygons deriveCaseRow(unsigned caseIndex) {
    casePolygons row{};
    bool inside[8];
    for (int c = 0; c < 8; c++)
        inside[c] = (caseIndex >> c) & 1;
    int next[12];
    for (int e = 0; e < 12; e++)
        next[e] = -1;
    for (const face& f : kFaces)
        faceSegments(f, inside, next);

    int split[2] = {-1, -1};
    bool splitHexagon = diagonalSplit(inside, split);
    bool visited[12] = {};
    int used = 0;
    for (int first = 0; first < 12; first++) {
        if (next[first] < 0 || visited[first]) continue;
        int loop[12] = {}, n = 0;
        for (int e = first; !visited[e]; e = next[e]) {
            visited[e] = true;
            loop[n++] = e;
        }
        if (splitHexagon && n == 6) {
            int i = 0;
            while (loop[i] != split[0] && loop[i] != split[1])
                i++;
            int a[4], b[4];
            for (int k = 0; k < 4; k++) {
                a[k] = loop[(i + k) % 6];
                b[k] = loop[(i + 3 + k) % 6];
            }
            appendPolygon(row, used, a, 4);
            appendPolygon(row, used, b, 4);
        } else {
            appendPolygon(row, used, loop, n);
        }
    }
    return row;
}

const casePolygons& caseTable(unsigned caseIndex) {
    static const std::array<casePolygons, 256> table = [] {
        std::array<casePolygons, 256> t;
        for (unsigned c = 0; c < 256; c++)
            t[c] = deriveCaseRow(c);
        for (const fixedRow& f : kFixedRows)
            t[f.caseIndex] = f.polygons;
        return t;
    }();
    return table[caseIndex & 255];
}
