// The one shader that stands in for the fixed-function pipeline the demo uses:
// modelview/projection, current attributes, sphere-map texture generation per
// vertex (GL's formula, from the eye-space position and normal), GL_MODULATE
// texturing and GL_EXP/GL_EXP2/GL_LINEAR fog per fragment on |eye z| as Mesa
// does. No lighting: the demo never turns it on.
#include "app/web/gl/gl_layer.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace isoweb {
namespace {

const char* kVertexShader = R"(
attribute vec3 aPos;
attribute vec4 aCol;
attribute vec3 aNrm;
attribute vec2 aTex;
attribute vec3 aInherit;
uniform mat4 uModelview;
uniform mat4 uProjection;
uniform mat3 uNormalMatrix;
uniform vec4 uCol;
uniform vec3 uNrm;
uniform vec2 uTex;
uniform vec2 uSphereMap;
varying vec4 vCol;
varying vec2 vTex;
varying float vFogZ;
void main() {
    vec4 eye = uModelview * vec4(aPos, 1.0);
    gl_Position = uProjection * eye;
    vCol = clamp(mix(aCol, uCol, aInherit.x), 0.0, 1.0);
    vec2 tex = mix(aTex, uTex, aInherit.z);
    if (uSphereMap.x + uSphereMap.y > 0.0) {
        vec3 n = uNormalMatrix * mix(aNrm, uNrm, aInherit.y);
        vec3 u = normalize(eye.xyz);
        vec3 r = u - 2.0 * dot(n, u) * n;
        float m = 2.0 * sqrt(r.x * r.x + r.y * r.y + (r.z + 1.0) * (r.z + 1.0));
        tex = mix(tex, r.xy / m + 0.5, uSphereMap);
    }
    vTex = tex;
    vFogZ = abs(eye.z);
}
)";

const char* kFragmentShader = R"(
precision highp float;
uniform sampler2D uSampler;
uniform float uTextured;
uniform vec4 uFog; // mode (0 off, 1 linear, 2 exp, 3 exp2), density, start, end
uniform vec4 uFogCol;
varying vec4 vCol;
varying vec2 vTex;
varying float vFogZ;
void main() {
    vec4 c = vCol;
    if (uTextured > 0.5) c *= texture2D(uSampler, vTex);
    if (uFog.x > 0.5) {
        float f;
        if (uFog.x < 1.5)
            f = (uFog.w - vFogZ) / (uFog.w - uFog.z);
        else if (uFog.x < 2.5)
            f = exp(-uFog.y * vFogZ);
        else
            f = exp(-(uFog.y * vFogZ) * (uFog.y * vFogZ));
        c.rgb = mix(uFogCol.rgb, c.rgb, clamp(f, 0.0, 1.0));
    }
    gl_FragColor = c;
}
)";

enum Attr { kPos, kCol, kNrm, kTex, kInherit };

GLuint compile(GLenum kind, const char* source) {
    GLuint s = glCreateShader(kind);
    glShaderSource(s, 1, &source, nullptr);
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

void init(Shader& sh) {
    GLuint program = glCreateProgram();
    glAttachShader(program, compile(GL_VERTEX_SHADER, kVertexShader));
    glAttachShader(program, compile(GL_FRAGMENT_SHADER, kFragmentShader));
    glBindAttribLocation(program, kPos, "aPos");
    glBindAttribLocation(program, kCol, "aCol");
    glBindAttribLocation(program, kNrm, "aNrm");
    glBindAttribLocation(program, kTex, "aTex");
    glBindAttribLocation(program, kInherit, "aInherit");
    glLinkProgram(program);
    GLint ok = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (!ok) std::fprintf(stderr, "GL layer: shader does not link\n");
    glUseProgram(program);
    sh.uModelview = glGetUniformLocation(program, "uModelview");
    sh.uProjection = glGetUniformLocation(program, "uProjection");
    sh.uNormalMatrix = glGetUniformLocation(program, "uNormalMatrix");
    sh.uCol = glGetUniformLocation(program, "uCol");
    sh.uNrm = glGetUniformLocation(program, "uNrm");
    sh.uTex = glGetUniformLocation(program, "uTex");
    sh.uSphereMap = glGetUniformLocation(program, "uSphereMap");
    sh.uTextured = glGetUniformLocation(program, "uTextured");
    sh.uFog = glGetUniformLocation(program, "uFog");
    sh.uFogCol = glGetUniformLocation(program, "uFogCol");
    sh.uSampler = glGetUniformLocation(program, "uSampler");
    glUniform1i(sh.uSampler, 0);
    for (GLuint a = kPos; a <= kInherit; a++)
        glEnableVertexAttribArray(a);
    glGenBuffers(1, &sh.streamBuffer);
    sh.program = program;
}

Shader& shader() {
    Shader& sh = context().shader;
    if (!sh.program) init(sh);
    return sh;
}

void loadState() {
    const Shader& sh = shader();
    const State& s = context().state;
    glUniformMatrix4fv(sh.uModelview, 1, GL_FALSE, modelview());
    glUniformMatrix4fv(sh.uProjection, 1, GL_FALSE, projection());
    float nm[9];
    normalMatrix(nm);
    glUniformMatrix3fv(sh.uNormalMatrix, 1, GL_FALSE, nm);
    glUniform4fv(sh.uCol, 1, s.current.col);
    glUniform3fv(sh.uNrm, 1, s.current.nrm);
    glUniform2fv(sh.uTex, 1, s.current.tex);
    glUniform2f(sh.uSphereMap, s.genS && s.genModeS == ISOWEB_GL_SPHERE_MAP ? 1.0f : 0.0f,
                s.genT && s.genModeT == ISOWEB_GL_SPHERE_MAP ? 1.0f : 0.0f);
    glUniform1f(sh.uTextured, s.texture2d && textureUsable(s.boundTexture) ? 1.0f : 0.0f);
    float mode = 0;
    if (s.fog)
        mode = s.fogMode == ISOWEB_GL_LINEAR ? 1.0f : s.fogMode == ISOWEB_GL_EXP2 ? 3.0f : 2.0f;
    glUniform4f(sh.uFog, mode, s.fogDensity, s.fogStart, s.fogEnd);
    glUniform4fv(sh.uFogCol, 1, s.fogColour);
}

void pointAttributes(GLuint buffer) {
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    const GLsizei stride = sizeof(Vertex);
    glVertexAttribPointer(kPos, 3, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(Vertex, pos));
    glVertexAttribPointer(kCol, 4, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(Vertex, col));
    glVertexAttribPointer(kNrm, 3, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(Vertex, nrm));
    glVertexAttribPointer(kTex, 2, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(Vertex, tex));
    glVertexAttribPointer(kInherit, 3, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                          (void*)offsetof(Vertex, inherit));
}

} // namespace

