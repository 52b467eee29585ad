// The fast inside tests paired with the plain ones they must match, and the
// points a build passes to a shape: the grid points and the probes at n/8
// along every grid edge.
#pragma once
#include "geometry/shapes.h"
#include "geometry/shapes_fast.h"

#include <cstdio>
#include <string>

struct shapePair {
    const char* name;
    int (*fast)(double, double, double);
    int (*plain)(double, double, double);
};

const shapePair kShapePairs[6] = {
    {"tunnel", fastInsideTunnel, isInsideTunnel},
    {"meta", fastInsideMeta, isInsideMeta},
    {"mountain", fastInsideMountain, isInsideMountain},
    {"pillar", fastInsidePillar, isInsidePillar},
    {"meta2", fastInsideMeta2, isInsideMeta2},
    {"meta3", fastInsideMeta3, isInsideMeta3},
};

// Counts the points where the two disagree; the first one goes to *first.
struct disagreement {
    long count = 0;
    std::string first;

    void check(const shapePair& s, double x, double y, double z) {
        int a = s.fast(x, y, z), b = s.plain(x, y, z);
        if (a == b) return;
        if (count++ == 0) {
            char text[160];
            snprintf(text, sizeof text, "%s(%.17g, %.17g, %.17g): fast %d, plain %d", s.name, x, y,
                     z, a, b);
            first = text;
        }
    }
};
