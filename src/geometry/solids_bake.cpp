// Start-up baking of the eight solids: build and scale the meshes (unless
// built already), reserve 16 list ids, then compile two lists per solid in
// table order. Main thread, GL.
#include "app/solids.h"

#include <GL/gl.h>

void buildSolids() {
    // No GL in the build, so reserving the ids after it makes the same calls.
    buildSolidMeshes();
    bakeSolids();
}

void bakeSolids() {
    int base = static_cast<int>(glGenLists(16));
    metaBuilder* order[8] = {&mb,      &stoned_forest, &stoned_mountain, &julia,
                             &pillars, &pyramid,       &lost_forest,     &lost_jaw};
    for (int k = 0; k < 8; k++)
        order[k]->preproc(base + 2 * k);
}
