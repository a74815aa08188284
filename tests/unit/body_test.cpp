#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>

#include "base/random.h"
#include "geometry/body.h"
#include "gl_test.h"

using namespace smokedrift;

TEST(Body, ConstructionSetsAmplitudesSpeedsAndFrequencies) {
    const Body b;
    EXPECT_EQ(b.motionMode, 0);
    EXPECT_EQ(b.wrapAngles, 0);
    EXPECT_EQ(b.shake, 0.0f);
    EXPECT_FLOAT_EQ(b.pathAmplitude.y, 10);
    EXPECT_FLOAT_EQ(b.swingAmplitude.y, 720);
    EXPECT_FLOAT_EQ(b.shakeFrequency[2], 60);
    EXPECT_FLOAT_EQ(b.pathSpeed, 1);
}

TEST(Body, MoveIntegratesVelocityFirstAndClearsAcceleration) {
    Body b;
    b.acceleration.set(2, 0, 0);
    b.move(0.5f);
    EXPECT_FLOAT_EQ(b.velocity.x, 1.0f);
    EXPECT_FLOAT_EQ(b.position.x, 0.5f) << "position moves with the new velocity";
    EXPECT_EQ(b.acceleration.x, 0.0f);
    b.move(0.5f);
    EXPECT_FLOAT_EQ(b.position.x, 1.0f);
}

TEST(Body, SpinWrapsXAndYButNotZ) {
    Body b;
    b.wrapAngles = 1;
    b.rotation.set(0, 370, 400);
    b.spin(0);
    EXPECT_FLOAT_EQ(b.rotation.y, 10);
    EXPECT_FLOAT_EQ(b.rotation.z, 400);
    b.rotation.set(-30, -30, 0);
    b.spin(0);
    EXPECT_FLOAT_EQ(b.rotation.x, 330);
    EXPECT_FLOAT_EQ(b.rotation.y, 330);
    b.angularVelocity.set(0, 100, 0);
    b.rotation.set(0, 300, 0);
    b.spin(1);
    EXPECT_FLOAT_EQ(b.rotation.y, 40);
    b.wrapAngles = 0;
    b.spin(1);
    b.spin(4);
    EXPECT_FLOAT_EQ(b.rotation.y, 540) << "without wrapping the angle grows freely";
}

TEST(Body, ShakeDecaysThenStopsWithNewFrequencies) {
    Body b;
    b.updateShake(0.2f);
    EXPECT_EQ(b.shake, 0.0f);
    EXPECT_FLOAT_EQ(b.shakeFrequency[0], 40) << "no shake, nothing drawn";
    b.shake = 1;
    b.updateShake(0.1f);
    EXPECT_FLOAT_EQ(b.shake, 0.7f);
    EXPECT_NEAR(b.shakeOffset.x, std::sin(0.1f * 40) * 0.7f, 1e-6);
    const float lastOffset = b.shakeOffset.y;
    seedRandom(9);
    b.shake = 0.011f;
    b.updateShake(0.2f);
    EXPECT_EQ(b.shake, 0.0f);
    EXPECT_FLOAT_EQ(b.shakeOffset.y, lastOffset);
    for (float f : b.shakeFrequency) {
        EXPECT_GE(f, 25.0f);
        EXPECT_LT(f, 75.0f);
    }
}

TEST(Body, ResetKeepsParametersAndFollowPathModes) {
    Body b;
    b.pathAmplitude.set(1, 2, 3);
    b.pathSpeed = 2;
    b.shakeFrequency[1] = 33;
    b.position.set(5, 5, 5);
    b.motionMode = 2;
    b.reset();
    EXPECT_EQ(b.position.x, 0.0f);
    EXPECT_EQ(b.motionMode, 0);
    EXPECT_FLOAT_EQ(b.pathAmplitude.z, 3);
    EXPECT_FLOAT_EQ(b.pathSpeed, 2);
    EXPECT_FLOAT_EQ(b.shakeFrequency[1], 33);
    b.followPath(10, 10);
    EXPECT_EQ(b.position.x, 0.0f) << "mode 0 does nothing";
    // Mode 1 places the body on its path and turns it to its target.
    b.motionMode = 1;
    b.pathSpeed = 1;
    b.pathAmplitude.set(10, 10, 10);
    b.followPath(0, 0);
    EXPECT_FLOAT_EQ(b.position.x, 0);
    EXPECT_FLOAT_EQ(b.position.y, 10);
    EXPECT_FLOAT_EQ(b.position.z, 10);
    EXPECT_NEAR(b.rotation.y, 0.0f, 1e-3f) << "the target at the origin lies along -z";
    EXPECT_NEAR(b.rotation.x, -45.0f, 1e-3f);
    b.motionMode = 2;
    b.followPath(0, 0);
    EXPECT_FLOAT_EQ(b.rotation.y, 0);
    EXPECT_FLOAT_EQ(b.position.z, 10);
}

using BodyGl = RecordingGlTest;

TEST_F(BodyGl, ApplyTransformSkipsZeroRotations) {
    Body b;
    b.position.set(1, 2, 3);
    b.rotation.set(0, 45, 0);
    b.applyTransform();
    EXPECT_EQ(recgl::names(), (std::vector<std::string>{"glTranslatef", "glRotatef"}));
    EXPECT_EQ(recgl::calls()[1].args, (std::vector<double>{45, 0, 1, 0}));
}
