// Stand-in until the modeller lands: only reserves the list ids.
#include "app/solids.h"

#include <GL/gl.h>

void buildSolids() {
    glGenLists(16);
}
