#include "geometry/gl/solids_bake.h"

#include "geometry/solids.h"
#include <GL/gl.h>

int reserveSolidLists() {
    return static_cast<int>(glGenLists(2 * SOLID_COUNT));
}

void bakeSolids(int base) {
    for (int k = 0; k < SOLID_COUNT; k++)
        solidTable[k]->preproc(base + 2 * k);
}
