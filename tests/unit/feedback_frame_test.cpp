#include <GL/gl.h>

#include <algorithm>

#include "animation/random.h"
#include "app/frame_clock.h"
#include "app/frame_loop.h"
#include "app/scene_config.h"
#include "app/scene_objects.h"
#include "scene_test.h"
#include "textures/texture_registry.h"

using namespace smokedrift;

namespace {

struct FeedbackFrames : SceneTest {
    void SetUp() override {
        SceneTest::SetUp();
        initScene(640, 480);
        renderFrame();
        renderFrame();  // the two clearing frames
    }
    void TearDown() override {
        screenLayout.effectMode = 0;
        SceneTest::TearDown();
    }
    void frame() {
        now += 20;
        recgl::reset();
        renderFrame();
    }
};

}  // namespace

TEST_F(FeedbackFrames, ConfigurationPointsTheEffectAtTheLayout) {
    EXPECT_EQ(feedbackEffect.layout, &screenLayout);
    EXPECT_EQ(screenLayout.effectMode, 0);
    frame();
    EXPECT_EQ(recgl::count("glCopyTexImage2D"), 0u);
    EXPECT_EQ(recgl::count("gluPerspective"), 0u);
}

TEST_F(FeedbackFrames, ModeOneFitsTheSceneToTheTextureAndCapturesAtTheEnd) {
    screenLayout.effectMode = 1;
    frame();
    EXPECT_EQ(screenLayout.width, 128);
    EXPECT_EQ(screenLayout.height, 128);
    EXPECT_EQ(screenLayout.windowWidth, 640);
    const auto tail = callsFrom("glCopyTexImage2D");
    ASSERT_EQ(tail.size(), 6u) << "the capture ends the frame";
    EXPECT_EQ(tail.back().name, "glRecti");
    // The sprites were laid out on the 128 × 128 block: the fit came before the sprite pass.
    const auto pass = callsFrom("glAlphaFunc");
    const auto first =
        std::find_if(pass.begin(), pass.end(), [](const recgl::Call& c) { return c.name == "glTranslatef"; });
    ASSERT_NE(first, pass.end());
    EXPECT_FLOAT_EQ(first->args[0], 64 + sprites[0].x);
}

TEST_F(FeedbackFrames, ModeTwoDrawsTheTilesAndOtherModesNothing) {
    screenLayout.effectMode = 1;
    frame();
    screenLayout.effectMode = 2;
    frame();
    EXPECT_EQ(recgl::count("glCopyTexImage2D"), 0u);
    EXPECT_EQ(recgl::count("gluPerspective"), 1u);
    EXPECT_EQ(recgl::names().back(), "glDisable");
    for (int mode : {3, -1}) {
        screenLayout.effectMode = mode;
        frame();
        EXPECT_EQ(recgl::count("glCopyTexImage2D"), 0u);
        EXPECT_EQ(recgl::count("gluPerspective"), 0u);
    }
}
