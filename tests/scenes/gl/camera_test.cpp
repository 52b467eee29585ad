// The look-at camera read back from GL, against a look-at built from cross
// products with the up vector (0, -1, 0); the angles carry the 3.1415 excess.
#include "scenes/gl/camera.h"
#include "scene_fixture.h"

namespace {

vector3 v3(double x, double y, double z) {
    vector3 v;
    v.x = x, v.y = y, v.z = z;
    return v;
}

std::array<float, 16> gazerMatrix(vector3 eye, vector3 target) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    good_old_gazer(&eye, &target);
    return getFloats<16>(GL_MODELVIEW_MATRIX);
}

// The classic look-at with up (0, -1, 0): rows s, u, -f, then the translation by -eye.
std::array<double, 16> lookAtUpsideDown(const vector3& e, const vector3& c) {
    double f[3] = {c.x - e.x, c.y - e.y, c.z - e.z}, lf = std::hypot(f[0], f[1], f[2]);
    f[0] /= lf, f[1] /= lf, f[2] /= lf;
    double ls = std::hypot(f[2], f[0]), s[3] = {f[2] / ls, 0, -f[0] / ls}; // f x (0, -1, 0)
    double u[3] = {s[1] * f[2] - s[2] * f[1], s[2] * f[0] - s[0] * f[2], s[0] * f[1] - s[1] * f[0]};
    std::array<double, 16> m = {s[0], u[0], -f[0], 0, s[1], u[1], -f[1], 0,
                                s[2], u[2], -f[2], 0, 0,    0,    0,     1};
    for (int r = 0; r < 3; r++)
        m[12 + r] = -(m[r] * e.x + m[4 + r] * e.y + m[8 + r] * e.z);
    return m;
}

TEST_F(SceneGL, GazerMatchesLookAtWithUpsideDownUp) {
    const vector3 cases[][2] = {{v3(3, 2, 7), v3(0, 0, 0)},
                                {v3(-5, 1, -2), v3(1, -1, 4)},
                                {v3(0, -4, 16), v3(0, 0, 0)},
                                {v3(12, 9.5, -3), v3(0, 7, 0)}};
    for (const auto& c : cases) {
        // The angles run 1.00003 large: a few 1e-5 per unit of distance; a
        // missing half turn or a swapped order is off by ~1.
        double dist = std::hypot(c[0].x - c[1].x, c[0].y - c[1].y, c[0].z - c[1].z);
        EXPECT_TRUE(
            matrixNear(gazerMatrix(c[0], c[1]), lookAtUpsideDown(c[0], c[1]), 1e-4 * (1 + dist)))
            << c[0].x;
    }
    // Eye on the target: only the half turn and the translation.
    std::array<double, 16> want = {-1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1, 0, 1, 2, -3, 1};
    EXPECT_TRUE(matrixNear(gazerMatrix(v3(1, 2, 3), v3(1, 2, 3)), want, 1e-6));
    // Eye straight above: pitch -90 * pi / 3.1415 degrees leaves a 4.6e-5
    // trace where exact pi gives 0.
    double pitch = -90 * M_PI / 3.1415 * M_PI / 180;
    auto m = gazerMatrix(v3(0, 5, 0), v3(0, 0, 0));
    EXPECT_NEAR(m[5], -std::cos(pitch), 5e-7);
}

} // namespace
