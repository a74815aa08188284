#include <GL/gl.h>

#include "app/frame_clock.h"
#include "app/scene.h"
#include "base/random.h"
#include "scene_test.h"
#include "textures/texture_registry.h"

using namespace smokedrift;

namespace {

struct FrameLoopTest : SceneTest {
    void SetUp() override {
        SceneTest::SetUp();
        scene.initScene(1024, 768);
    }
};

}  // namespace

TEST_F(FrameLoopTest, SceneSetUpSizesConfiguresAndDrawsTheFirstFade) {
    EXPECT_FLOAT_EQ(scene.screenLayout.width, 1024);
    EXPECT_FLOAT_EQ(scene.screenLayout.height, 768);
    EXPECT_FLOAT_EQ(scene.screenLayout.fadeAlpha, 0.2f);
    EXPECT_FLOAT_EQ(scene.screenLayout.bandFraction, 0.2f);
    EXPECT_EQ(scene.screenLayout.viewportCount, 2);
    EXPECT_EQ(scene.screenLayout.viewports[1].letterboxed, 1);
    EXPECT_FLOAT_EQ(scene.screenLayout.viewports[1].pixelBottom, 768 * 0.2f);
    EXPECT_FLOAT_EQ(scene.screenLayout.viewports[1].camera.farPlane, 6.0f);
    EXPECT_EQ(scene.settings.spritesEnabled, 1);
    EXPECT_EQ(scene.settings.pass3DEnabled, 0);
    EXPECT_EQ(scene.settings.blendEnabled, 1);
    EXPECT_EQ(scene.settings.texturingEnabled, 1);
    EXPECT_EQ(scene.bandOscillator.speedSource, &scene.settings.overlaySpeed);
    EXPECT_DOUBLE_EQ(scene.turnZ.scale, 180.0);
    EXPECT_DOUBLE_EQ(scene.frameClock.currentTime, 1.0);
    EXPECT_EQ(scene.textures[0].width, 256);
    EXPECT_EQ(scene.textures[0].format, GLenum(GL_RGBA));
    EXPECT_STREQ(textureRegistry.typeNames[0], "SMOKE");
    // The set-up ends with the first fade, translucent at 0.2, between the bands.
    auto tail = callsFrom("glOrtho");
    ASSERT_FALSE(tail.empty());
    EXPECT_EQ(recgl::calls().back().name, "glEnd");
    EXPECT_EQ(recgl::callsNamed("glColor4f").back().args, (std::vector<double>{0, 0, 0, 0.2f}));
}

TEST_F(FrameLoopTest, ARenewedSceneIsTheSceneOfANewProcess) {
    renewScene(scene);
    const double lastDrawn = scene.sprites[MAX_SPRITES - 1].oscBlue.phase;
    scene.initScene(640, 480);
    scene.renderFrame();
    seedRandom(99);
    recgl::reset();
    renewScene(scene);
    EXPECT_EQ(scene.sprites[MAX_SPRITES - 1].oscBlue.phase, lastDrawn) << "start values from the unseeded generator";
    EXPECT_EQ(scene.frameCounter, 0);
    EXPECT_EQ(scene.settings.spritesEnabled, 0);
    EXPECT_EQ(scene.textures[0].glName, 0u);
    EXPECT_EQ(boundTextureName, 0xffffffffu);
    EXPECT_EQ(textureRegistry.count, 0);
    EXPECT_EQ(recgl::count("glDeleteTextures"), 0u) << "names of a context that may be gone are dropped";
}

TEST_F(FrameLoopTest, ReleaseDeletesWhatTheSceneMadeOnce) {
    scene.feedbackEffect.texture.bind();
    recgl::reset();
    scene.release();
    scene.release();
    EXPECT_EQ(recgl::count("glDeleteTextures"), 2u) << "the smoke texture and the effect's";
    EXPECT_EQ(boundTextureName, 0xffffffffu) << "a deleted name is bound to nothing";
}

TEST_F(FrameLoopTest, FirstTwoFramesOnlyClearAndLeaveTheClockAlone) {
    const double phase = scene.driftX.phase;
    for (int i = 0; i < 2; ++i) {
        recgl::reset();
        now += 16;
        scene.renderFrame();
        EXPECT_EQ(recgl::names(), (std::vector<std::string>{"glDepthMask", "glClear"}));
    }
    EXPECT_DOUBLE_EQ(scene.frameClock.currentTime, 1.0);
    EXPECT_EQ(scene.driftX.phase, phase);
    now += 16;
    scene.renderFrame();
    // The third frame's step spans the two clearing frames too.
    EXPECT_NEAR(scene.frameClock.timeStep, 0.048, 1e-12);
    EXPECT_FLOAT_EQ(scene.screenLayout.fadeAlpha, 0.04f);
    EXPECT_FLOAT_EQ(scene.screenLayout.bandFraction, float(scene.bandOscillator.value()));
}

