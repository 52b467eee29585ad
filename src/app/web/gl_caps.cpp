// glEnable/glDisable and the fixed-function parameters the shader stands in
// for: fog, 2-D texturing, sphere-map texture generation. Capabilities WebGL
// has itself (blending, depth test, culling, ...) go straight through.
#include "app/web/gl_layer.h"
#include "app/web/gl_web_api.h"

#include <cstdio>
#include <set>
#include <string>

namespace isoweb {

State& state() {
    static State s;
    return s;
}

void warnOnce(const char* what) {
    static std::set<std::string> said;
    if (said.insert(what).second) std::fprintf(stderr, "GL layer: %s\n", what);
}

void applyCap(GLenum cap, bool on) {
    State& s = state();
    switch (cap) {
    case ISOWEB_GL_FOG:
        s.fog = on;
        break;
    case GL_TEXTURE_2D:
        s.texture2d = on;
        break;
    case ISOWEB_GL_TEXTURE_GEN_S:
        s.genS = on;
        break;
    case ISOWEB_GL_TEXTURE_GEN_T:
        s.genT = on;
        break;
    case GL_BLEND:
    case GL_DEPTH_TEST:
    case GL_CULL_FACE:
    case GL_SCISSOR_TEST:
    case GL_DITHER:
    case GL_POLYGON_OFFSET_FILL:
    case GL_STENCIL_TEST:
        if (on)
            glEnable(cap);
        else
            glDisable(cap);
        break;
    default:
        if (on) warnOnce("glEnable of a capability the layer does not draw (ignored)");
        break;
    }
}

void applyFog(GLenum pname, const float* v) {
    State& s = state();
    switch (pname) {
    case ISOWEB_GL_FOG_MODE:
        s.fogMode = (GLint)v[0];
        break;
    case ISOWEB_GL_FOG_DENSITY:
        s.fogDensity = v[0];
        break;
    case ISOWEB_GL_FOG_START:
        s.fogStart = v[0];
        break;
    case ISOWEB_GL_FOG_END:
        s.fogEnd = v[0];
        break;
    case ISOWEB_GL_FOG_COLOR:
        // GL clamps colours to 0..1 as they are given (scene 1 fogs in funk,
        // which passes 1 at every burst).
        for (int i = 0; i < 4; i++)
            s.fogColour[i] = v[i] < 0 ? 0.0f : v[i] > 1 ? 1.0f : v[i];
        break;
    default:
        warnOnce("glFog parameter not supported (ignored)");
        break;
    }
}

void applyTexGen(GLenum coord, GLint mode) {
    if (mode != ISOWEB_GL_SPHERE_MAP) warnOnce("texture generation other than sphere map");
    if (coord == ISOWEB_GL_S) state().genModeS = mode;
    if (coord == ISOWEB_GL_T) state().genModeT = mode;
}

} // namespace isoweb

using namespace isoweb;

static void submitCap(OpKind kind, GLenum cap) {
    Op op{kind};
    op.a = cap;
    submit(op);
}

void isoweb_Enable(GLenum cap) {
    submitCap(OpKind::Enable, cap);
}
void isoweb_Disable(GLenum cap) {
    submitCap(OpKind::Disable, cap);
}

GLboolean isoweb_IsEnabled(GLenum cap) {
    const State& s = state();
    switch (cap) {
    case ISOWEB_GL_FOG:
        return s.fog;
    case GL_TEXTURE_2D:
        return s.texture2d;
    case ISOWEB_GL_TEXTURE_GEN_S:
        return s.genS;
    case ISOWEB_GL_TEXTURE_GEN_T:
        return s.genT;
    default:
        return glIsEnabled(cap);
    }
}

static void submitFog(GLenum pname, const float* v) {
    Op op{OpKind::FogParam};
    op.a = pname;
    for (int i = 0; i < (pname == ISOWEB_GL_FOG_COLOR ? 4 : 1); i++)
        op.f[i] = v[i];
    submit(op);
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

void isoweb_TexEnvi(GLenum, GLenum pname, GLint param) {
    // The shader modulates, which is GL's default and all the demo uses.
    if (pname == ISOWEB_GL_TEXTURE_ENV_MODE && param != ISOWEB_GL_MODULATE)
        warnOnce("texture environment other than GL_MODULATE");
}

void isoweb_ShadeModel(GLenum mode) {
    if (mode != ISOWEB_GL_SMOOTH) warnOnce("flat shading is drawn smooth");
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
