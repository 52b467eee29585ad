// A straightforward polygonizer kept as the reference for the fast build: the
// same sampling, an edge search in every cell that needs it (no cache), fans
// written out again, and vertex merging by a linear scan in index order.
#pragma once
#include "geometry/case_table.h"
#include "geometry/cell_geometry.h"
#include "geometry/meta_builder.h"

#include <array>
#include <cstddef>
#include <vector>

struct referenceMesh {
    std::vector<vector3> vertices;
    std::vector<std::array<int, 3>> triangles;
};

// The first vertex in index order with squared distance below 0.01 wins.
inline int linearAddVertex(std::vector<vector3>& vs, const vector3& p) {
    for (std::size_t i = 0; i < vs.size(); i++) {
        double dx = vs[i].x - p.x, dy = vs[i].y - p.y, dz = vs[i].z - p.z;
        if (dx * dx + dy * dy + dz * dz < 0.01) return int(i);
    }
    vs.push_back(p);
    return int(vs.size() - 1);
}

inline referenceMesh referenceBuild(shapeFunction f) {
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
    referenceMesh m;
    for (int n = 0; n < 31 * 31 * 31; n++) {
        double c[8][3];
        int in[8];
        unsigned caseIndex = 0;
        for (int b = 0; b < 8; b++) {
            for (int k = 0; k < 3; k++)
                c[b][k] = (k == 0   ? n % 31
                           : k == 1 ? n / 31 % 31
                                    : n / 961) +
                          cornerOffset[b][k] - 16;
            in[b] = f(c[b][0], c[b][1], c[b][2]) != 0;
            caseIndex |= unsigned(in[b]) << b;
        }
        vector3 pts[12];
        for (int e = 0; e < 12; e++) {
            const double *p = c[edgeStart[e]], *q = c[edgeEnd[e]];
            if (in[edgeStart[e]] == in[edgeEnd[e]]) continue;
            double t = 0;
            for (int s = 1; s <= 6; s++) {
                t = s / 8.0;
                if (f(p[0] + (q[0] - p[0]) * t, p[1] + (q[1] - p[1]) * t,
                      p[2] + (q[2] - p[2]) * t) != in[edgeStart[e]])
                    break;
            }
            pts[e].set(p[0] + (q[0] - p[0]) * t, p[1] + (q[1] - p[1]) * t,
                       p[2] + (q[2] - p[2]) * t);
        }
        const casePolygons& row = caseTable(caseIndex);
        const uint8_t* v = row.edges;
        for (int p = 0; p < row.numPolygons; v += row.size[p], p++)
            for (int t = 0; t < row.size[p] - 2; t++) {
                std::array<int, 3> tri;
                for (int k = 0; k < 3; k++)
                    tri[k] = linearAddVertex(m.vertices, pts[v[fans[row.size[p]][t][k]]]);
                m.triangles.push_back(tri);
            }
    }
    return m;
}
