// The frame driver's scene table: one call per slot with the arguments that
// scene takes, in its own order.
#include "scenes/gl/scene_table.h"

#include "scenes/gl/scenes.h"

void drawScene(const FramePlan& p) {
    switch (p.scene) {
    case SCENE_1:
        scene1(p.t, p.n, p.funk);
        break;
    case SCENE_CREDITS:
        scene_credits(p.t, p.n, p.flexer, p.funk);
        break;
    case SCENE_0:
        scene0(p.t, p.n);
        break;
    case SCENE_3:
        scene3(p.t, p.n, p.funk, p.offsetaapje, p.flexer);
        break;
    case SCENE_4:
        scene4(p.t, p.n, p.flexer);
        break;
    case SCENE_5:
        scene5(p.t, p.n, p.funk, p.flexer);
        break;
    default:
        break;
    }
}
