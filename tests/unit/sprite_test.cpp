#include <GL/gl.h>

#include "animation/sprite.h"
#include "base/random.h"
#include "gl_test.h"
#include "view/screen_layout.h"

using namespace smokedrift;

using SpriteGl = RecordingGlTest;

TEST(Sprite, ConstructionDrawsOscillatorsThenAngleSpinColourAndFrequencies) {
    seedRandom(1);
    Sprite s;
    // Replay: 24 oscillator draws, then angle, sign, spin, three colours, eight frequencies.
    seedRandom(1);
    for (int i = 0; i < 24; ++i) nextRandom();
    const double angle = randomUpTo(360);
    const double sign = randomUpTo(2.0) < 1.0 ? 1.0 : -1.0;
    const double spin = (randomUpTo(160) + 160) * sign;
    const double red = randomUpTo(0.9) + 0.1;
    randomUpTo(0.9);
    randomUpTo(0.9);
    const double fx = randomUpTo(0.6) + 0.3;
    randomUpTo(0.6);
    const double fScaleX = randomUpTo(0.5) + 0.3;
    for (int i = 0; i < 4; ++i) randomUpTo(1);
    const double fAlpha = randomUpTo(0.8) + 0.4;
    EXPECT_FLOAT_EQ(s.angle, float(angle));
    EXPECT_FLOAT_EQ(s.spin, float(spin));
    EXPECT_GE(std::abs(s.spin), 160.0f);
    EXPECT_LT(std::abs(s.spin), 320.0f);
    EXPECT_FLOAT_EQ(s.red, float(red));
    EXPECT_DOUBLE_EQ(s.oscX.frequency, fx);
    EXPECT_DOUBLE_EQ(s.oscScaleX.frequency, fScaleX);
    EXPECT_DOUBLE_EQ(s.oscAlpha.frequency, fAlpha);
    EXPECT_DOUBLE_EQ(s.oscY.scale, 400);
    EXPECT_DOUBLE_EQ(s.oscY.offset, -200);
    EXPECT_DOUBLE_EQ(s.oscScaleY.offset, 0.3);
    EXPECT_EQ(s.blendSource, 5);
    EXPECT_EQ(s.blendDest, 1);
    EXPECT_FLOAT_EQ(s.size, 700);
}

TEST(Sprite, UpdateCopiesEveryOscillatorOutput) {
    Sprite s;
    s.update(0.01f);
    EXPECT_FLOAT_EQ(s.x, float(s.oscX.value()));
    EXPECT_FLOAT_EQ(s.alpha, float(s.oscAlpha.value()));
    EXPECT_FLOAT_EQ(s.scaleY, float(s.oscScaleY.value()));
    EXPECT_FLOAT_EQ(s.blue, float(s.oscBlue.value()));
    EXPECT_GE(s.x, -300.0f);
    EXPECT_LE(s.x, 300.0f);
}

TEST_F(SpriteGl, DrawBlendsPremultipliedAboutTheWindowCentre) {
    ScreenLayout layout;
    layout.setSize(1000, 800);
    Sprite s;
    s.x = -300;
    s.y = 200;
    s.scaleX = 2.3f;
    s.scaleY = 0.3f;
    s.red = 0.5f;
    s.green = 0.25f;
    s.blue = 1.0f;
    s.alpha = 0.5f;
    s.angle = 10;
    s.spin = -200;
    s.draw(layout.width, layout.height, 0.01f);
    EXPECT_EQ(recgl::callsNamed("glBlendFunc")[0].args, (std::vector<double>{GL_ONE_MINUS_DST_ALPHA, GL_ONE}));
    EXPECT_EQ(recgl::callsNamed("glColor4f")[0].args, (std::vector<double>{0.25, 0.125, 0.5, 0.5}));
    auto tr = recgl::callsNamed("glTranslatef");
    ASSERT_EQ(tr.size(), 2u);
    EXPECT_EQ(tr[0].args, (std::vector<double>{200, 600, 0}));
    EXPECT_NEAR(tr[1].args[0], -805, 1e-3);
    EXPECT_NEAR(tr[1].args[1], -105, 1e-3);
    EXPECT_NEAR(recgl::callsNamed("glRotatef")[0].args[0], 9.96, 1e-4);
    auto v = recgl::callsNamed("glVertex2f");
    EXPECT_NEAR(v[2].args[0], 1610, 1e-3);
    EXPECT_NEAR(v[2].args[1], 210, 1e-3);
    EXPECT_EQ(recgl::names().front(), "glBlendFunc");
    EXPECT_EQ(recgl::names().back(), "glPopMatrix");
}

TEST(Sprite, AngleStaysInRangeAndKeepsTurningAfterDays) {
    // Near a day of turning at 320 × 0.02 degrees a second, a raw float would have stopped.
    float angle = 0;
    const float dt = 1.0f / 60;
    const double perFrame = 320 * 0.02f * dt;
    for (int i = 0; i < 1000; ++i) angle = advanceAngle(angle, perFrame);
    EXPECT_NEAR(angle, 1000 * perFrame, 1e-2);
    float far = 359.99f;
    far = advanceAngle(far, perFrame);
    EXPECT_GE(far, 0.0f);
    EXPECT_LT(far, 360.0f);
    EXPECT_NEAR(far, 359.99 + perFrame - 360, 1e-4);
    float backwards = 0.01f;
    backwards = advanceAngle(backwards, -0.02);
    EXPECT_NEAR(backwards, 359.99f, 1e-3);
    EXPECT_LT(advanceAngle(0, -1e-9), 360.0f);
}
