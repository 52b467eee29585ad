// Start-up baking of the eight solids: reserve 16 list ids, build and scale
// the meshes, then compile two lists per solid in table order. Main thread, GL.
#include "app/solids.h"

#include <GL/gl.h>

void buildSolids() {
    int base = static_cast<int>(glGenLists(16));
    buildSolidMeshes();
    metaBuilder* order[8] = {&mb,      &stoned_forest, &stoned_mountain, &julia,
                             &pillars, &pyramid,       &lost_forest,     &lost_jaw};
    for (int k = 0; k < 8; k++)
        order[k]->preproc(base + 2 * k);
}
