// Corner and edge numbering of a grid cell. Every edge starts at its corner
// of lower coordinate, so two cells sharing an edge search it the same way.
#include "geometry/cell_geometry.h"

const int cornerOffset[8][3] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0},
                                {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}};
const int edgeStart[12] = {0, 1, 3, 0, 0, 1, 2, 3, 4, 5, 7, 4};
const int edgeEnd[12] = {1, 2, 2, 3, 4, 5, 6, 7, 5, 6, 6, 7};
const int edgeAxis[12] = {0, 1, 0, 1, 2, 2, 2, 2, 0, 1, 0, 1};
