// A triangle mesh of fixed capacity (16384 vertices, 16384 triangles): merges
// vertices closer than 0.1, keeps one unit normal per triangle and derives one
// normal of length 0.5 per vertex. Built on start-up's worker thread (or in
// line), baked on the main thread.
#pragma once
#include "geometry/vector3.h"
#include <cstdint>

// Three vertex indices in the winding given to addTriangle.
struct triangle13 {
    uint16_t v[3];
};

class vertexGrid;

class object13 {
  public:
    static constexpr unsigned kCapacity = 16384; // vertices and triangles per mesh

    vector3* vertices;     // positions, [0, numVertices) in use
    vector3* normals;      // per vertex, length 0.5, valid after prepare()
    uint32_t numVertices;  // vertices in use
    triangle13* triangles; // [0, numTriangles) in use
    vector3* faceNormals;  // unit normal of triangle i
    uint32_t numTriangles; // triangles in use

    object13();
    ~object13();
    object13(const object13&) = delete;
    object13& operator=(const object13&) = delete;

    void reset();
    // Index of the first vertex (in index order) closer than 0.1 to p, or of
    // p appended as a new vertex; -1 when the mesh is full and p is new.
    // Positions may change only through resize() or reset() in between.
    int addVertex(vector3* p);
    // Appends triangle a, b, c with its unit face normal. A full mesh or an
    // index outside [0, numVertices) refuses it, with one warning per build.
    void addTriangle(int a, int b, int c);
    // Vertex normals: sum of the adjacent face normals, rescaled to 0.5.
    void prepare();
    // Scales every vertex position; normals keep their unscaled values.
    void resize(double sx, double sy, double sz);
    // True once a vertex or triangle was refused since the last reset().
    bool overflowed() const { return refused; }

    // Issue the mesh in GL immediate mode: face normals (flat) or vertex
    // normals (smooth), sphere-map generation on around the batch. The GL half
    // of the class: defined in geometry/gl/mesh_render.cpp, in the edge
    // library only, so plain code that calls them does not link.
    void renderFlatEnv();
    void renderFullEnv();

  protected:
    // Prints the one capacity warning of this build (until the next reset).
    void refuse();
    // Appends p without a merge search, for callers that know no vertex lies
    // within 0.1 of it (addVertex would add it too); -1 when the mesh is full.
    int appendVertex(const vector3& p);

  private:
    vertexGrid* grid = nullptr; // spatial index over vertices, built lazily
    bool stale = false;         // positions moved since the index was built
    bool refused = false;       // the one capacity warning of this build is out
};
