// glBegin/glEnd batching and GL's current-attribute rule: a colour, normal or
// texture coordinate stays current until changed, inside a batch, across
// glEnd and across batches, and every vertex takes the values current at
// glVertex. Batches are drawn (or stored in a list) whole at glEnd.
#include "app/web/gl/gl_layer.h"
#include "app/web/gl/gl_web_api.h"

#include <vector>

using namespace isoweb;

namespace {

// While a list compiles, attribute calls change the list's own attributes.
Attribs& target() {
    Context& c = context();
    return c.lists.compiling ? c.lists.attribs : c.state.current;
}

// A list records what it sets: outside a batch as an op at once, inside one
// when the batch ends (what a batch set stays current after the list is called).
void noteSet(unsigned bit, OpKind kind) {
    Context& c = context();
    if (!c.lists.compiling) return;
    c.lists.setMask |= bit;
    if (c.batch.open) {
        c.batch.setMask |= bit;
        return;
    }
    Op op{kind};
    const Attribs& a = c.lists.attribs;
    if (kind == OpKind::Colour)
        for (int i = 0; i < 4; i++)
            op.f[i] = a.col[i];
    else if (kind == OpKind::Normal)
        for (int i = 0; i < 3; i++)
            op.f[i] = a.nrm[i];
    else
        for (int i = 0; i < 2; i++)
            op.f[i] = a.tex[i];
    submit(op);
}

// Quads become two triangles each so that WebGL can draw them.
std::vector<Vertex> quadsToTriangles(const std::vector<Vertex>& q) {
    std::vector<Vertex> t;
    t.reserve(q.size() / 4 * 6);
    for (size_t i = 0; i + 3 < q.size(); i += 4) {
        const Vertex* v = &q[i];
        t.insert(t.end(), {v[0], v[1], v[2], v[0], v[2], v[3]});
    }
    return t;
}

} // namespace

void isoweb_Begin(GLenum mode) {
    Batch& batch = context().batch;
    if (batch.open) {
        warnOnce("glBegin inside glBegin/glEnd: ignored");
        return;
    }
    batch.open = true;
    batch.mode = mode;
    batch.vertices.clear();
    batch.setMask = 0;
}

void isoweb_End() {
    Batch& batch = context().batch;
    if (!batch.open) {
        warnOnce("glEnd without glBegin: ignored");
        return;
    }
    batch.open = false;
    GLenum mode = batch.mode;
    std::vector<Vertex> quads;
    const std::vector<Vertex>* v = &batch.vertices;
    if (mode == ISOWEB_GL_QUADS) {
        quads = quadsToTriangles(batch.vertices);
        v = &quads;
        mode = GL_TRIANGLES;
    } else if (mode > GL_TRIANGLE_FAN) {
        warnOnce("glBegin with GL_QUAD_STRIP or GL_POLYGON: batch dropped");
        return;
    }
    if (compiling()) {
        recordBatch(mode, v->data(), v->size());
        if (batch.setMask & SET_COLOUR) noteSet(SET_COLOUR, OpKind::Colour);
        if (batch.setMask & SET_NORMAL) noteSet(SET_NORMAL, OpKind::Normal);
        if (batch.setMask & SET_TEXCOORD) noteSet(SET_TEXCOORD, OpKind::TexCoord);
    } else if (!v->empty()) {
        drawStream(mode, v->data(), v->size());
    }
}

void isoweb_Vertex3f(GLfloat x, GLfloat y, GLfloat z) {
    Context& c = context();
    if (!c.batch.open) return; // GL leaves a vertex outside a batch undefined
    const Attribs& a = target();
    Vertex v;
    v.pos[0] = x, v.pos[1] = y, v.pos[2] = z;
    for (int i = 0; i < 4; i++)
        v.col[i] = a.col[i];
    for (int i = 0; i < 3; i++)
        v.nrm[i] = a.nrm[i];
    v.tex[0] = a.tex[0], v.tex[1] = a.tex[1];
    unsigned set = c.lists.compiling ? c.lists.setMask : 7u;
    v.inherit[0] = (set & SET_COLOUR) ? 0 : 255;
    v.inherit[1] = (set & SET_NORMAL) ? 0 : 255;
    v.inherit[2] = (set & SET_TEXCOORD) ? 0 : 255;
    v.inherit[3] = 0;
    c.batch.vertices.push_back(v);
}

void isoweb_Vertex3fv(const GLfloat* v) {
    isoweb_Vertex3f(v[0], v[1], v[2]);
}
void isoweb_Vertex3d(double x, double y, double z) {
    isoweb_Vertex3f((float)x, (float)y, (float)z);
}
void isoweb_Vertex2f(GLfloat x, GLfloat y) {
    isoweb_Vertex3f(x, y, 0);
}

void isoweb_Color4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    float* c = target().col;
    c[0] = r, c[1] = g, c[2] = b, c[3] = a;
    noteSet(SET_COLOUR, OpKind::Colour);
}
void isoweb_Color3f(GLfloat r, GLfloat g, GLfloat b) {
    isoweb_Color4f(r, g, b, 1);
}
void isoweb_Color3fv(const GLfloat* v) {
    isoweb_Color4f(v[0], v[1], v[2], 1);
}
void isoweb_Color4fv(const GLfloat* v) {
    isoweb_Color4f(v[0], v[1], v[2], v[3]);
}
void isoweb_Color3ub(GLubyte r, GLubyte g, GLubyte b) {
    isoweb_Color4ub(r, g, b, 255);
}
void isoweb_Color4ub(GLubyte r, GLubyte g, GLubyte b, GLubyte a) {
    isoweb_Color4f(r / 255.0f, g / 255.0f, b / 255.0f, a / 255.0f);
}

void isoweb_Normal3f(GLfloat x, GLfloat y, GLfloat z) {
    float* n = target().nrm;
    n[0] = x, n[1] = y, n[2] = z;
    noteSet(SET_NORMAL, OpKind::Normal);
}
void isoweb_Normal3fv(const GLfloat* v) {
    isoweb_Normal3f(v[0], v[1], v[2]);
}

void isoweb_TexCoord2f(GLfloat s, GLfloat t) {
    float* c = target().tex;
    c[0] = s, c[1] = t;
    noteSet(SET_TEXCOORD, OpKind::TexCoord);
}
void isoweb_TexCoord2fv(const GLfloat* v) {
    isoweb_TexCoord2f(v[0], v[1]);
}
