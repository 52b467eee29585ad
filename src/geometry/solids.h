// The eight solids of the demo and their polygonizing and scaling in start-up
// order. No GL: start-up builds them on its worker thread (or in line), and
// tools and tests build them without a window.
#pragma once
#include "geometry/meta_builder.h"

// The eight shapes, constructed in this order by static initialisation (before
// any host's entry runs: SDL_main, the browser's main, a tool); scenes call
// their lists as glCallList(listId) (flat) and glCallList(listId + 1) (smooth).
extern metaBuilder mb, stoned_forest, stoned_mountain, julia, pillars, pyramid, lost_forest,
    lost_jaw;

enum { SOLID_COUNT = 8 };

// The shapes in table order (mb first, lost_jaw last): the order of their lists.
extern metaBuilder* const solidTable[SOLID_COUNT];

// Polygonizes and scales the eight shapes in start-up order, printing the
// polygonizer's lines on the console.
void buildSolidMeshes();
