#include <gtest/gtest.h>

#include <cmath>

#include "app/frame_clock.h"
#include "app/scene.h"
#include "base/random.h"
#include "recording_gl.h"

using namespace smokedrift;

namespace {

std::int64_t now = 0;
std::int64_t simulated() { return now; }

bool finite(double v) { return std::isfinite(v); }

void expectOscillatorSane(const Oscillator& o, const char* what) {
    ASSERT_TRUE(finite(o.phase) && finite(o.level) && finite(o.levelVelocity)) << what;
    ASSERT_GE(o.level, 0.0) << what;
    const double v = o.value();
    ASSERT_TRUE(finite(v)) << what;
    const double lo = std::min(o.offset, o.offset + o.scale), hi = std::max(o.offset, o.offset + o.scale);
    ASSERT_GE(v, lo - 1e-9) << what;
    ASSERT_LE(v, hi + 1e-9) << what;
}

void expectSceneSane() {
    for (const Oscillator* o :
         {&scene.driftX, &scene.driftY, &scene.driftZ, &scene.turnX, &scene.turnY, &scene.turnZ, &scene.bandOscillator})
        expectOscillatorSane(*o, "scene oscillator");
    for (int i = 0; i < scene.settings.spriteCount; ++i) {
        const Sprite& s = scene.sprites[i];
        for (const Oscillator* o :
             {&s.oscX, &s.oscY, &s.oscAlpha, &s.oscScaleX, &s.oscScaleY, &s.oscRed, &s.oscGreen, &s.oscBlue})
            expectOscillatorSane(*o, "sprite oscillator");
        for (float v : {s.x, s.y, s.scaleX, s.scaleY, s.red, s.green, s.blue, s.alpha, s.angle})
            ASSERT_TRUE(std::isfinite(v));
        ASSERT_GE(s.angle, 0.0f);
        ASSERT_LT(s.angle, 360.0f);
    }
    ASSERT_GE(scene.screenLayout.bandFraction, 0.0f);
    ASSERT_LE(scene.screenLayout.bandFraction, 0.2f + 1e-6f);
    for (int i = 0; i < scene.screenLayout.viewportCount; ++i) {
        const Viewport& v = scene.screenLayout.viewports[i];
        ASSERT_TRUE(std::isfinite(v.pixelBottom) && std::isfinite(v.pixelHeight));
        ASSERT_GT(v.pixelHeight, 0.0f);
    }
    ASSERT_TRUE(finite(scene.frameClock.currentTime) && finite(scene.frameClock.timeStep));
}

}  // namespace

TEST(LongRun, SevenDaysThenSixtyHertzKeepsEverythingFiniteAndTurning) {
    setMillisecondSource(&simulated);
    seedRandom(1);
    scene.initScene(640, 480);
    recgl::reset();

    // Seven days in steps of ten minutes: large steps are what a stalled machine produces.
    const std::int64_t week = 7LL * 24 * 3600 * 1000;
    double lastTime = scene.frameClock.currentTime;
    while (now < week) {
        now += 10 * 60 * 1000;
        scene.renderFrame();
        recgl::reset();
        ASSERT_GE(scene.frameClock.currentTime, lastTime) << "the clock went backwards";
        lastTime = scene.frameClock.currentTime;
        expectSceneSane();
    }

    // Then ordinary frames: every sprite still turns by spin × 0.02 × dt degrees a frame.
    for (int frame = 0; frame < 6000; ++frame) {
        float before[MAX_SPRITES];
        for (int i = 0; i < scene.settings.spriteCount; ++i) before[i] = scene.sprites[i].angle;
        now += 1000 / 60;
        scene.renderFrame();
        recgl::reset();
        ASSERT_GE(scene.frameClock.timeStep, 0.0);
        const double dt = scene.frameClock.timeStep;
        for (int i = 0; i < scene.settings.spriteCount; ++i) {
            double turned = scene.sprites[i].angle - before[i];
            if (turned > 180) turned -= 360;
            if (turned < -180) turned += 360;
            ASSERT_NEAR(turned, scene.sprites[i].spin * 0.02 * dt, 1e-3) << "sprite " << i << " frame " << frame;
            ASSERT_NE(turned, 0.0) << "sprite " << i << " stopped turning";
        }
        if (frame % 100 == 0) expectSceneSane();
    }
    setMillisecondSource(nullptr);
}
