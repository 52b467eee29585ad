// The programs that stand in for the fixed-function pipeline the demo uses:
// modelview/projection, current attributes, sphere-map texture generation per
// vertex (GL's formula, from the eye-space position and normal), GL_MODULATE
// texturing and GL_EXP/GL_EXP2/GL_LINEAR fog per fragment on |eye z| as Mesa
// does. No lighting: the demo never turns it on.
//
// One source, compiled once per combination of texturing, fog mode and sphere
// map it meets (a handful of the sixteen). A software rasterizer runs the
// fragment shader for every pixel of every layer, so each fragment computes
// only what its state needs: no branches on uniforms, no texture lookup or
// fog where they are off, no varyings nobody reads.
#include "app/web/gl/gl_layer.h"

#include <cstdio>
#include <string>

namespace isoweb {
namespace {

const char* kVertexShader = R"(
attribute vec3 aPos;
attribute vec4 aCol;
attribute vec3 aInherit;
uniform mat4 uModelview;
uniform mat4 uProjection;
uniform vec4 uCol;
varying vec4 vCol;
#if TEXTURED
attribute vec2 aTex;
uniform vec2 uTex;
varying vec2 vTex;
#endif
#if SPHERE_MAP
attribute vec3 aNrm;
uniform mat3 uNormalMatrix;
uniform vec3 uNrm;
uniform vec2 uSphereMap;
#endif
#if FOG
varying float vFogZ;
#endif
void main() {
    vec4 eye = uModelview * vec4(aPos, 1.0);
    gl_Position = uProjection * eye;
    vCol = clamp(mix(aCol, uCol, aInherit.x), 0.0, 1.0);
#if TEXTURED
    vec2 tex = mix(aTex, uTex, aInherit.z);
#if SPHERE_MAP
    vec3 n = uNormalMatrix * mix(aNrm, uNrm, aInherit.y);
    vec3 u = normalize(eye.xyz);
    vec3 r = u - 2.0 * dot(n, u) * n;
    float m = 2.0 * sqrt(r.x * r.x + r.y * r.y + (r.z + 1.0) * (r.z + 1.0));
    tex = mix(tex, r.xy / m + 0.5, uSphereMap);
#endif
    vTex = tex;
#endif
#if FOG
    vFogZ = abs(eye.z);
#endif
}
)";

const char* kFragmentShader = R"(
precision highp float;
varying vec4 vCol;
#if TEXTURED
uniform sampler2D uSampler;
varying vec2 vTex;
#endif
#if FOG
uniform vec4 uFog; // unused, density, start, end
uniform vec4 uFogCol;
varying float vFogZ;
#endif
void main() {
    vec4 c = vCol;
#if TEXTURED
    c *= texture2D(uSampler, vTex);
#endif
#if FOG == 1
    float f = (uFog.w - vFogZ) / (uFog.w - uFog.z);
#elif FOG == 2
    float f = exp(-uFog.y * vFogZ);
#elif FOG == 3
    float f = exp(-(uFog.y * vFogZ) * (uFog.y * vFogZ));
#endif
#if FOG
    c.rgb = mix(uFogCol.rgb, c.rgb, clamp(f, 0.0, 1.0));
#endif
    gl_FragColor = c;
}
)";

GLuint compile(GLenum kind, const std::string& defines, const char* body) {
    GLuint s = glCreateShader(kind);
    const char* parts[] = {defines.c_str(), body};
    glShaderSource(s, 2, parts, nullptr);
    glCompileShader(s);
    GLint ok = 0;
    glGetShaderiv(s, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[1024] = "";
        glGetShaderInfoLog(s, sizeof log, nullptr, log);
        std::fprintf(stderr, "GL layer: shader does not compile: %s\n", log);
    }
    return s;
}

Program link(ProgramKey key) {
    const std::string defines = "#define TEXTURED " + std::to_string(key.textured ? 1 : 0) +
                                "\n#define FOG " + std::to_string(key.fog) +
                                "\n#define SPHERE_MAP " + std::to_string(key.sphereMap ? 1 : 0) +
                                "\n";
    GLuint id = glCreateProgram();
    GLuint vs = compile(GL_VERTEX_SHADER, defines, kVertexShader);
    GLuint fs = compile(GL_FRAGMENT_SHADER, defines, kFragmentShader);
    glAttachShader(id, vs);
    glAttachShader(id, fs);
    // The same locations in every program, so a buffer's attribute pointers
    // hold whichever program draws it.
    glBindAttribLocation(id, kPos, "aPos");
    glBindAttribLocation(id, kCol, "aCol");
    glBindAttribLocation(id, kNrm, "aNrm");
    glBindAttribLocation(id, kTex, "aTex");
    glBindAttribLocation(id, kInherit, "aInherit");
    glLinkProgram(id);
    glDeleteShader(vs);
    glDeleteShader(fs);
    GLint ok = 0;
    glGetProgramiv(id, GL_LINK_STATUS, &ok);
    if (!ok) std::fprintf(stderr, "GL layer: shader does not link\n");
    Program p;
    p.id = id;
    p.uModelview = glGetUniformLocation(id, "uModelview");
    p.uProjection = glGetUniformLocation(id, "uProjection");
    p.uNormalMatrix = glGetUniformLocation(id, "uNormalMatrix");
    p.uCol = glGetUniformLocation(id, "uCol");
    p.uNrm = glGetUniformLocation(id, "uNrm");
    p.uTex = glGetUniformLocation(id, "uTex");
    p.uSphereMap = glGetUniformLocation(id, "uSphereMap");
    p.uFog = glGetUniformLocation(id, "uFog");
    p.uFogCol = glGetUniformLocation(id, "uFogCol");
    p.uSampler = glGetUniformLocation(id, "uSampler");
    glUseProgram(id);
    if (p.uSampler >= 0) glUniform1i(p.uSampler, 0);
    return p;
}

} // namespace

ProgramKey programKey(const State& s) {
    ProgramKey key;
    key.textured = s.texture2d && textureUsable(s.boundTexture);
    if (s.fog) key.fog = s.fogMode == ISOWEB_GL_LINEAR ? 1 : s.fogMode == ISOWEB_GL_EXP2 ? 3 : 2;
    // Generated coordinates show only through a texture.
    key.sphereMap = key.textured && ((s.genS && s.genModeS == ISOWEB_GL_SPHERE_MAP) ||
                                     (s.genT && s.genModeT == ISOWEB_GL_SPHERE_MAP));
    return key;
}

const Program& useProgram(ProgramKey key) {
    Shader& sh = context().shader;
    Program& p = sh.programs[key.index()];
    if (!p.id) p = link(key);
    if (sh.inUse != p.id) {
        glUseProgram(p.id);
        sh.inUse = p.id;
    }
    return p;
}

} // namespace isoweb
