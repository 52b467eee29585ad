// The GL state each scene leaves for the next frame: fog, blending, depth
// test, bound texture, current colour, blend function, the modelview stack.
#include "scene_fixture.h"
#include "scenes/gl/scenes.h"

#include <functional>
#include <vector>

namespace {

using F4 = std::array<float, 4>;

struct Left {
    const char* name;
    std::function<void()> draw;
    int fog; // 1 on, 0 off, -1 not checked (also skips fog colour and density)
    F4 fogColour;
    float density;
    bool depth;
    int slot;
    F4 colour;
    GLint src = GL_SRC_ALPHA, dst = GL_ONE_MINUS_SRC_ALPHA;
};

TEST_F(SceneGL, StateLeftByEachScene) {
    const float g = (float)(0.75 * 0.9), v = (float)(std::sin(3.0 + 50 * 25.213) / 2 + 0.5);
    const F4 kept = {0.2f, 0.4f, 0.6f, 1}, black = {0, 0, 0, 1};
    // clang-format off
    const Left cases[] = {
        // Scene 1 keeps the inherited density; the wall binds texture 4 for 4 <= n <= 8.
        {"scene1 n=4", [] { scene1(1.7, 4, 0.625f); }, 1, {0.625f, 0.625f, 0.625f, 1}, 0.03f, true, 4, kept},
        {"scene1 n=9", [] { scene1(1.7, 9, 0.625f); }, 1, {0.625f, 0.625f, 0.625f, 1}, 0.03f, true, 3, kept},
        // The credits leave depth testing off, grey 1 - funk / 2, page (n - 12) / 2.
        {"credits", [] { scene_credits(2.0, 14, 0.5f, 0.5f); }, 0, {}, 0, false, 11, {0.75f, 0.75f, 0.75f, 1}},
        {"scene0", [] { scene0(100.25, 18); }, 1, {0.8f, 1.0f, 0.9f, 1}, 0.01f, true, 3, kept},
        {"scene3", [] { scene3(16.5, 31, 1.0f, 0.3f, 0.5f); }, -1, {0.75f, 0.375f, 0, 1}, 0.04f, true, 3, black},
        {"scene4", [] { scene4(12.5, 40, 1.0f); }, 1, {0.3f, 0.7f, 0.5f, 1}, 0.01f, true, 3, black},
        // Scene 5 never switches fog; its thin quad's grey follows the shifted time.
        {"scene5", [] { glDisable(GL_FOG), scene5(3.0, 50, 0.5f, 0.25f); }, 0,
         {g, (float)(g * 0.4), (float)(g * 0.2), 1}, 0.03f, true, 16, {v, v, v, 1}, GL_ONE_MINUS_SRC_ALPHA, GL_ONE},
    };
    // clang-format on
    for (const Left& c : cases) {
        glFogf(GL_FOG_DENSITY, 0.03f); // as scene 5 leaves it
        glColor3f(0.2f, 0.4f, 0.6f);
        glEnable(GL_FOG), glEnable(GL_DEPTH_TEST), glEnable(GL_BLEND);
        c.draw();
        EXPECT_TRUE(c.fog < 0 || glIsEnabled(GL_FOG) == c.fog) << c.name;
        if (c.density > 0) {
            EXPECT_EQ(getFloats(GL_FOG_COLOR), c.fogColour) << c.name;
            EXPECT_EQ(getFloats(GL_FOG_DENSITY)[0], c.density) << c.name;
        }
        EXPECT_FALSE(glIsEnabled(GL_BLEND)) << c.name;
        EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), c.depth) << c.name;
        EXPECT_EQ(getFloats(GL_CURRENT_COLOR), c.colour) << c.name;
        std::vector<GLint> state;
        for (GLenum what : {GL_BLEND_SRC, GL_BLEND_DST, GL_TEXTURE_BINDING_2D, GL_MATRIX_MODE,
                            GL_MODELVIEW_STACK_DEPTH})
            glGetIntegerv(what, &state.emplace_back());
        EXPECT_EQ(state,
                  (std::vector<GLint>{c.src, c.dst, (GLint)texture[c.slot], GL_MODELVIEW, 1}))
            << c.name;
        EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR) << c.name;
    }
}

} // namespace