void drawBuffer(GLenum mode, GLuint buffer, GLint first, GLsizei count) {
    if (!buffer || count <= 0) return;
    loadState();
    pointAttributes(buffer);
    glDrawArrays(mode, first, count);
}

namespace {

// Only position and colour vary (the loading picture: a colour per cell, no
// normal, no texture coordinate); immediate batches never inherit.
bool onlyPositionAndColourVary(const Vertex* v, size_t count) {
    for (size_t i = 1; i < count; i++)
        if (std::memcmp(v[i].nrm, v[0].nrm, sizeof v[0].nrm) != 0 ||
            std::memcmp(v[i].tex, v[0].tex, sizeof v[0].tex) != 0)
            return false;
    return true;
}

// Such a batch goes as 7 floats a vertex instead of 13 and a flag word: a
// little more than half the bytes to hand to the GPU process every frame.
void drawPositionColour(GLenum mode, const Vertex* v, size_t count) {
    Shader& sh = shader();
    std::vector<float>& packed = sh.packed;
    packed.resize(count * 7);
    for (size_t i = 0; i < count; i++) {
        float* p = &packed[i * 7];
        std::memcpy(p, v[i].pos, sizeof v[i].pos);
        std::memcpy(p + 3, v[i].col, sizeof v[i].col);
    }
    glBindBuffer(GL_ARRAY_BUFFER, sh.streamBuffer);
    glBufferData(GL_ARRAY_BUFFER, (GLsizeiptr)(packed.size() * sizeof(float)), packed.data(),
                 GL_STREAM_DRAW);
    loadState();
    const GLsizei stride = 7 * sizeof(float);
    glVertexAttribPointer(kPos, 3, GL_FLOAT, GL_FALSE, stride, (void*)0);
    glVertexAttribPointer(kCol, 4, GL_FLOAT, GL_FALSE, stride, (void*)(3 * sizeof(float)));
    for (GLuint a : {kNrm, kTex, kInherit})
        glDisableVertexAttribArray(a);
    glVertexAttrib3fv(kNrm, v[0].nrm);
    glVertexAttrib2fv(kTex, v[0].tex);
    glVertexAttrib3f(kInherit, 0, 0, 0);
    glDrawArrays(mode, 0, (GLsizei)count);
    for (GLuint a : {kNrm, kTex, kInherit})
        glEnableVertexAttribArray(a);
}

} // namespace

// Immediate batches go through one reused buffer, a bounded piece at a time:
// a batch of any size (the loading picture is ~98,000 vertices) draws whole,
// and the buffer never grows past a few MiB. Pieces end on whole triangles.
void drawStream(GLenum mode, const Vertex* v, size_t count) {
    const GLuint streamBuffer = shader().streamBuffer;
    const size_t piece = mode == GL_TRIANGLES ? 3 * 16384 : count;
    for (size_t at = 0; at < count; at += piece) {
        size_t n = count - at < piece ? count - at : piece;
        if (onlyPositionAndColourVary(v + at, n)) {
            drawPositionColour(mode, v + at, n);
            continue;
        }
        glBindBuffer(GL_ARRAY_BUFFER, streamBuffer);
        // Respecifying the store each time lets the driver skip waiting on
        // the previous draw's copy.
        glBufferData(GL_ARRAY_BUFFER, (GLsizeiptr)(n * sizeof(Vertex)), v + at, GL_STREAM_DRAW);
        drawBuffer(mode, streamBuffer, 0, (GLsizei)n);
    }
}

} // namespace isoweb
