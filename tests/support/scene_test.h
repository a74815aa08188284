#pragma once
// Fixture for tests that run the global scene: a simulated millisecond clock starting at 1000 ms,
// fresh frame counter, bind cache and registry, and the generator seeded with 4. Derived fixtures
// call initScene with the size they want.
#include "animation/random.h"
#include "app/frame_clock.h"
#include "app/frame_loop.h"
#include "app/scene_config.h"
#include "app/scene_objects.h"
#include "app/scene_settings.h"
#include "gl_test.h"
#include "textures/texture_registry.h"

class SceneTest : public RecordingGlTest {
protected:
    static inline std::int64_t now = 0;
    static std::int64_t simulatedNow() { return now; }

    void SetUp() override {
        RecordingGlTest::SetUp();
        smokedrift::setMillisecondSource(&simulatedNow);
        now = 1000;
        smokedrift::frameCounter = 0;
        smokedrift::boundTextureName = 0xffffffffu;
        smokedrift::textureRegistry.count = 0;
        smokedrift::seedRandom(4);
    }
    void TearDown() override { smokedrift::setMillisecondSource(nullptr); }
};
