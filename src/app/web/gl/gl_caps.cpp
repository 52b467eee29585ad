// glEnable/glDisable and the fixed-function parameters the shader stands in
// for, as ops apply them: fog, 2-D texturing, sphere-map texture generation.
// Capabilities WebGL has itself (blending, depth test, culling, ...) go
// straight through. The queries and the settings the shader only checks
// (texture environment, shade model) are answered here directly.
#include "app/web/gl/gl_layer.h"
#include "app/web/gl/gl_web_api.h"

namespace isoweb {

void applyCap(GLenum cap, bool on) {
    State& s = context().state;
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
    State& s = context().state;
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
    State& s = context().state;
    if (coord == ISOWEB_GL_S) s.genModeS = mode;
    if (coord == ISOWEB_GL_T) s.genModeT = mode;
}

} // namespace isoweb

using namespace isoweb;

GLboolean isoweb_IsEnabled(GLenum cap) {
    const State& s = context().state;
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

void isoweb_TexEnvi(GLenum, GLenum pname, GLint param) {
    // The shader modulates, which is GL's default and all the demo uses.
    if (pname == ISOWEB_GL_TEXTURE_ENV_MODE && param != ISOWEB_GL_MODULATE)
        warnOnce("texture environment other than GL_MODULATE");
}

void isoweb_ShadeModel(GLenum mode) {
    if (mode != ISOWEB_GL_SMOOTH) warnOnce("flat shading is drawn smooth");
}
