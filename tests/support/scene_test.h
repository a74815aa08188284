#pragma once
// Fixture for tests that run the saver's scene: a fresh scene (as a new process has it), a
// simulated millisecond clock starting at 1000 ms, and the generator seeded with 4. Derived
// fixtures call initScene with the size they want.
#include "app/frame_clock.h"
#include "app/scene.h"
#include "base/random.h"
#include "gl_test.h"

class SceneTest : public RecordingGlTest {
protected:
    static inline std::int64_t now = 0;
    static std::int64_t simulatedNow() { return now; }

    void SetUp() override {
        RecordingGlTest::SetUp();
        smokedrift::renewScene(smokedrift::scene);
        smokedrift::setMillisecondSource(&simulatedNow);
        now = 1000;
        smokedrift::seedRandom(4);
    }
    void TearDown() override {
        smokedrift::setMillisecondSource(nullptr);
        // Names the test made are only recorded numbers: the scene must not delete them at exit,
        // when the recording GL is gone.
        smokedrift::renewScene(smokedrift::scene);
    }
};