TEST_F(FrameLoopTest, ShippedFrameFadesThenDrawsTheSpritesWithOneBind) {
    scene.frameCounter = 2;
    recgl::reset();
    boundTextureName = 0xffffffffu;  // as if another texture had been bound since set-up
    now += 16;
    scene.renderFrame();
    auto n = recgl::names();
    EXPECT_EQ(n[0], "glDepthMask");
    EXPECT_EQ(n[1], "glDisable");
    EXPECT_EQ(n[2], "glViewport");
    EXPECT_EQ(recgl::count("glBindTexture"), 1u);
    EXPECT_EQ(recgl::count("glRotatef"), 25u);
    EXPECT_EQ(recgl::count("glPushMatrix"), 25u);
    // Sprites draw with ONE_MINUS_DST_ALPHA, ONE and leave blending, alpha test and texturing off.
    auto tail = callsFrom("glAlphaFunc");
    ASSERT_FALSE(tail.empty());
    auto last3 = std::vector<recgl::Call>(recgl::calls().end() - 3, recgl::calls().end());
    EXPECT_EQ(last3[0].args[0], GL_ALPHA_TEST);
    EXPECT_EQ(last3[1].args[0], GL_BLEND);
    EXPECT_EQ(last3[2].args[0], GL_TEXTURE_2D);
    EXPECT_EQ(recgl::count("gluPerspective"), 0u);
}

TEST_F(FrameLoopTest, SpriteOscillatorsRunAtAFifthOfTheFrameStepAndRotationInRealTime) {
    scene.frameCounter = 2;
    Sprite& s = scene.sprites[0];
    s.oscX.level = 0.5;  // moving, so its update neither draws nor changes level
    s.oscX.levelVelocity = 0;
    s.oscX.frequency = 1;
    s.spin = 100;
    s.angle = 0;
    const double phase = s.oscX.phase;
    const double phase25 = scene.sprites[25].oscX.phase;
    now += 100;
    scene.renderFrame();
    EXPECT_NEAR(s.oscX.phase - phase, 0.5 * 0.1 * 0.2, 1e-7);
    EXPECT_NEAR(s.angle, 100 * 0.02 * 0.1, 1e-5);
    EXPECT_EQ(scene.sprites[25].oscX.phase, phase25) << "scene.sprites beyond the count are never updated";
}

TEST_F(FrameLoopTest, ZeroSpritesStillSetAndClearTheSpriteState) {
    scene.settings.spriteCount = 0;
    const float angle25 = scene.sprites[25].angle;
    scene.frameCounter = 2;
    recgl::reset();
    boundTextureName = 0xffffffffu;
    now += 16;
    scene.renderFrame();
    EXPECT_EQ(recgl::count("glBindTexture"), 1u);
    EXPECT_EQ(recgl::count("glAlphaFunc"), 1u);
    EXPECT_EQ(recgl::count("glRotatef"), 0u);
    EXPECT_EQ(scene.sprites[25].angle, angle25);
}

TEST_F(FrameLoopTest, BackgroundPassMultipliesByTheSpriteTexture) {
    scene.settings.backgroundEnabled = 1;
    scene.frameCounter = 2;
    recgl::reset();
    now += 16;
    scene.renderFrame();
    scene.settings.backgroundEnabled = 0;
    auto tail = callsFrom("glColor3f");
    ASSERT_FALSE(tail.empty());
    auto blends = recgl::callsNamed("glBlendFunc");
    EXPECT_EQ(blends.back().args, (std::vector<double>{GL_ZERO, GL_SRC_COLOR}));
    auto v = recgl::callsNamed("glVertex2f");
    EXPECT_EQ(v.back().args, (std::vector<double>{0, 768}));
    EXPECT_EQ(v[v.size() - 2].args, (std::vector<double>{1024, 768}));
}

TEST_F(FrameLoopTest, StateSwitchesApplyAndClearInTheirOrder) {
    recgl::reset();
    scene.applyStateSwitches();  // shipped: blend and texturing on, the rest off
    std::vector<std::string> expect = {"glBlendFunc", "glEnable",  "glDisable", "glDisable",
                                       "glDisable",   "glDisable", "glEnable"};
    EXPECT_EQ(recgl::names(), expect);
    EXPECT_EQ(recgl::calls()[0].args, (std::vector<double>{GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}));
    recgl::reset();
    scene.settings.depthTestEnabled = 1;
    scene.applyStateSwitches();
    EXPECT_EQ(recgl::callsNamed("glDepthMask").size(), 1u);
    recgl::reset();
    scene.clearStateSwitches();
    scene.settings.depthTestEnabled = 0;
    EXPECT_EQ(recgl::names(), (std::vector<std::string>{"glDisable", "glDisable", "glDisable"}));
    EXPECT_EQ(recgl::calls()[1].args[0], GL_DEPTH_TEST);
}
