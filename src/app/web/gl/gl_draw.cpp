// Drawing with the state as it is at the call: the program its state needs,
// that state loaded into it, the vertices pointed at, the draw. Immediate
// batches stream through one reused buffer.
#include "app/web/gl/gl_layer.h"

#include <cstring>
#include <vector>

namespace isoweb {
namespace {

Shader& shader() {
    Shader& sh = context().shader;
    if (!sh.streamBuffer) {
        for (GLuint a = kPos; a <= kInherit; a++)
            glEnableVertexAttribArray(a);
        glGenBuffers(1, &sh.streamBuffer);
    }
    return sh;
}

void loadState() {
    shader();
    const State& s = context().state;
    const Program& p = useProgram(programKey(s));
    glUniformMatrix4fv(p.uModelview, 1, GL_FALSE, modelview());
    glUniformMatrix4fv(p.uProjection, 1, GL_FALSE, projection());
    glUniform4fv(p.uCol, 1, s.current.col);
    if (p.uTex >= 0) glUniform2fv(p.uTex, 1, s.current.tex);
    if (p.uSphereMap >= 0) {
        float nm[9];
        normalMatrix(nm);
        glUniformMatrix3fv(p.uNormalMatrix, 1, GL_FALSE, nm);
        glUniform3fv(p.uNrm, 1, s.current.nrm);
        glUniform2f(p.uSphereMap, s.genS && s.genModeS == ISOWEB_GL_SPHERE_MAP ? 1.0f : 0.0f,
                    s.genT && s.genModeT == ISOWEB_GL_SPHERE_MAP ? 1.0f : 0.0f);
    }
    if (p.uFog >= 0) {
        glUniform4f(p.uFog, 0.0f, s.fogDensity, s.fogStart, s.fogEnd);
        glUniform4fv(p.uFogCol, 1, s.fogColour);
    }
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
