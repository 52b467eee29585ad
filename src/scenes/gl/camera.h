// The look-at camera shared by the scenes: multiplies the current GL matrix by
// the rotations and translation that put an eye at the origin looking at a
// target, with the world's -y up on screen. Angles in degrees; main thread.
#pragma once
#include "geometry/vector3.h"

// The demo's pi for radians to degrees: every camera angle comes out larger
// than the exact conversion by pi / 3.1415 (about 1.00003).
constexpr double kGazerPi = 3.1415;

// Pitch about x and yaw about y in degrees, in double, before rounding to float.
struct GazeAngles {
    double pitch;
    double yaw;
};

// The two angles good_old_gazer turns by for eye and target (no GL).
GazeAngles gazeAngles(const vector3& eye, const vector3& target);

// Multiplies in: pitch about x, yaw about y, 180 degrees about z, then the
// translation by -eye. Loads no identity, pushes nothing.
void good_old_gazer(vector3* eye, vector3* target);
