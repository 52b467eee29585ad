// Where every op goes: into the list being compiled, or against the live
// state now. Replaying a list comes back here op by op, and a list that calls
// a list replays it in place.
#include "app/web/gl/gl_layer.h"

namespace isoweb {

bool compiling() {
    return context().lists.compiling != nullptr;
}

void submit(const Op& op) {
    List* l = context().lists.compiling;
    if (l)
        l->ops.push_back(op);
    else
        apply(op, nullptr);
}

void recordBatch(GLenum mode, const Vertex* v, size_t count) {
    List* l = context().lists.compiling;
    if (!l || count == 0) return;
    Op op{OpKind::Draw};
    op.a = mode;
    op.first = (GLint)l->vertices.size();
    op.count = (GLint)count;
    l->vertices.insert(l->vertices.end(), v, v + count);
    l->ops.push_back(op);
}

GLint recordFloats(const float* m, int n) {
    List* l = context().lists.compiling;
    GLint at = (GLint)l->floats.size();
    l->floats.insert(l->floats.end(), m, m + n);
    return at;
}

void apply(const Op& op, const float* floats) {
    State& s = context().state;
    switch (op.kind) {
    case OpKind::Enable:
    case OpKind::Disable:
        applyCap(op.a, op.kind == OpKind::Enable);
        break;
    case OpKind::Colour:
        for (int i = 0; i < 4; i++)
            s.current.col[i] = op.f[i];
        break;
    case OpKind::Normal:
        for (int i = 0; i < 3; i++)
            s.current.nrm[i] = op.f[i];
        break;
    case OpKind::TexCoord:
        for (int i = 0; i < 2; i++)
            s.current.tex[i] = op.f[i];
        break;
    case OpKind::Draw:
        break; // only lists hold draws; callList draws them
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
        applyMatrixOp(op, floats);
        break;
    }
}

void callList(GLuint name) {
    Lists& lists = context().lists;
    // GL's smallest allowed nesting limit; also ends a list that calls itself.
    if (lists.callDepth >= 64) return;
    auto it = lists.byName.find(name);
    if (it == lists.byName.end()) return;
    const List& l = it->second;
    lists.callDepth++;
    for (const Op& op : l.ops) {
        if (op.kind == OpKind::Draw)
            drawBuffer(op.a, l.buffer, op.first, op.count);
        else
            apply(op, l.floats.data());
    }
    lists.callDepth--;
}

} // namespace isoweb
