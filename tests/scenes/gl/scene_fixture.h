// A window-less GL context after the demo's own start-up (640 x 480:
// projection, loading picture, fixed state, textures, meshes and lists) for
// the scene tests, plus staging helpers that isolate one element: a texture
// slot as one texel, empty mesh lists.
#pragma once
#include "app/egl/offscreen_gl.h"
#include "app/gl/startup_steps.h"
#include "base/working_dir.h"
#include "geometry/solids.h"
#include "texture/gl/texture_upload.h"

#include <GL/gl.h>
#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

class SceneGL : public ::testing::Test {
  protected:
    void SetUp() override {
        setWorkingDir(ISOLOOP_BINARY_DIR "/scenes_gl_tests"); // the build's picture pack
        gl = std::make_unique<OffscreenGL>(640, 480);
        ASSERT_TRUE(gl->ok()) << gl->error();
        runStartupQuietly(640, 480);
        // The frame driver gives every frame its colour; a test that calls a
        // scene directly starts from GL's initial white, not the loading
        // picture's last colour.
        glColor3f(1, 1, 1);
        ASSERT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
    }
    void TearDown() override { gl.reset(); }

    std::unique_ptr<OffscreenGL> gl;
};

using Rgba = std::array<unsigned char, 4>;

// Replaces the image of texture slot k by one texel (r, g, b, a); all zero
// makes it add nothing under the alpha blends.
inline void stageTexture(int k, unsigned char r = 0, unsigned char g = 0, unsigned char b = 0,
                         unsigned char a = 0) {
    const unsigned char texel[4] = {r, g, b, a};
    glBindTexture(GL_TEXTURE_2D, texture[k]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, 4, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
}

// Replaces both lists of every mesh with empty ones.
inline void emptyAllLists() {
    for (const metaBuilder* m : solidTable)
        for (int id = m->listId; id <= m->listId + 1; id++) {
            glNewList(id, GL_COMPILE);
            glEndList();
        }
}

// Pixel (x, y) of the back buffer, y counted from the bottom.
inline Rgba pixelAt(int x, int y) {
    Rgba p{};
    glFinish();
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
    return p;
}

inline ::testing::AssertionResult near(Rgba p, long r, long g, long b) {
    bool ok = std::abs(p[0] - r) <= 3 && std::abs(p[1] - g) <= 3 && std::abs(p[2] - b) <= 3;
    return (ok ? ::testing::AssertionSuccess() : ::testing::AssertionFailure())
           << "pixel " << int(p[0]) << " " << int(p[1]) << " " << int(p[2]);
}

// Float state: four values, or n (16 for a matrix).
template <size_t n = 4> std::array<float, n> getFloats(GLenum what) {
    std::array<float, n> v{};
    glGetFloatv(what, v.data());
    return v;
}

template <class A, class B>
::testing::AssertionResult matrixNear(const A& got, const B& want, double tol) {
    for (int i = 0; i < 16; i++)
        if (!(std::fabs(got[i] - want[i]) <= tol))
            return ::testing::AssertionFailure()
                   << "element " << i << ": " << got[i] << " != " << want[i];
    return ::testing::AssertionSuccess();
}
