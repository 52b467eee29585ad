// A GL context with the demo's start-up (640 x 480 window, projection, fixed
// state, textures, meshes and lists) for the scene tests, plus staging helpers
// that isolate one element: a texture slot as one texel, empty mesh lists.
#pragma once
#include "app/gl_setup.h"
#include "app/solids.h"
#include "app/startup.h"
#include "base/working_dir.h"
#include "texture/texture_atlas.h"

#include <GL/gl.h>
#include <array>
#include <cmath>
#include <gtest/gtest.h>

class SceneGL : public ::testing::Test {
  protected:
    void SetUp() override {
        setWorkingDir(ISOLOOP_BINARY_DIR "/scenes_gl_tests"); // the build's picture pack
        // An X server may drop new connections for a moment while the previous
        // test process leaves: try again rather than fail on its schedule.
        int attempt = 0;
        while (SDL_Init(SDL_INIT_VIDEO) != 0 && ++attempt < 20)
            SDL_Delay(100);
        ASSERT_LT(attempt, 20) << SDL_GetError();
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        ASSERT_EQ(createSurface(0), 0);
        setProjection(640, 480);
        setFixedState();
        buildSolids();
        ASSERT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
    }
    void TearDown() override { SDL_Quit(); }
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
    for (const metaBuilder* m : {&mb, &stoned_forest, &stoned_mountain, &julia, &pillars, &pyramid,
                                 &lost_forest, &lost_jaw})
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
