// The fixed-capacity triangle mesh: vertex merging (first vertex in index
// order closer than 0.1 wins, found through a spatial index), unit face
// normals, vertex normals of length 0.5 and scaling. Main thread.
#include "geometry/object13.h"

#include "geometry/vertex_grid.h"
#include <cstdio>
#include <cstdlib>
#include <new>
#include <type_traits>

namespace {

// Zeroed storage for n plain elements. calloc gets zero pages from the system
// without writing them, so the eight global meshes cost no page faults before
// main: a page is only touched when a build reaches it.
template <typename T> T* zeroedArray(size_t n) {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);
    void* p = std::calloc(n, sizeof(T));
    if (!p) throw std::bad_alloc();
    return static_cast<T*>(p);
}

} // namespace

object13::object13()
    : vertices(zeroedArray<vector3>(kCapacity)), normals(zeroedArray<vector3>(kCapacity)),
      numVertices(0), triangles(zeroedArray<triangle13>(kCapacity)),
      faceNormals(zeroedArray<vector3>(kCapacity)), numTriangles(0) {}

object13::~object13() {
    delete grid;
    std::free(faceNormals);
    std::free(triangles);
    std::free(normals);
    std::free(vertices);
}

void object13::reset() {
    numVertices = 0;
    numTriangles = 0;
    stale = true;
    refused = false;
}

void object13::refuse() {
    if (refused) return;
    refused = true;
    fprintf(stderr, "mesh full: further triangles refused (at most %u vertices and %u triangles)\n",
            kCapacity, kCapacity);
}

int object13::addVertex(vector3* p) {
    if (!grid) grid = new vertexGrid(kCapacity);
    // The index mirrors vertices [0, numVertices); rebuild it whenever the
    // mesh was reset or rescaled since it was last brought up to date.
    if (grid->count() > numVertices || stale) {
        grid->clear();
        stale = false;
    }
    while (grid->count() < numVertices)
        grid->insert(vertices[grid->count()]);

    int found = grid->find(vertices, *p);
    if (found >= 0) return found;
    if (numVertices >= kCapacity) {
        refuse();
        return -1;
    }
    vertices[numVertices].set(p);
    grid->insert(vertices[numVertices]);
    return static_cast<int>(numVertices++);
}

int object13::appendVertex(const vector3& p) {
    if (numVertices >= kCapacity) {
        refuse();
        return -1;
    }
    // The spatial index catches up with appended vertices on the next lookup.
    vertices[numVertices] = p;
    return static_cast<int>(numVertices++);
}

void object13::addTriangle(int a, int b, int c) {
    int n = static_cast<int>(numVertices);
    if (numTriangles >= kCapacity || a < 0 || b < 0 || c < 0 || a >= n || b >= n || c >= n) {
        refuse();
        return;
    }
    triangle13& t = triangles[numTriangles];
    t.v[0] = static_cast<uint16_t>(a);
    t.v[1] = static_cast<uint16_t>(b);
    t.v[2] = static_cast<uint16_t>(c);
    faceNormals[numTriangles].cross(&vertices[a], &vertices[b], &vertices[c]);
    faceNormals[numTriangles].unit();
    numTriangles++;
}

void object13::prepare() {
    for (uint32_t i = 0; i < numVertices; i++)
        normals[i].set(0.0, 0.0, 0.0);
    for (uint32_t i = 0; i < numTriangles; i++)
        for (int k = 0; k < 3; k++)
            normals[triangles[i].v[k]].add(&faceNormals[i]);
    for (uint32_t i = 0; i < numVertices; i++)
        normals[i].length(0.5);
}

void object13::resize(double sx, double sy, double sz) {
    for (uint32_t i = 0; i < numVertices; i++) {
        vertices[i].x *= sx;
        vertices[i].y *= sy;
        vertices[i].z *= sz;
    }
    stale = true;
}
