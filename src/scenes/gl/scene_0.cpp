// Scene 0 (drum hits 18..27, drawn at demo time + 8): a backdrop in pale
// green fog, the forest and the turning mountain seen by a drifting camera
// that cuts to a new place at every hit, the jitter overlay on top. Main thread.
#include "scenes/gl/scenes.h"

#include "scenes/gl/camera.h"
#include "geometry/solids.h"
#include "scenes/gl/draw_patterns.h"
#include "scenes/scene_timing.h"
#include "texture/gl/texture_upload.h"
#include <GL/gl.h>
#include <cmath>

// The look-at of eye (ex, 9.5, ez) and aim (0, ez, 0), with a wobble added to
// pitch and yaw that only changes with n.
static void wobblingCamera(double s, double a) {
    double ex = 8 - s / 4, ez = 14 - s / 2;
    vector3 eye, aim;
    eye.x = ex, eye.y = 9.5, eye.z = ez;
    aim.x = 0, aim.y = ez, aim.z = 0;
    GazeAngles g = gazeAngles(eye, aim);
    glRotatef((float)(8 * std::sin(2 * a) + g.pitch), 1, 0, 0);
    glRotatef((float)(8 * std::sin(3 * a) + g.yaw), 0, 1, 0);
    glRotatef(180, 0, 0, 1);
    glTranslatef((float)-ex, -9.5f, (float)-ez);
}

void scene0(double t, int n) {
    double a = n * 0.4;
    double s0 = wrappedSceneTime(t);
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    const float fog[4] = {0.8f, 1.0f, 0.9f, 1.0f};
    glEnable(GL_FOG);
    glFogfv(GL_FOG_COLOR, fog);
    glFogf(GL_FOG_DENSITY, 0.01f);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    // No depth-test switch here: after the credits the first frame draws
    // backdrop and meshes untested; the overlay turns it on for the next.
    glBindTexture(GL_TEXTURE_2D, texture[1]);
    glBegin(GL_TRIANGLES);
    twoTriangleQuad(0, 0, 48, 48, -48);
    glEnd();

    glBindTexture(GL_TEXTURE_2D, texture[0]);
    glPushMatrix();
    double s = s0 + std::sin(a * 13.7);
    wobblingCamera(s, a);
    glCallList(stoned_forest.listId + 1);
    glRotatef((float)(s * 13), 0, 1, 0);
    glCallList(stoned_mountain.listId);
    glPopMatrix();

    jitterOverlay(s); // no push: the next frame loads the identity
}
