// The whole show on a virtual clock: the real synthesizer fills the ring as
// a device playing in real time drains it, the frame driver consumes its
// events, and every frame is drawn. All six scenes must follow in table
// order, the counter wrap at 58 with a frame of no scene, then scene 1 again.
#include "../gl/scene_fixture.h"
#include "app/frame_driver.h"
#include "app/gl/frame_pass.h"

#include <vector>

namespace {

TEST_F(SceneGL, WholeLoopPlaysInOrderAndWraps) {
    std::vector<int> order;
    int wrapFrames = 0;
    // Virtual 60 Hz frames, the device draining the ring in real time; at most twenty minutes.
    for (int frame = 0; frame < 60 * 60 * 20 && !(wrapFrames && order.back() == SCENE_1); frame++) {
        double t = frame / 60.0;
        FramePlan plan = planFrame(t, (uint32_t)(t * 44100));
        drawPlan(plan);
        ASSERT_EQ(glGetError(), (GLenum)GL_NO_ERROR) << "frame " << frame;
        if (order.empty() || order.back() != plan.scene) order.push_back(plan.scene);
        if (plan.scene == SCENE_NONE) {
            wrapFrames++;
            EXPECT_GE(plan.n, 58);
            EXPECT_EQ(incs, 0);
        }
    }
    EXPECT_EQ(order, (std::vector<int>{SCENE_1, SCENE_CREDITS, SCENE_0, SCENE_3, SCENE_4, SCENE_5,
                                       SCENE_NONE, SCENE_1}));
    EXPECT_EQ(wrapFrames, 1);
}

} // namespace
