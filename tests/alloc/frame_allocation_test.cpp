#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "app/frame_clock.h"
#include "app/scene_start.h"
#include "app/scene_switches.h"
#include "base/random.h"
#include "recording_gl.h"

namespace {
std::atomic<long> allocations{0};
}

// Every allocation in this binary goes through here.
void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

using namespace smokedrift;

namespace {
std::int64_t now = 0;
std::int64_t simulated() { return now; }
}  // namespace

TEST(FrameAllocation, FramesAllocateNothingAfterSetUp) {
    setMillisecondSource(&simulated);
    startScene(scene, {640, 480, 3, {}});
    scene.settings.backgroundEnabled = 1;  // every pass the scene can run without its 3D objects
    recgl::setRecording(false);
    const long before = allocations.load();
    for (int i = 0; i < 2000; ++i) {
        now += 16;
        scene.renderFrame();
    }
    const long during = allocations.load() - before;
    recgl::setRecording(true);
    setMillisecondSource(nullptr);
    EXPECT_EQ(during, 0) << "heap allocations in 2000 frames";
}

TEST(FrameAllocation, TheCounterSeesAllocations) {
    // Guards the test above against a counter that never counts.
    const long before = allocations.load();
    int* volatile p = new int(3);  // volatile: the pair may not be elided
    delete p;
    EXPECT_EQ(allocations.load() - before, 1);
}

namespace {

// Allocations in 1000 frames of the scene started with `options`, capturing every 200 frames and
// letting the tiles fly in between.
long allocationsInFramesWithCaptures(const SceneOptions& options) {
    setMillisecondSource(&simulated);
    startScene(scene, {640, 480, 5, options});  // builds the star list and places the particles
    scene.renderFrame();                        // a frame drawn smaller allocates its texture here
    recgl::setRecording(false);
    const long before = allocations.load();
    for (int i = 0; i < 1000; ++i) {
        now += 16;
        scene.screenLayout.effectMode = (i % 200 == 10) ? 1 : (i % 200 > 10 ? 2 : 0);
        scene.renderFrame();
    }
    const long during = allocations.load() - before;
    recgl::setRecording(true);
    setMillisecondSource(nullptr);
    return during;
}

}  // namespace

TEST(FrameAllocation, EveryPassAndTheFeedbackEffectAllocateNothingEither) {
    SceneOptions every;
    every.switches = switchBit(SWITCH_3D) | switchBit(SWITCH_STARS) | switchBit(SWITCH_PARTICLES) |
                     switchBit(SWITCH_FOG) | switchBit(SWITCH_BACKGROUND);
    EXPECT_EQ(allocationsInFramesWithCaptures(every), 0) << "heap allocations in 1000 frames with every pass on";
}

TEST(FrameAllocation, FramesDrawnSmallerAllocateNothingEither) {
    SceneOptions options;
    options.switches = switchBit(SWITCH_BACKGROUND);
    options.renderScale = 3;
    EXPECT_EQ(allocationsInFramesWithCaptures(options), 0) << "heap allocations in 1000 frames drawn at a third";
    EXPECT_EQ(scene.renderScale.divisor(), 3);
}
