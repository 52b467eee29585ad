// The state-changing GL 1.1 commands a display list can hold (capabilities,
// fog, texture generation, blending, the depth mask, the bound texture), each
// made into an op and handed to the dispatch, which records or applies it.
#include "app/web/gl/gl_layer.h"
#include "app/web/gl/gl_web_api.h"

using namespace isoweb;

namespace {

void submitCap(OpKind kind, GLenum cap) {
    Op op{kind};
    op.a = cap;
    submit(op);
}

void submitFog(GLenum pname, const float* v) {
    Op op{OpKind::FogParam};
    op.a = pname;
    for (int i = 0; i < (pname == ISOWEB_GL_FOG_COLOR ? 4 : 1); i++)
        op.f[i] = v[i];
    submit(op);
}

} // namespace

void isoweb_Enable(GLenum cap) {
    submitCap(OpKind::Enable, cap);
}
void isoweb_Disable(GLenum cap) {
    submitCap(OpKind::Disable, cap);
}

void isoweb_Fogi(GLenum pname, GLint param) {
    float v = (float)param;
    submitFog(pname, &v);
}
void isoweb_Fogf(GLenum pname, GLfloat param) {
    submitFog(pname, &param);
}
void isoweb_Fogfv(GLenum pname, const GLfloat* params) {
    submitFog(pname, params);
}

void isoweb_TexGeni(GLenum coord, GLenum pname, GLint param) {
    if (pname != ISOWEB_GL_TEXTURE_GEN_MODE) return warnOnce("glTexGen other than the mode");
    Op op{OpKind::TexGen};
    op.a = coord;
    op.b = (GLenum)param;
    submit(op);
}

void isoweb_BlendFunc(GLenum sfactor, GLenum dfactor) {
    Op op{OpKind::BlendFunc};
    op.a = sfactor;
    op.b = dfactor;
    submit(op);
}

void isoweb_DepthMask(GLboolean flag) {
    Op op{OpKind::DepthMask};
    op.a = flag;
    submit(op);
}

void isoweb_BindTexture(GLenum target, GLuint name) {
    if (target != GL_TEXTURE_2D) return warnOnce("texture target other than 2-D");
    Op op{OpKind::BindTexture};
    op.a = name;
    submit(op);
}
