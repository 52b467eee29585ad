// The eight solids of the demo, constructed in this order before SDL_main and
// destroyed in reverse at exit, and their polygonizing and scaling in
// start-up order. No GL; one thread at a time (start-up's worker, or in line).
// The fast inside tests answer exactly as the plain ones of shapes.h.
#include "geometry/solids.h"

#include "geometry/shapes.h"
#include "geometry/shapes_fast.h"

metaBuilder mb;              // rock with winding tunnels
metaBuilder stoned_forest;   // 16 blobs under a slab
metaBuilder stoned_mountain; // rock around a cave, scaled (2, 2, 2)
metaBuilder julia;           // quaternion Julia slice
metaBuilder pillars;         // twisted columns under a pierced slab, net scale (6, 4, 6)
metaBuilder pyramid;         // terraced pyramid, unscaled
metaBuilder lost_forest;     // 24 blobs between two slabs
metaBuilder lost_jaw;        // 24 blobs on a ring, scaled (2, 1, 2)

metaBuilder* const solidTable[SOLID_COUNT] = {
    &mb, &stoned_forest, &stoned_mountain, &julia, &pillars, &pyramid, &lost_forest, &lost_jaw};

void buildSolidMeshes() {
    mb.kickIn(fastInsideTunnel);
    stoned_forest.kickIn(fastInsideMeta);
    stoned_mountain.kickIn(fastInsideMountain);
    stoned_mountain.resize(2, 2, 2);
    julia.kickIn(isInsideFract);
    pillars.kickIn(fastInsidePillar);
    pillars.resize(3, 2, 3);
    pyramid.kickIn(isInsidePyramid);
    // Scales pillars a second time, not pyramid: pillars end up (6, 4, 6).
    pillars.resize(2, 2, 2);
    lost_forest.kickIn(fastInsideMeta2);
    lost_jaw.kickIn(fastInsideMeta3);
    lost_jaw.resize(2, 1, 2);
}
