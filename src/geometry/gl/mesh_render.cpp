// Baking a mesh into GL display lists: triangles in stored order with face
// normals (flat list) or vertex normals (smooth list), sphere-map texture
// generation switched on around each batch and off after it. Main thread, GL.
#include "geometry/meta_builder.h"

#include <GL/gl.h>

void object13::renderFlatEnv() {
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glBegin(GL_TRIANGLES);
    for (uint32_t i = 0; i < numTriangles; i++) {
        const vector3& n = faceNormals[i];
        glNormal3f(float(n.x), float(n.y), float(n.z));
        for (int k = 0; k < 3; k++) {
            const vector3& p = vertices[triangles[i].v[k]];
            glVertex3f(float(p.x), float(p.y), float(p.z));
        }
    }
    glEnd();
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
}

void object13::renderFullEnv() {
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glBegin(GL_TRIANGLES);
    for (uint32_t i = 0; i < numTriangles; i++)
        for (int k = 0; k < 3; k++) {
            uint16_t v = triangles[i].v[k];
            const vector3& n = normals[v];
            const vector3& p = vertices[v];
            glNormal3f(float(n.x), float(n.y), float(n.z));
            glVertex3f(float(p.x), float(p.y), float(p.z));
        }
    glEnd();
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
}

void metaBuilder::preproc(int n) {
    listId = n;
    glNewList(n, GL_COMPILE);
    renderFlatEnv();
    glEndList();
    glNewList(n + 1, GL_COMPILE);
    renderFullEnv();
    glEndList();
}
