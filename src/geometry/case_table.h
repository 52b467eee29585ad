// The polygons of every cell case (index 0..255, bit c set when corner c is
// inside), as edge numbers in polygon order, wound counter-clockwise seen from
// outside the solid. Built once on first use; read-only afterwards.
#pragma once
#include <cstdint>

struct casePolygons {
    uint8_t numPolygons; // 0..4
    uint8_t size[4];     // vertices of each polygon, 3..7
    uint8_t edges[12];   // the polygons' edge numbers, one polygon after another
};

// The table the polygonizer uses.
const casePolygons& caseTable(unsigned caseIndex);

// One row derived from the face rule alone, before the rows whose first
// vertices and polygon order are fixed replace their derived versions.
casePolygons deriveCaseRow(unsigned caseIndex);
