// Numbering of a grid cell's corners and edges. Corner c sits at offset
// cornerOffset[c] from the cell's lowest grid point and adds bit 1 << c to the
// case index; edge e runs from corner edgeStart[e] to edgeEnd[e] along +axis.
#pragma once

extern const int cornerOffset[8][3];
extern const int edgeStart[12];
extern const int edgeEnd[12];
extern const int edgeAxis[12]; // 0 x, 1 y, 2 z
