// The modelview and projection stacks in single precision, computed the way
// Mesa does (same formulas, same order of operations) so that vertices land on
// the same pixels as in the native build.
#include "app/web/gl_layer.h"
#include "app/web/gl_web_api.h"

#include <array>
#include <cmath>
#include <vector>

namespace isoweb {
namespace {

using Mat = std::array<float, 16>; // column-major, as GL stores it

constexpr Mat kIdentity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

std::vector<Mat> modelviewStack{kIdentity};
std::vector<Mat> projectionStack{kIdentity};
std::vector<Mat> textureStack{kIdentity};
GLenum matrixMode = ISOWEB_GL_MODELVIEW;

std::vector<Mat>& stack() {
    if (matrixMode == ISOWEB_GL_PROJECTION) return projectionStack;
    if (matrixMode == ISOWEB_GL_TEXTURE) return textureStack;
    return modelviewStack;
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

void submitMatrix(OpKind kind, float a = 0, float b = 0, float c = 0, float d = 0) {
    Op op{kind};
    op.f[0] = a, op.f[1] = b, op.f[2] = c, op.f[3] = d;
    submit(op);
}

void submitMultiply(const float* m) {
    Op op{OpKind::MultMatrix};
    if (compiling())
        op.first = recordFloats(m, 16);
    else
        return multiply(m);
    submit(op);
}

void submitMultiplyD(const double* m) {
    float f[16];
    for (int i = 0; i < 16; i++)
        f[i] = (float)m[i];
    submitMultiply(f);
}

} // namespace

void applyMatrixOp(const Op& op, const float* listFloats) {
    switch (op.kind) {
    case OpKind::MatrixMode:
        matrixMode = op.a;
        if (matrixMode == ISOWEB_GL_TEXTURE) warnOnce("the texture matrix is not applied");
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
        if (listFloats) multiply(listFloats + op.first);
        break;
    default:
        break;
    }
}

const float* modelview() {
    return modelviewStack.back().data();
}
const float* projection() {
    return projectionStack.back().data();
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

using namespace isoweb;

void isoweb_MatrixMode(GLenum mode) {
    Op op{OpKind::MatrixMode};
    op.a = mode;
    submit(op);
}
void isoweb_LoadIdentity() {
    submitMatrix(OpKind::LoadIdentity);
}
void isoweb_PushMatrix() {
    submitMatrix(OpKind::PushMatrix);
}
void isoweb_PopMatrix() {
    submitMatrix(OpKind::PopMatrix);
}
void isoweb_Translatef(GLfloat x, GLfloat y, GLfloat z) {
    submitMatrix(OpKind::Translate, x, y, z);
}
void isoweb_Translated(double x, double y, double z) {
    submitMatrix(OpKind::Translate, (float)x, (float)y, (float)z);
}
void isoweb_Rotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    submitMatrix(OpKind::Rotate, angle, x, y, z);
}
void isoweb_Rotated(double angle, double x, double y, double z) {
    submitMatrix(OpKind::Rotate, (float)angle, (float)x, (float)y, (float)z);
}
void isoweb_Scalef(GLfloat x, GLfloat y, GLfloat z) {
    submitMatrix(OpKind::Scale, x, y, z);
}
void isoweb_MultMatrixf(const GLfloat* m) {
    submitMultiply(m);
}
void isoweb_MultMatrixd(const double* m) {
    submitMultiplyD(m);
}

void isoweb_LoadMatrixf(const GLfloat* m) {
    isoweb_LoadIdentity();
    isoweb_MultMatrixf(m);
}

void isoweb_Ortho(double l, double r, double b, double t, double n, double f) {
    double m[16] = {2 / (r - l),
                    0,
                    0,
                    0,
                    0,
                    2 / (t - b),
                    0,
                    0,
                    0,
                    0,
                    -2 / (f - n),
                    0,
                    -(r + l) / (r - l),
                    -(t + b) / (t - b),
                    -(f + n) / (f - n),
                    1};
    submitMultiplyD(m);
}

void isoweb_Frustum(double l, double r, double b, double t, double n, double f) {
    double m[16] = {2 * n / (r - l),
                    0,
                    0,
                    0,
                    0,
                    2 * n / (t - b),
                    0,
                    0,
                    (r + l) / (r - l),
                    (t + b) / (t - b),
                    -(f + n) / (f - n),
                    -1,
                    0,
                    0,
                    -2 * f * n / (f - n),
                    0};
    submitMultiplyD(m);
}

// As GLU computes it: in double, then multiplied on as a double matrix.
void isoweb_Perspective(double fovy, double aspect, double zNear, double zFar) {
    double radians = fovy / 2 * M_PI / 180;
    double deltaZ = zFar - zNear;
    double sine = std::sin(radians);
    if (deltaZ == 0 || sine == 0 || aspect == 0) return;
    double cotangent = std::cos(radians) / sine;
    double m[16] = {cotangent / aspect,
                    0,
                    0,
                    0,
                    0,
                    cotangent,
                    0,
                    0,
                    0,
                    0,
                    -(zFar + zNear) / deltaZ,
                    -1,
                    0,
                    0,
                    -2 * zNear * zFar / deltaZ,
                    0};
    submitMultiplyD(m);
}
