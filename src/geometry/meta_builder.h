// The polygonizer: samples a shape function on the 32^3 grid of integer points
// -16..15, places a crossing point on every cell edge whose ends disagree and
// emits each cell's polygons from the case table into the mesh. One thread at a
// time: start-up's worker (or in line); the lists are baked on the main thread.
#pragma once
#include "geometry/object13.h"

// Inside test of a solid: exactly 1 inside, 0 outside (grid units).
typedef int (*shapeFunction)(double x, double y, double z);

class metaBuilder : public object13 {
  public:
    int listId = 0;         // flat display list; the smooth one is listId + 1
    vector3 edgePoints[12]; // crossing point of each edge of the current cell

    metaBuilder() = default;
    ~metaBuilder() = default;

    // Rebuilds the mesh from f, printing "\nrekenen.." and the counts.
    void kickIn(shapeFunction f);
    // Emits the polygons of one cell case from edgePoints.
    void marchers(unsigned char caseIndex);
    // Polygons over edge numbers 0..11, fanned into triangles.
    void drawTri(int a, int b, int c);
    void drawQuad(int a, int b, int c, int d);
    void drawPenta(int a, int b, int c, int d, int e);
    void drawHexa(int a, int b, int c, int d, int e, int f);
    void drawHepta(int a, int b, int c, int d, int e, int f, int g);
    // Stores n in listId and compiles lists n (flat) and n + 1 (smooth). GL:
    // defined in geometry/gl/mesh_render.cpp, in the edge library only.
    void preproc(int n);

  private:
    int vertexOf(int edge);

    // During kickIn: where the current cell's edges keep their vertex index
    // (-1 until looked up once), so a shared crossing point is merged once.
    int* edgeVertex[12] = {};
};
