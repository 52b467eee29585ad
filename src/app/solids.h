// The eight solids of the demo and their start-up build.
#pragma once

// Start-up steps between the two console lines: reserve 16 list ids,
// polygonize and scale the eight shapes, bake two lists each.
void buildSolids();
