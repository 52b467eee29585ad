// The case table: the telling rows literally, and for all 256 cases the face
// rule (every crossed edge used once, consecutive vertices on a common face,
// outward winding) and the twelve hexagons split into two quadrilaterals.
#include "geometry/case_table.h"
#include "geometry/cell_geometry.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <set>
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
    struct telling {
        unsigned caseIndex;
        polygons expected;
    };
    const telling rows[] = {
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
    };
    for (const telling& t : rows)
        EXPECT_EQ(rowPolygons(caseTable(t.caseIndex)), t.expected) << "case " << t.caseIndex;
    EXPECT_EQ(caseTable(0).numPolygons, 0);
    EXPECT_EQ(caseTable(255).numPolygons, 0);
}

// The same loop up to the choice of its first vertex.
bool sameLoop(const std::vector<int>& a, const std::vector<int>& b) {
    if (a.size() != b.size()) return false;
    for (size_t r = 0; r < a.size(); r++) {
        std::vector<int> rot(a.begin() + r, a.end());
        rot.insert(rot.end(), a.begin(), a.begin() + r);
        if (rot == b) return true;
    }
    return false;
}

TEST(CaseTable, TellingRowsAreTheRuleWithAChosenStart) {
    for (unsigned c : {1u, 2u, 3u, 5u, 7u, 15u, 23u, 60u, 61u, 65u, 90u, 171u, 250u, 254u}) {
        polygons fixed = rowPolygons(caseTable(c)), derived = rowPolygons(deriveCaseRow(c));
        ASSERT_EQ(fixed.size(), derived.size()) << c;
        for (const std::vector<int>& f : fixed)
            EXPECT_TRUE(std::any_of(derived.begin(), derived.end(),
                                    [&](const std::vector<int>& d) { return sameLoop(f, d); }))
                << "case " << c;
    }
}

bool crossed(unsigned c, int e) {
    return ((c >> edgeStart[e]) & 1) != ((c >> edgeEnd[e]) & 1);
}

int insideEnd(unsigned c, int e) {
    return ((c >> edgeStart[e]) & 1) ? edgeStart[e] : edgeEnd[e];
}

// An edge lies on the face where coordinate `axis` equals v when both of its
// corners do.
bool edgeOnFace(int e, int axis, int v) {
    return cornerOffset[edgeStart[e]][axis] == v && cornerOffset[edgeEnd[e]][axis] == v;
}

// The face two edges share, as (axis, value); false when they share none.
bool commonFace(int a, int b, int* axis, int* value) {
    for (int x = 0; x < 3; x++)
        for (int v = 0; v < 2; v++)
            if (edgeOnFace(a, x, v) && edgeOnFace(b, x, v)) {
                *axis = x;
                *value = v;
                return true;
            }
    return false;
}

bool onCommonFace(int a, int b) {
    int x, v;
    return commonFace(a, b, &x, &v);
}

bool sharesCorner(int a, int b) {
    return edgeStart[a] == edgeStart[b] || edgeStart[a] == edgeEnd[b] ||
           edgeEnd[a] == edgeStart[b] || edgeEnd[a] == edgeEnd[b];
}

const unsigned kSplitCases[12] = {95, 123, 126, 175, 183, 189, 219, 222, 231, 237, 245, 250};

TEST(CaseTable, EveryCrossedEdgeOnceAndOnlyCrossedEdges) {
    for (unsigned c = 1; c < 255; c++) {
        bool split = std::count(kSplitCases, kSplitCases + 12, c) > 0;
        polygons ps = rowPolygons(caseTable(c));
        std::multiset<int> used;
        for (const std::vector<int>& p : ps) {
            EXPECT_GE(p.size(), 3u) << c;
            EXPECT_LE(p.size(), 7u) << c;
            used.insert(p.begin(), p.end());
        }
        EXPECT_LE(ps.size(), 4u) << c;
        for (int e = 0; e < 12; e++) {
            size_t expect = crossed(c, e) ? 1 : 0;
            if (split && used.count(e) == 2) expect = 2; // the shared diagonal
            EXPECT_EQ(used.count(e), expect) << "case " << c << " edge " << e;
        }
        if (split) {
            ASSERT_EQ(ps.size(), 2u) << c;
            EXPECT_EQ(ps[0].size(), 4u);
            EXPECT_EQ(ps[1].size(), 4u);
            // The diagonal runs between the two edges that leave the outside
            // corners at right angles to their common face: parallel edges.
            std::vector<int> shared;
            for (int e : ps[0])
                if (std::count(ps[1].begin(), ps[1].end(), e)) shared.push_back(e);
            ASSERT_EQ(shared.size(), 2u) << c;
            EXPECT_EQ(edgeAxis[shared[0]], edgeAxis[shared[1]]) << c;
            EXPECT_FALSE(onCommonFace(shared[0], shared[1])) << c;
        }
    }
}

