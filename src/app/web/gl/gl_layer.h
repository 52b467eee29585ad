// The GL 1.1 layer's insides: its one context object and the calls between
// its units. Its units speak WebGL (GLES2) themselves, so this header must
// never meet gl_web.h in one translation unit.
//
// The units call downwards only. The entry points (gl_immediate, gl_lists,
// gl_state_commands, gl_matrix_commands) make ops and hand them to
// gl_dispatch, which records them in the list being compiled or applies them
// through gl_caps, gl_matrix and gl_texture; gl_draw draws with the state as
// it is. Queries and uploads (in gl_caps and gl_texture) act at once; nothing
// calls back up. Main thread.
#pragma once

#include <GLES2/gl2.h>
#include <array>
#include <cstddef>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

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

// Bits of Attribs a list or a batch has set.
enum { SET_COLOUR = 1, SET_NORMAL = 2, SET_TEXCOORD = 4 };

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
    GLint first = 0, count = 0; // Draw: vertex range; MultMatrix: offset into the floats
};

// The glBegin/glEnd batch being gathered.
struct Batch {
    bool open = false;
    GLenum mode = GL_TRIANGLES;
    std::vector<Vertex> vertices;
    unsigned setMask = 0; // what a list's batch set (SET_*)
};

struct List {
    std::vector<Op> ops;
    std::vector<float> floats; // glMultMatrix arguments
    std::vector<Vertex> vertices;
    GLuint buffer = 0;
};

// Display lists. While a list compiles, GL executes nothing: attribute calls
// change the list's own notion of "current" (attribs), and what the list
// never set (setMask) is inherited at call time.
struct Lists {
    std::unordered_map<GLuint, List> byName;
    GLuint nextName = 1;
    GLuint compilingName = 0;
    List* compiling = nullptr;
    GLenum compilingMode = ISOWEB_GL_COMPILE;
    Attribs attribs;
    unsigned setMask = 0;
    int callDepth = 0;
};

using Mat = std::array<float, 16>; // column-major, as GL stores it
constexpr Mat kIdentity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

struct Matrices {
    std::vector<Mat> modelview{kIdentity};
    std::vector<Mat> projection{kIdentity};
    std::vector<Mat> texture{kIdentity};
    GLenum mode = ISOWEB_GL_MODELVIEW;
};

struct TextureInfo {
    bool hasImage = false;
    bool hasMipmaps = false;
    GLint minFilter = GL_NEAREST_MIPMAP_LINEAR; // GL's default
};

struct Textures {
    std::unordered_map<GLuint, TextureInfo> byName;
    GLint unpackAlignment = 4;
};

// What decides which program stands in for the fixed-function pipeline at a
// draw: a fragment computes only what its state needs, with no branches.
struct ProgramKey {
    bool textured = false;  // GL_TEXTURE_2D on, with a complete texture bound
    int fog = 0;            // 0 off, 1 GL_LINEAR, 2 GL_EXP, 3 GL_EXP2
    bool sphereMap = false; // s or t from the sphere map (only when textured)
    int index() const { return (textured ? 1 : 0) | fog << 1 | (sphereMap ? 8 : 0); }
};
constexpr int kProgramKinds = 16;

// One linked program, made at the first draw that needs it.
struct Program {
    GLuint id = 0;
    GLint uModelview = -1, uProjection = -1, uNormalMatrix = -1, uCol = -1, uNrm = -1, uTex = -1,
          uSphereMap = -1, uFog = -1, uFogCol = -1, uSampler = -1;
};

// The programs and the buffer immediate batches stream through.
struct Shader {
    std::array<Program, kProgramKinds> programs;
    GLuint inUse = 0;
    GLuint streamBuffer = 0;
    std::vector<float> packed; // position-and-colour batches, 7 floats a vertex
};

// All the layer knows: one per program, as GL has one context per window.
struct Context {
    State state;
    Batch batch;
    Lists lists;
    Matrices matrices;
    Textures textures;
    Shader shader;
    std::set<std::string> warned;
};
Context& context();

// One console line per kind of unsupported use, so a missing feature shows
// without flooding the console every frame (gl_context.cpp).
void warnOnce(const char* what);

// Ops (gl_dispatch.cpp): recorded while a list compiles, else applied now.
void submit(const Op& op);
// Carries one op out against the live state; `floats` are the list's (or the
// caller's) glMultMatrix arguments.
void apply(const Op& op, const float* floats);
// Replays a list: its batches drawn, its ops applied in order.
void callList(GLuint name);
bool compiling();
// Stores a finished batch in the list being compiled.
void recordBatch(GLenum mode, const Vertex* v, size_t count);
// Keeps glMultMatrix's 16 floats for the list being compiled; returns their offset.
GLint recordFloats(const float* m, int n);

// Matrices (gl_matrix.cpp).
void applyMatrixOp(const Op& op, const float* floats);
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

// Programs (gl_program.cpp): the one for a key, linked on first use, with
// the attributes at the locations below in every program.
enum Attr { kPos, kCol, kNrm, kTex, kInherit };
ProgramKey programKey(const State& s);
const Program& useProgram(ProgramKey key);

// Drawing (gl_draw.cpp): the program takes the state as it is at the call.
void drawBuffer(GLenum mode, GLuint buffer, GLint first, GLsizei count);
void drawStream(GLenum mode, const Vertex* v, size_t count);

} // namespace isoweb
