// The layer's one context: every unit reads and changes the layer's state
// through it, none keeps any of its own.
#include "app/web/gl/gl_layer.h"

#include <cstdio>

namespace isoweb {

Context& context() {
    static Context c;
    return c;
}

void warnOnce(const char* what) {
    if (context().warned.insert(what).second) std::fprintf(stderr, "GL layer: %s\n", what);
}

} // namespace isoweb
