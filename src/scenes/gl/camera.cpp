#include "scenes/gl/camera.h"

#include <GL/gl.h>
#include <cmath>

GazeAngles gazeAngles(const vector3& eye, const vector3& target) {
    double dx = eye.x - target.x;
    double dy = eye.y - target.y;
    double dz = eye.z - target.z;
    GazeAngles a;
    a.pitch = std::atan2(-dy, std::sqrt(dz * dz + dx * dx)) * 180 / kGazerPi;
    a.yaw = std::atan2(dx, dz) * 180 / kGazerPi;
    return a;
}

void good_old_gazer(vector3* eye, vector3* target) {
    GazeAngles a = gazeAngles(*eye, *target);
    glRotatef((float)a.pitch, 1, 0, 0);
    glRotatef((float)a.yaw, 0, 1, 0);
    // No roll control: the half turn puts the world's -y up on screen.
    glRotatef(180, 0, 0, 1);
    glTranslatef((float)-eye->x, (float)-eye->y, (float)-eye->z);
}
