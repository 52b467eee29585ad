// Display lists, named, compiled and deleted. A list keeps its vertex batches
// in one buffer of its own (uploaded once at glEndList, so calling a list
// costs a few draws, not a re-upload) and everything else as ops, which
// gl_dispatch records while the list compiles and replays when it is called.
#include "app/web/gl/gl_layer.h"
#include "app/web/gl/gl_web_api.h"

#include <vector>

using namespace isoweb;

namespace {

void release(List& l) {
    if (l.buffer) glDeleteBuffers(1, &l.buffer);
    l = List();
}

} // namespace

GLuint isoweb_GenLists(GLsizei range) {
    if (range <= 0) return 0;
    Lists& lists = context().lists;
    GLuint base = lists.nextName;
    lists.nextName += (GLuint)range;
    for (GLsizei i = 0; i < range; i++)
        lists.byName[base + (GLuint)i];
    return base;
}

void isoweb_NewList(GLuint name, GLenum mode) {
    Lists& lists = context().lists;
    if (lists.compiling || name == 0) {
        warnOnce("glNewList inside a list or with name 0: ignored");
        return;
    }
    List& l = lists.byName[name];
    release(l);
    if (name >= lists.nextName) lists.nextName = name + 1;
    lists.compilingName = name;
    lists.compiling = &l;
    lists.compilingMode = mode;
    lists.attribs = Attribs();
    lists.setMask = 0;
}

void isoweb_EndList() {
    Lists& lists = context().lists;
    if (!lists.compiling) return;
    List& l = *lists.compiling;
    lists.compiling = nullptr;
    if (!l.vertices.empty()) {
        glGenBuffers(1, &l.buffer);
        glBindBuffer(GL_ARRAY_BUFFER, l.buffer);
        glBufferData(GL_ARRAY_BUFFER, (GLsizeiptr)(l.vertices.size() * sizeof(Vertex)),
                     l.vertices.data(), GL_STATIC_DRAW);
        std::vector<Vertex>().swap(l.vertices);
    }
    // Compile-and-execute behaves as compile followed by a call.
    if (lists.compilingMode == ISOWEB_GL_COMPILE_AND_EXECUTE) callList(lists.compilingName);
}

void isoweb_CallList(GLuint name) {
    Op op{OpKind::CallList};
    op.a = name;
    submit(op);
}

void isoweb_DeleteLists(GLuint name, GLsizei range) {
    Lists& lists = context().lists;
    for (GLsizei i = 0; i < range; i++) {
        auto it = lists.byName.find(name + (GLuint)i);
        if (it == lists.byName.end() || &it->second == lists.compiling) continue;
        release(it->second);
        lists.byName.erase(it);
    }
}

GLboolean isoweb_IsList(GLuint name) {
    return context().lists.byName.count(name) ? GL_TRUE : GL_FALSE;
}
