// Display lists, recorded and replayed. A list keeps its vertex batches in one
// buffer of its own (uploaded once at glEndList, so calling a list costs a few
// draws, not a re-upload) and everything else as ops applied in order.
#include "app/web/gl_layer.h"
#include "app/web/gl_web_api.h"

#include <unordered_map>
#include <vector>

namespace isoweb {
namespace {

struct List {
    std::vector<Op> ops;
    std::vector<float> floats; // glMultMatrix arguments
    std::vector<Vertex> vertices;
    GLuint buffer = 0;
};

std::unordered_map<GLuint, List> lists;
GLuint nextName = 1;
GLuint compilingName = 0;
List* compilingList = nullptr;
GLenum compilingMode = ISOWEB_GL_COMPILE;
int callDepth = 0;

void release(List& l) {
    if (l.buffer) glDeleteBuffers(1, &l.buffer);
    l = List();
}

} // namespace

bool compiling() {
    return compilingList != nullptr;
}

void submit(const Op& op) {
    if (compilingList)
        compilingList->ops.push_back(op);
    else
        apply(op, nullptr);
}

void recordBatch(GLenum mode, const Vertex* v, size_t count) {
    if (!compilingList || count == 0) return;
    Op op{OpKind::Draw};
    op.a = mode;
    op.first = (GLint)compilingList->vertices.size();
    op.count = (GLint)count;
    compilingList->vertices.insert(compilingList->vertices.end(), v, v + count);
    compilingList->ops.push_back(op);
}

GLint recordFloats(const float* m, int n) {
    GLint at = (GLint)compilingList->floats.size();
    compilingList->floats.insert(compilingList->floats.end(), m, m + n);
    return at;
}

static void callList(GLuint name);

void apply(const Op& op, const float* listFloats) {
    switch (op.kind) {
    case OpKind::Enable:
    case OpKind::Disable:
        applyCap(op.a, op.kind == OpKind::Enable);
        break;
    case OpKind::Colour:
        for (int i = 0; i < 4; i++)
            state().current.col[i] = op.f[i];
        break;
    case OpKind::Normal:
        for (int i = 0; i < 3; i++)
            state().current.nrm[i] = op.f[i];
        break;
    case OpKind::TexCoord:
        for (int i = 0; i < 2; i++)
            state().current.tex[i] = op.f[i];
        break;
    case OpKind::Draw:
        break; // only lists hold draws; callList handles them
    case OpKind::BindTexture:
        applyBindTexture(op.a);
        break;
    case OpKind::BlendFunc:
        glBlendFunc(op.a, op.b);
        break;
    case OpKind::DepthMask:
        glDepthMask((GLboolean)op.a);
        break;
    case OpKind::CallList:
        callList(op.a);
        break;
    case OpKind::FogParam:
        applyFog(op.a, op.f);
        break;
    case OpKind::TexGen:
        applyTexGen(op.a, (GLint)op.b);
        break;
    default:
        applyMatrixOp(op, listFloats);
        break;
    }
}

static void callList(GLuint name) {
    // GL's smallest allowed nesting limit; also ends a list that calls itself.
    if (callDepth >= 64) return;
    auto it = lists.find(name);
    if (it == lists.end()) return;
    const List& l = it->second;
    callDepth++;
    for (const Op& op : l.ops) {
        if (op.kind == OpKind::Draw)
            drawBuffer(op.a, l.buffer, op.first, op.count);
        else
            apply(op, l.floats.data());
    }
    callDepth--;
}

} // namespace isoweb

using namespace isoweb;

GLuint isoweb_GenLists(GLsizei range) {
    if (range <= 0) return 0;
    GLuint base = nextName;
    nextName += (GLuint)range;
    for (GLsizei i = 0; i < range; i++)
        lists[base + (GLuint)i];
    return base;
}

void isoweb_NewList(GLuint name, GLenum mode) {
    if (compilingList || name == 0) {
        warnOnce("glNewList inside a list or with name 0: ignored");
        return;
    }
    List& l = lists[name];
    release(l);
    if (name >= nextName) nextName = name + 1;
    compilingName = name;
    compilingList = &l;
    compilingMode = mode;
    listCompileStarted();
}

void isoweb_EndList() {
    if (!compilingList) return;
    List& l = *compilingList;
    compilingList = nullptr;
    if (!l.vertices.empty()) {
        glGenBuffers(1, &l.buffer);
        glBindBuffer(GL_ARRAY_BUFFER, l.buffer);
        glBufferData(GL_ARRAY_BUFFER, (GLsizeiptr)(l.vertices.size() * sizeof(Vertex)),
                     l.vertices.data(), GL_STATIC_DRAW);
        std::vector<Vertex>().swap(l.vertices);
    }
    // Compile-and-execute behaves as compile followed by a call.
    if (compilingMode == ISOWEB_GL_COMPILE_AND_EXECUTE) callList(compilingName);
}

void isoweb_CallList(GLuint name) {
    Op op{OpKind::CallList};
    op.a = name;
    submit(op);
}

void isoweb_DeleteLists(GLuint name, GLsizei range) {
    for (GLsizei i = 0; i < range; i++) {
        auto it = lists.find(name + (GLuint)i);
        if (it == lists.end() || &it->second == compilingList) continue;
        release(it->second);
        lists.erase(it);
    }
}

GLboolean isoweb_IsList(GLuint name) {
    return lists.count(name) ? GL_TRUE : GL_FALSE;
}
