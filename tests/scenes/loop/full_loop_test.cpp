// The whole show on a virtual clock: the real synthesizer fills the ring as
// a device playing in real time drains it, the frame driver consumes its
// events, and every frame is drawn. All six scenes must follow in table
// order, the counter wrap at 58 with a frame of no scene, then scene 1 again.
#include "../gl/scene_fixture.h"
#include "app/frame_driver.h"
#include "scenes/scenes.h"

#include <vector>

namespace {

TEST_F(SceneGL, WholeLoopPlaysInOrderAndWraps) {
    const double kFrame = 1.0 / 60;      // virtual frame time, seconds
    const int kMaxFrames = 60 * 60 * 20; // twenty minutes of show
    std::vector<int> order;
    int lastN = 0, wrapFrames = 0, frame = 0;
    bool backToStart = false;
    for (; frame < kMaxFrames && !backToStart; frame++) {
        double t = frame * kFrame;
        uint32_t played = (uint32_t)(t * 44100); // the device drains in real time
        FramePlan plan = planFrame(t, played);
        glColor3f(plan.colour[0], plan.colour[1], plan.colour[2]);
        drawScene(plan);
        ASSERT_EQ(glGetError(), (GLenum)GL_NO_ERROR) << "frame " << frame;
        if (order.empty() || order.back() != plan.scene) order.push_back(plan.scene);
        if (plan.scene == SCENE_NONE) {
            wrapFrames++;
            EXPECT_GE(plan.n, 58);
            EXPECT_EQ(incs, 0);
        } else {
            EXPECT_GE(plan.n, lastN) << "counter went back without a wrap";
            backToStart = wrapFrames > 0;
        }
        lastN = plan.scene == SCENE_NONE ? 0 : plan.n;
    }
    const std::vector<int> want = {SCENE_1, SCENE_CREDITS, SCENE_0,    SCENE_3,
                                   SCENE_4, SCENE_5,       SCENE_NONE, SCENE_1};
    EXPECT_EQ(order, want);
    EXPECT_EQ(wrapFrames, 1);
    printf("loop of 58 hits took %.1f s of show (%d frames)\n", frame * kFrame, frame);
}

} // namespace
