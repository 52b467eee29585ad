#include "scenes/scene_slots.h"

int sceneForCount(int n) {
    if (n <= 11) return SCENE_1;
    if (n <= 17) return SCENE_CREDITS;
    if (n <= 27) return SCENE_0;
    if (n <= 37) return SCENE_3;
    if (n <= 47) return SCENE_4;
    if (n <= 57) return SCENE_5;
    return SCENE_NONE;
}

const char* sceneName(int scene) {
    switch (scene) {
    case SCENE_1:
        return "scene1";
    case SCENE_CREDITS:
        return "credits";
    case SCENE_0:
        return "scene0";
    case SCENE_3:
        return "scene3";
    case SCENE_4:
        return "scene4";
    case SCENE_5:
        return "scene5";
    default:
        return "none";
    }
}
