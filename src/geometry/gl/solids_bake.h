// The eight solids as display lists: 16 ids reserved at once, then two lists
// per solid (flat, smooth) in table order. Main thread, GL context current.
#pragma once

// Reserves the 16 list ids; returns the first.
int reserveSolidLists();

// Compiles the lists of every solid from base: solid k gets base + 2k (flat)
// and base + 2k + 1 (smooth). The meshes must be built already.
void bakeSolids(int base);
