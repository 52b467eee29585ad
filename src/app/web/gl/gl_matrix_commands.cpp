// The matrix commands of GL 1.1 and GLU's gluPerspective, made into ops for
// the dispatch. The projection helpers build their matrices in double, as
// Mesa and GLU do, and multiply them on as glMultMatrixd does (in float).
#include "app/web/gl/gl_layer.h"
#include "app/web/gl/gl_web_api.h"

#include <cmath>

using namespace isoweb;

namespace {

void submitMatrix(OpKind kind, float a = 0, float b = 0, float c = 0, float d = 0) {
    Op op{kind};
    op.f[0] = a, op.f[1] = b, op.f[2] = c, op.f[3] = d;
    submit(op);
}

// A list keeps the 16 floats itself; applied now, they are read from here.
void submitMultiply(const float* m) {
    Op op{OpKind::MultMatrix};
    if (!compiling()) return apply(op, m);
    op.first = recordFloats(m, 16);
    submit(op);
}

void submitMultiplyD(const double* m) {
    float f[16];
    for (int i = 0; i < 16; i++)
        f[i] = (float)m[i];
    submitMultiply(f);
}

} // namespace

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
