// The GL 1.1 layer's shared insides. Its units speak WebGL (GLES2) themselves,
// so this header must never meet gl_web.h in one translation unit.
#pragma once

#include <GLES2/gl2.h>
#include <cstddef>

// The GL 1.1 names WebGL's header does not have.
#define ISOWEB_GL_QUADS 0x0007
#define ISOWEB_GL_COMPILE 0x1300
#define ISOWEB_GL_COMPILE_AND_EXECUTE 0x1301
#define ISOWEB_GL_MODELVIEW 0x1700
#define ISOWEB_GL_PROJECTION 0x1701
#define ISOWEB_GL_TEXTURE 0x1702
#define ISOWEB_GL_FOG 0x0B60
#define ISOWEB_GL_FOG_DENSITY 0x0B62
#define ISOWEB_GL_FOG_START 0x0B63
#define ISOWEB_GL_FOG_END 0x0B64
#define ISOWEB_GL_FOG_MODE 0x0B65
#define ISOWEB_GL_FOG_COLOR 0x0B66
#define ISOWEB_GL_EXP 0x0800
#define ISOWEB_GL_EXP2 0x0801
#define ISOWEB_GL_LINEAR 0x2601
#define ISOWEB_GL_TEXTURE_GEN_S 0x0C60
#define ISOWEB_GL_TEXTURE_GEN_T 0x0C61
#define ISOWEB_GL_S 0x2000
#define ISOWEB_GL_T 0x2001
#define ISOWEB_GL_TEXTURE_GEN_MODE 0x2500
#define ISOWEB_GL_SPHERE_MAP 0x2402
#define ISOWEB_GL_EYE_LINEAR 0x2400
#define ISOWEB_GL_MODULATE 0x2100
#define ISOWEB_GL_TEXTURE_ENV_MODE 0x2200
#define ISOWEB_GL_SMOOTH 0x1D01
#define ISOWEB_GL_BGR 0x80E0
#define ISOWEB_GL_BGRA 0x80E1
#define ISOWEB_GL_RGB8 0x8051
#define ISOWEB_GL_RGBA8 0x8058
#define ISOWEB_GL_LUMINANCE8 0x8040
#define ISOWEB_GL_LUMINANCE8_ALPHA8 0x8045

namespace isoweb {

// One vertex as the shader reads it. `inherit` marks attributes a display list
// never set before this vertex: GL takes those from the current state at the
// time the list is called, so the shader does too.
struct Vertex {
    float pos[3];
    float col[4];
    float nrm[3];
    float tex[2];
    unsigned char inherit[4]; // colour, normal, texture coordinate, unused
};

struct Attribs {
    float col[4] = {1, 1, 1, 1};
    float nrm[3] = {0, 0, 1};
    float tex[2] = {0, 0};
};

// GL's current state as far as the shader depends on it.
struct State {
    Attribs current;
    bool fog = false, texture2d = false, genS = false, genT = false;
    GLint genModeS = ISOWEB_GL_EYE_LINEAR, genModeT = ISOWEB_GL_EYE_LINEAR;
    GLint fogMode = ISOWEB_GL_EXP;
    float fogDensity = 1, fogStart = 0, fogEnd = 1;
    float fogColour[4] = {0, 0, 0, 0};
    GLuint boundTexture = 0;
};
State& state();

// Everything a display list can hold besides vertex batches. Commands given
// while a list compiles are stored as ops; replaying a list applies them.
enum class OpKind {
    Enable,
    Disable,
    Colour,
    Normal,
    TexCoord,
    Draw,
    BindTexture,
    BlendFunc,
    DepthMask,
    MatrixMode,
    LoadIdentity,
    PushMatrix,
    PopMatrix,
    Translate,
    Rotate,
    Scale,
    MultMatrix,
    CallList,
    FogParam,
    TexGen,
};
struct Op {
    OpKind kind;
    GLenum a = 0, b = 0;
    float f[4] = {0, 0, 0, 0};
    GLint first = 0, count = 0; // Draw: vertex range; MultMatrix: offset into the list's floats
};

// Records the op when a list is being compiled, else applies it now.
void submit(const Op& op);
// Carries one op out against the live state (gl_lists.cpp replays through here).
void apply(const Op& op, const float* listFloats);
bool compiling();
// Resets what the list being compiled has set of the current attributes.
void listCompileStarted();
// Stores a finished batch in the list being compiled; returns its first vertex.
void recordBatch(GLenum mode, const Vertex* v, size_t count);
// Keeps the 16 floats of a glMultMatrix for the list being compiled; returns their offset.
GLint recordFloats(const float* m, int n);

// Matrices (gl_matrix.cpp).
void applyMatrixOp(const Op& op, const float* listFloats);
const float* modelview();
const float* projection();
void normalMatrix(float out[9]);

// Capability and fog state (gl_caps.cpp).
void applyCap(GLenum cap, bool on);
void applyFog(GLenum pname, const float* v);
void applyTexGen(GLenum coord, GLint mode);

// Textures (gl_texture.cpp).
void applyBindTexture(GLuint name);
bool textureUsable(GLuint name);

// Drawing (gl_draw.cpp): the shader takes the state as it is at the call.
void drawBuffer(GLenum mode, GLuint buffer, GLint first, GLsizei count);
void drawStream(GLenum mode, const Vertex* v, size_t count);

// One console line per kind of unsupported use, so a missing feature shows
// without flooding the console every frame.
void warnOnce(const char* what);

} // namespace isoweb
