// The case table: the telling rows literally, and for all 256 cases the face
// rule (every crossed edge used once, outward winding) with the twelve hexagons split into two
// quadrilaterals.
#include "geometry/case_table.h"
#include "geometry/cell_geometry.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <vector>

namespace {

typedef std::vector<std::vector<int>> polygons;

polygons rowPolygons(const casePolygons& row) {
    polygons out;
    const uint8_t* e = row.edges;
    for (int p = 0; p < row.numPolygons; e += row.size[p], p++)
        out.push_back(std::vector<int>(e, e + row.size[p]));
    return out;
}

TEST(CaseTable, TellingRowsExactly) {
    const std::pair<unsigned, polygons> rows[] = {
        {0, {}},
        {1, {{0, 3, 4}}},
        {2, {{1, 0, 5}}},
        {3, {{1, 3, 4, 5}}},
        {5, {{0, 3, 4}, {2, 1, 6}}},
        {7, {{5, 6, 2, 3, 4}}},
        {15, {{4, 5, 6, 7}}},
        {23, {{5, 6, 2, 3, 11, 8}}},
        {60, {{3, 1, 6, 7}, {5, 4, 11, 9}}},
        {61, {{0, 1, 6, 7, 11, 9, 5}}},
        {65, {{0, 3, 4}, {6, 9, 10}}},
        {90, {{6, 9, 10}, {4, 11, 8}, {3, 2, 7}, {1, 0, 5}}},
        {171, {{4, 8, 9, 1, 2, 10, 11}}},
        {250, {{1, 0, 4, 6}, {3, 2, 6, 4}}},
        {254, {{0, 4, 3}}},
        {255, {}},
    };
    for (const auto& r : rows)
        EXPECT_EQ(rowPolygons(caseTable(r.first)), r.second) << "case " << r.first;
}

bool crossed(unsigned c, int e) {
    return ((c >> edgeStart[e]) & 1) != ((c >> edgeEnd[e]) & 1);
}

// True when both edges lie on one face of the cell.
bool shareAFace(int a, int b) {
    for (int axis = 0; axis < 3; axis++)
        for (int v = 0; v < 2; v++) {
            int on = 0;
            for (int e : {a, b})
                on += cornerOffset[edgeStart[e]][axis] == v && cornerOffset[edgeEnd[e]][axis] == v;
            if (on == 2) return true;
        }
    return false;
}

const unsigned kSplitCases[12] = {95, 123, 126, 175, 183, 189, 219, 222, 231, 237, 245, 250};

// Crossed edges once each, except the diagonal of the twelve split cases:
// used by both quadrilaterals, running between two parallel edges that share
// no face.
TEST(CaseTable, EveryCrossedEdgeOnceAndOnlyTheTwelveSplit) {
    for (unsigned c = 1; c < 255; c++) {
        bool split = std::count(kSplitCases, kSplitCases + 12, c) > 0;
        polygons ps = rowPolygons(caseTable(c));
        int used[12] = {};
        for (const std::vector<int>& p : ps) {
            EXPECT_TRUE(p.size() >= 3 && p.size() <= 7) << c;
            for (int e : p)
                used[e]++;
        }
        EXPECT_LE(ps.size(), 4u) << c;
        std::vector<int> shared;
        for (int e = 0; e < 12; e++) {
            if (used[e] == 2)
                shared.push_back(e);
            else
                EXPECT_EQ(used[e], crossed(c, e) ? 1 : 0) << "case " << c << " edge " << e;
        }
        if (!split) {
            EXPECT_TRUE(shared.empty()) << c;
            continue;
        }
        ASSERT_EQ(ps.size(), 2u) << c;
        EXPECT_EQ(ps[0].size() + ps[1].size(), 8u) << c;
        ASSERT_EQ(shared.size(), 2u) << c;
        EXPECT_EQ(edgeAxis[shared[0]], edgeAxis[shared[1]]) << c;
        EXPECT_FALSE(shareAFace(shared[0], shared[1])) << c;
    }
}

// The loop's Newell normal (over edge midpoints) points from the inside
// corners to the outside ones.
TEST(CaseTable, PolygonsFaceOutward) {
    for (unsigned c = 1; c < 255; c++)
        for (const std::vector<int>& p : rowPolygons(caseTable(c))) {
            double n[3] = {0, 0, 0}, outward = 0;
            for (size_t i = 0; i < p.size(); i++) {
                int a = p[i], b = p[(i + 1) % p.size()];
                double u[3], v[3]; // twice the midpoints
                for (int k = 0; k < 3; k++) {
                    u[k] = cornerOffset[edgeStart[a]][k] + cornerOffset[edgeEnd[a]][k];
                    v[k] = cornerOffset[edgeStart[b]][k] + cornerOffset[edgeEnd[b]][k];
                }
                n[0] += (u[1] - v[1]) * (u[2] + v[2]);
                n[1] += (u[2] - v[2]) * (u[0] + v[0]);
                n[2] += (u[0] - v[0]) * (u[1] + v[1]);
            }
            for (int e : p) {
                int in = (c >> edgeStart[e]) & 1 ? edgeStart[e] : edgeEnd[e];
                int out = edgeStart[e] + edgeEnd[e] - in;
                for (int k = 0; k < 3; k++)
                    outward += n[k] * (cornerOffset[out][k] - cornerOffset[in][k]);
            }
            EXPECT_GT(outward, 0.0) << "case " << c;
        }
}

} // namespace
