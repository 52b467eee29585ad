// A straightforward polygonizer kept as the reference for the fast build: the
// same sampling, an edge search in every cell that needs it (no cache), the
// fans written out again, and vertex merging by a linear scan in index order.
#pragma once
#include "geometry/case_table.h"
#include "geometry/cell_geometry.h"
#include "geometry/meta_builder.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

struct referenceMesh {
    std::vector<vector3> vertices;
    std::vector<std::array<uint16_t, 3>> triangles;
};

// The first vertex in index order with squared distance below 0.01 wins.
inline int linearAddVertex(std::vector<vector3>& vertices, const vector3& p) {
    for (std::size_t i = 0; i < vertices.size(); i++) {
        double dx = vertices[i].x - p.x;
        double dy = vertices[i].y - p.y;
        double dz = vertices[i].z - p.z;
        if (dx * dx + dy * dy + dz * dz < 0.01) return static_cast<int>(i);
    }
    vertices.push_back(p);
    return static_cast<int>(vertices.size() - 1);
}

// Fans of a polygon of n vertices v[0..n-1], in emission order.
inline void referencePolygon(referenceMesh& m, const vector3* pts, const uint8_t* v, int n) {
    static const int fans[8][5][3] = {
        {},
        {},
        {},
        {{0, 1, 2}},
        {{0, 1, 2}, {2, 3, 0}},
        {{0, 1, 4}, {1, 2, 4}, {2, 3, 4}},
        {{0, 1, 2}, {0, 2, 5}, {2, 3, 5}, {3, 4, 5}},
        {{0, 1, 3}, {1, 2, 3}, {0, 3, 4}, {0, 4, 6}, {4, 5, 6}},
    };
    for (int t = 0; t < n - 2; t++) {
        std::array<uint16_t, 3> tri;
        for (int k = 0; k < 3; k++)
            tri[k] = uint16_t(linearAddVertex(m.vertices, pts[v[fans[n][t][k]]]));
        m.triangles.push_back(tri);
    }
}

inline referenceMesh referenceBuild(shapeFunction f) {
    referenceMesh m;
    static unsigned char flag[32][32][32];
    for (int k = 0; k < 32; k++)
        for (int j = 0; j < 32; j++)
            for (int i = 0; i < 32; i++)
                flag[k][j][i] = f(i - 16, j - 16, k - 16) != 0;
    for (int k = 0; k < 31; k++)
        for (int j = 0; j < 31; j++)
            for (int i = 0; i < 31; i++) {
                vector3 points[12];
                unsigned caseIndex = 0;
                double corner[8][3];
                int inside[8];
                for (int c = 0; c < 8; c++) {
                    const int* o = cornerOffset[c];
                    inside[c] = flag[k + o[2]][j + o[1]][i + o[0]];
                    caseIndex |= unsigned(inside[c]) << c;
                    corner[c][0] = i + o[0] - 16;
                    corner[c][1] = j + o[1] - 16;
                    corner[c][2] = k + o[2] - 16;
                }
                for (int e = 0; e < 12; e++) {
                    int s = inside[edgeStart[e]];
                    if (s == inside[edgeEnd[e]]) continue;
                    const double* p0 = corner[edgeStart[e]];
                    const double* p1 = corner[edgeEnd[e]];
                    double t = 0.125;
                    for (int n = 1; n <= 6; n++) {
                        t = n / 8.0;
                        if (f(p0[0] + (p1[0] - p0[0]) * t, p0[1] + (p1[1] - p0[1]) * t,
                              p0[2] + (p1[2] - p0[2]) * t) != s)
                            break;
                    }
                    points[e].set(p0[0] + (p1[0] - p0[0]) * t, p0[1] + (p1[1] - p0[1]) * t,
                                  p0[2] + (p1[2] - p0[2]) * t);
                }
                const casePolygons& row = caseTable(caseIndex);
                const uint8_t* v = row.edges;
                for (int p = 0; p < row.numPolygons; v += row.size[p], p++)
                    referencePolygon(m, points, v, row.size[p]);
            }
    return m;
}
