// The spatial-index merge returns exactly what the linear scan in index order
// returns: same indices, same vertices. Checked on adversarial point sets and
// on the whole build of all eight solids against the reference polygonizer.
#include "geometry/shapes.h"
#include "geometry/shapes_fast.h"
#include "linear_reference.h"
#include "mesh_helpers.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace {

// Feeds the points to both merges; fails at the first differing index.
void expectSameMerge(const std::vector<vector3>& points, const char* name) {
    static object13 mesh;
    mesh.reset();
    std::vector<vector3> linear;
    for (size_t i = 0; i < points.size(); i++) {
        vector3 p = points[i];
        int fast = mesh.addVertex(&p);
        int slow = linearAddVertex(linear, points[i]);
        if (slow >= int(object13::kCapacity)) break;
        ASSERT_EQ(fast, slow) << name << " point " << i << " (" << p.x << ", " << p.y << ", " << p.z
                              << ")";
    }
    ASSERT_EQ(mesh.numVertices, std::min<size_t>(linear.size(), object13::kCapacity)) << name;
    for (uint32_t i = 0; i < mesh.numVertices; i++)
        ASSERT_TRUE(sameBits(mesh.vertices[i], linear[i])) << name << " " << i;
}

TEST(VertexMerge, AdversarialPointSets) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> centre(-3, 3), jitter(-0.12, 0.12), wide(-16, 16);
    // Rows 0.1 apart written in decimal: some differences round below 0.1,
    // some above; and the 0.06 / 0.08 pair (squares add to exactly 0.01) at
    // many offsets, straddling cell borders in every way.
    std::vector<vector3> tenth;
    for (int i = -40; i <= 40; i++)
        for (int j = -3; j <= 3; j++)
            tenth.push_back(v3(i * 0.1, j * 0.1, 0.3 * j));
    for (int i = 0; i < 64; i++) {
        double o = -8 + i * 0.25 + (i % 3 - 1) * 0.03;
        for (double y : {0.0, 0.08, std::nextafter(0.08, 0.0)})
            tenth.push_back(v3(o + (y > 0 ? 0.06 : 0), o + y, o));
    }
    // Clusters within 0.1 of several vertices, then points probing them.
    std::vector<vector3> clusters;
    for (int c = 0; c < 300; c++) {
        double cx = centre(rng), cy = centre(rng), cz = centre(rng);
        for (int k = 0; k < 20; k++)
            clusters.push_back(v3(cx + jitter(rng), cy + jitter(rng), cz + jitter(rng)));
    }
    for (int k = 0; k < 3000; k++)
        clusters.push_back(v3(centre(rng), centre(rng), centre(rng)));
    // Cells are quarter units: points at and one ulp either side of borders,
    // neighbours just under 0.1 away across them, and eighth-grid points.
    std::vector<vector3> borders;
    for (int i = -20; i <= 20; i++) {
        double b = i * 0.25;
        for (double x : {b, std::nextafter(b, -1e9), std::nextafter(b, 1e9)})
            for (const vector3& d :
                 {v3(0, 0, 0), v3(0.0999, 0, 0), v3(-0.0999, 0.0001, 0), v3(0.05, 0.05, 0.05)})
                borders.push_back(v3(x + d.x, b + d.y, -b + d.z));
    }
    for (int i = 0; i < 400; i++)
        borders.push_back(v3((i % 17) / 8.0 - 1, (i % 13) / 8.0 - 1, (i % 11) / 8.0 - 1));
    // Far, huge and non-finite coordinates must not break a cell key.
    const double inf = std::numeric_limits<double>::infinity(),
                 nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<vector3> odd = {
        v3(1e6, 0, 0),        v3(1e6 + 0.05, 0, 0),  v3(-1e6, 0, 0),        v3(-1e6 - 0.05, 0, 0),
        v3(262143.9, 0, 0),   v3(262144.01, 0, 0),   v3(262144.05, 0, 0),   v3(-262144.0, 0, 0),
        v3(-262143.95, 0, 0), v3(1e300, 1e300, 0),   v3(1e300, 1e300, 0),   v3(-1e300, 0, 1e300),
        v3(inf, 0, 0),        v3(inf, 0, 0),         v3(-inf, inf, 0),      v3(nan, 0, 0),
        v3(nan, 0, 0),        v3(0, nan, 0),         v3(0, 0, 0),           v3(0.01, 0, 0),
        v3(4e-320, 0, 0),     v3(1e18, -1e18, 1e18), v3(1e18, -1e18, 1e18),
    };
    // Many near duplicates, past the capacity.
    std::vector<vector3> full;
    for (int k = 0; k < 40000; k++)
        full.push_back(v3(wide(rng), wide(rng), wide(rng) * 0.05));
    expectSameMerge(tenth, "tenth");
    expectSameMerge(clusters, "clusters");
    expectSameMerge(borders, "borders");
    expectSameMerge(odd, "odd");
    expectSameMerge(full, "full");
}

// The fast build (with the fast inside test, as start-up uses it) against the
// reference with the plain one: the same vertices bit for bit, in the same
// order, and the same triangles.
TEST(VertexMerge, EightSolidsBuildIdenticallyToTheLinearScanReference) {
    const struct {
        const char* name;
        shapeFunction fast, plain;
    } solids[8] = {
        {"tunnel", fastInsideTunnel, isInsideTunnel},
        {"meta", fastInsideMeta, isInsideMeta},
        {"mountain", fastInsideMountain, isInsideMountain},
        {"fract", isInsideFract, isInsideFract},
        {"pillar", fastInsidePillar, isInsidePillar},
        {"pyramid", isInsidePyramid, isInsidePyramid},
        {"meta2", fastInsideMeta2, isInsideMeta2},
        {"meta3", fastInsideMeta3, isInsideMeta3},
    };
    static metaBuilder fast;
    for (const auto& s : solids) {
        build(fast, s.fast);
        referenceMesh slow = referenceBuild(s.plain);
        ASSERT_EQ(fast.numVertices, slow.vertices.size()) << s.name;
        ASSERT_EQ(fast.numTriangles, slow.triangles.size()) << s.name;
        for (uint32_t i = 0; i < fast.numVertices; i++)
            ASSERT_TRUE(sameBits(fast.vertices[i], slow.vertices[i])) << s.name << " vertex " << i;
        for (uint32_t i = 0; i < fast.numTriangles; i++)
            for (int k = 0; k < 3; k++)
                ASSERT_EQ(fast.triangles[i].v[k], slow.triangles[i][k]) << s.name << " tri " << i;
    }
}

// A build appends its vertices without a merge search; a later addVertex
// must still see every one of them, as the linear scan does.
TEST(VertexMerge, AddVertexAfterABuildFindsTheBuiltVertices) {
    static metaBuilder mesh;
    build(mesh, fastInsideMeta);
    std::vector<vector3> linear(mesh.vertices, mesh.vertices + mesh.numVertices);
    for (uint32_t i = 0, built = mesh.numVertices; i < built; i += 7) {
        vector3 p = v3(mesh.vertices[i].x + 0.07, mesh.vertices[i].y, mesh.vertices[i].z - 0.07);
        vector3 q = p;
        ASSERT_EQ(mesh.addVertex(&p), linearAddVertex(linear, q)) << i;
    }
    EXPECT_EQ(mesh.numVertices, linear.size());
}

} // namespace