TEST(CaseTable, OnlyTheTwelveDiagonalCasesAreSplit) {
    for (unsigned c = 1; c < 255; c++) {
        polygons ps = rowPolygons(caseTable(c));
        std::multiset<int> used;
        for (const std::vector<int>& p : ps)
            used.insert(p.begin(), p.end());
        bool reused = false;
        for (int e = 0; e < 12; e++)
            reused |= used.count(e) > 1;
        EXPECT_EQ(reused, std::count(kSplitCases, kSplitCases + 12, c) > 0) << c;
    }
}

// Consecutive polygon vertices lie on a common face and never join two
// inside corners across a face diagonal: edges that share no corner are
// joined only when they are opposite edges of a face, and edges that share a
// corner cut off that corner, which must be inside whenever the face has
// four crossed edges.
TEST(CaseTable, SegmentsFollowTheFaceRule) {
    for (unsigned c = 1; c < 255; c++) {
        bool split = std::count(kSplitCases, kSplitCases + 12, c) > 0;
        for (const std::vector<int>& p : rowPolygons(caseTable(c))) {
            for (size_t i = 0; i < p.size(); i++) {
                int a = p[i], b = p[(i + 1) % p.size()];
                bool diagonal = split && edgeAxis[a] == edgeAxis[b] && !onCommonFace(a, b);
                if (diagonal) continue;
                ASSERT_TRUE(onCommonFace(a, b)) << "case " << c << " edges " << a << "," << b;
                if (!sharesCorner(a, b)) continue;
                int corner = edgeStart[a] == edgeStart[b] || edgeStart[a] == edgeEnd[b]
                                 ? edgeStart[a]
                                 : edgeEnd[a];
                // Cutting off an outside corner is fine only on a face with
                // two crossed edges: then the other three corners are inside.
                if (!((c >> corner) & 1)) {
                    int axis = 0, value = 0, crossedOnFace = 0;
                    commonFace(a, b, &axis, &value);
                    for (int e = 0; e < 12; e++)
                        crossedOnFace += crossed(c, e) && edgeOnFace(e, axis, value);
                    EXPECT_EQ(crossedOnFace, 2) << "case " << c << " edges " << a << "," << b;
                }
            }
        }
    }
}

// The normal summed over the polygon's fan (edge midpoints as vertices)
// points from the inside corners towards the outside ones.
TEST(CaseTable, PolygonsFaceTheOutsideCorners) {
    for (unsigned c = 1; c < 255; c++) {
        for (const std::vector<int>& p : rowPolygons(caseTable(c))) {
            double mid[7][3];
            for (size_t i = 0; i < p.size(); i++)
                for (int a = 0; a < 3; a++)
                    mid[i][a] =
                        0.5 * (cornerOffset[edgeStart[p[i]]][a] + cornerOffset[edgeEnd[p[i]]][a]);
            double n[3] = {0, 0, 0}; // Newell's normal of the loop
            for (size_t i = 0; i < p.size(); i++) {
                const double* u = mid[i];
                const double* v = mid[(i + 1) % p.size()];
                n[0] += (u[1] - v[1]) * (u[2] + v[2]);
                n[1] += (u[2] - v[2]) * (u[0] + v[0]);
                n[2] += (u[0] - v[0]) * (u[1] + v[1]);
            }
            double outward = 0;
            for (int e : p) {
                int in = insideEnd(c, e);
                int out = in == edgeStart[e] ? edgeEnd[e] : edgeStart[e];
                for (int a = 0; a < 3; a++)
                    outward += n[a] * (cornerOffset[out][a] - cornerOffset[in][a]);
            }
            EXPECT_GT(outward, 0.0) << "case " << c;
        }
    }
}

} // namespace
