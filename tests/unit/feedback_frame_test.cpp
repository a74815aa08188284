#include <GL/gl.h>

#include <algorithm>

#include "app/frame_clock.h"
#include "app/scene.h"
#include "base/random.h"
#include "scene_test.h"
#include "textures/texture_registry.h"

using namespace smokedrift;

namespace {

struct FeedbackFrames : SceneTest {
    void SetUp() override {
        SceneTest::SetUp();
        scene.initScene(640, 480);
        scene.renderFrame();
        scene.renderFrame();  // the two clearing frames
    }
    void TearDown() override {
        scene.screenLayout.effectMode = 0;
        SceneTest::TearDown();
    }
    void frame() {
        now += 20;
        recgl::reset();
        scene.renderFrame();
    }
};

}  // namespace

TEST_F(FeedbackFrames, ConfigurationPointsTheEffectAtTheLayout) {
    EXPECT_EQ(scene.feedbackEffect.layout, &scene.screenLayout);
    EXPECT_EQ(scene.screenLayout.effectMode, 0);
    frame();
    EXPECT_EQ(recgl::count("glCopyTexImage2D"), 0u);
    EXPECT_EQ(recgl::count("gluPerspective"), 0u);
}

TEST_F(FeedbackFrames, ModeOneFitsTheSceneToTheTextureAndCapturesAtTheEnd) {
    scene.screenLayout.effectMode = 1;
    frame();
    EXPECT_EQ(scene.screenLayout.width, 128);
    EXPECT_EQ(scene.screenLayout.height, 128);
    EXPECT_EQ(scene.screenLayout.windowWidth, 640);
    const auto tail = callsFrom("glCopyTexImage2D");
    ASSERT_EQ(tail.size(), 6u) << "the capture ends the frame";
    EXPECT_EQ(tail.back().name, "glRecti");
    // The scene.sprites were laid out on the 128 × 128 block: the fit came before the sprite pass.
    const auto pass = callsFrom("glAlphaFunc");
    const auto first =
        std::find_if(pass.begin(), pass.end(), [](const recgl::Call& c) { return c.name == "glTranslatef"; });
    ASSERT_NE(first, pass.end());
    EXPECT_FLOAT_EQ(first->args[0], 64 + scene.sprites[0].x);
}

TEST_F(FeedbackFrames, ModeTwoDrawsTheTilesAndOtherModesNothing) {
    scene.screenLayout.effectMode = 1;
    frame();
    scene.screenLayout.effectMode = 2;
    frame();
    EXPECT_EQ(recgl::count("glCopyTexImage2D"), 0u);
    EXPECT_EQ(recgl::count("gluPerspective"), 1u);
    EXPECT_EQ(recgl::names().back(), "glDisable");
    for (int mode : {3, -1}) {
        scene.screenLayout.effectMode = mode;
        frame();
        EXPECT_EQ(recgl::count("glCopyTexImage2D"), 0u);
        EXPECT_EQ(recgl::count("gluPerspective"), 0u);
    }
}
