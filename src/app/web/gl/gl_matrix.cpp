// The modelview and projection stacks in single precision, computed the way
// Mesa does (same formulas, same order of operations) so that vertices land on
// the same pixels as in the native build.
#include "app/web/gl/gl_layer.h"

#include <cmath>
#include <vector>

namespace isoweb {
namespace {

std::vector<Mat>& stack() {
    Matrices& m = context().matrices;
    if (m.mode == ISOWEB_GL_PROJECTION) return m.projection;
    if (m.mode == ISOWEB_GL_TEXTURE) return m.texture;
    return m.modelview;
}

// top = top * m
void multiply(const float* m) {
    Mat& a = stack().back();
    Mat r;
    for (int c = 0; c < 4; c++)
        for (int row = 0; row < 4; row++)
            r[c * 4 + row] = a[0 * 4 + row] * m[c * 4 + 0] + a[1 * 4 + row] * m[c * 4 + 1] +
                             a[2 * 4 + row] * m[c * 4 + 2] + a[3 * 4 + row] * m[c * 4 + 3];
    a = r;
}

void rotate(float angle, float x, float y, float z) {
    if (x == 0.0f && y == 0.0f && z == 0.0f) return;
    float s = std::sin((float)(angle * (M_PI / 180.0)));
    float c = std::cos((float)(angle * (M_PI / 180.0)));
    Mat m = kIdentity;
    auto M = [&m](int row, int col) -> float& { return m[col * 4 + row]; };
    if (x == 0.0f && y == 0.0f) {
        // Rotation about z alone: GL implementations take the sign of z only.
        M(0, 0) = c, M(1, 1) = c;
        M(0, 1) = z < 0.0f ? s : -s;
        M(1, 0) = z < 0.0f ? -s : s;
    } else if (y == 0.0f && z == 0.0f) {
        M(1, 1) = c, M(2, 2) = c;
        M(1, 2) = x < 0.0f ? s : -s;
        M(2, 1) = x < 0.0f ? -s : s;
    } else if (x == 0.0f && z == 0.0f) {
        M(0, 0) = c, M(2, 2) = c;
        M(0, 2) = y < 0.0f ? -s : s;
        M(2, 0) = y < 0.0f ? s : -s;
    } else {
        float mag = std::sqrt(x * x + y * y + z * z);
        if (mag <= 1.0e-4f) return;
        x /= mag, y /= mag, z /= mag;
        float xx = x * x, yy = y * y, zz = z * z, xy = x * y, yz = y * z, zx = z * x;
        float xs = x * s, ys = y * s, zs = z * s, oneC = 1.0f - c;
        M(0, 0) = (oneC * xx) + c, M(0, 1) = (oneC * xy) - zs, M(0, 2) = (oneC * zx) + ys;
        M(1, 0) = (oneC * xy) + zs, M(1, 1) = (oneC * yy) + c, M(1, 2) = (oneC * yz) - xs;
        M(2, 0) = (oneC * zx) - ys, M(2, 1) = (oneC * yz) + xs, M(2, 2) = (oneC * zz) + c;
    }
    multiply(m.data());
}

void translate(float x, float y, float z) {
    Mat& m = stack().back();
    for (int r = 0; r < 4; r++)
        m[12 + r] = m[r] * x + m[4 + r] * y + m[8 + r] * z + m[12 + r];
}

void scale(float x, float y, float z) {
    Mat& m = stack().back();
    for (int r = 0; r < 4; r++)
        m[r] *= x, m[4 + r] *= y, m[8 + r] *= z;
}

} // namespace

void applyMatrixOp(const Op& op, const float* floats) {
    switch (op.kind) {
    case OpKind::MatrixMode:
        context().matrices.mode = op.a;
        if (op.a == ISOWEB_GL_TEXTURE) warnOnce("the texture matrix is not applied");
        break;
    case OpKind::LoadIdentity:
        stack().back() = kIdentity;
        break;
    case OpKind::PushMatrix:
        stack().push_back(stack().back());
        break;
    case OpKind::PopMatrix:
        if (stack().size() > 1) stack().pop_back();
        break;
    case OpKind::Translate:
        translate(op.f[0], op.f[1], op.f[2]);
        break;
    case OpKind::Rotate:
        rotate(op.f[0], op.f[1], op.f[2], op.f[3]);
        break;
    case OpKind::Scale:
        scale(op.f[0], op.f[1], op.f[2]);
        break;
    case OpKind::MultMatrix:
        if (floats) multiply(floats + op.first);
        break;
    default:
        break;
    }
}

const float* modelview() {
    return context().matrices.modelview.back().data();
}
const float* projection() {
    return context().matrices.projection.back().data();
}

// GL carries normals to eye space by the inverse transpose of the
// modelview's upper 3x3 (and, with GL_NORMALIZE off, does not renormalize).
void normalMatrix(float out[9]) {
    const float* m = modelview();
    double a = m[0], b = m[4], c = m[8];
    double d = m[1], e = m[5], f = m[9];
    double g = m[2], h = m[6], i = m[10];
    double A = e * i - f * h, B = -(d * i - f * g), C = d * h - e * g;
    double D = -(b * i - c * h), E = a * i - c * g, F = -(a * h - b * g);
    double G = b * f - c * e, H = -(a * f - c * d), I = a * e - b * d;
    double det = a * A + b * B + c * C;
    if (det == 0.0) det = 1.0;
    // The inverse is the transposed cofactors over det, so its transpose is
    // the cofactors themselves over det; `out` is column-major.
    double cof[3][3] = {{A, B, C}, {D, E, F}, {G, H, I}}; // cof[row][col]
    for (int col = 0; col < 3; col++)
        for (int row = 0; row < 3; row++)
            out[col * 3 + row] = (float)(cof[row][col] / det);
}

} // namespace isoweb
