// The eight solids of the demo and their start-up build.
#pragma once
#include "geometry/meta_builder.h"

// The eight shapes, constructed in this order before SDL_main; scenes call
// their lists as glCallList(listId) (flat) and glCallList(listId + 1) (smooth).
extern metaBuilder mb, stoned_forest, stoned_mountain, julia, pillars, pyramid, lost_forest,
    lost_jaw;

// Polygonizes and scales the eight shapes in start-up order, printing the
// polygonizer's lines. No GL: tools and tests use it without a window.
void buildSolidMeshes();

// Start-up steps between the two console lines: reserve 16 list ids,
// polygonize and scale the eight shapes, bake two lists each.
void buildSolids();

// The GL part alone, for meshes that buildSolidMeshes has built already:
// reserve 16 list ids, bake two lists per solid in table order.
void bakeSolids();
