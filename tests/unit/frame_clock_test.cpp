#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/frame_clock.h"

using namespace smokedrift;

namespace {
std::int64_t fakeNow = 0;
std::int64_t fakeSource() { return fakeNow; }

struct ClockTest : ::testing::Test {
    void SetUp() override { setMillisecondSource(&fakeSource); }
    void TearDown() override { setMillisecondSource(nullptr); }
};
}  // namespace

TEST_F(ClockTest, ReadingsBecomeSecondsAndSteps) {
    FrameClock clock;
    fakeNow = 1500;
    clock.update();
    EXPECT_DOUBLE_EQ(clock.elapsedMilliseconds, 1500);
    EXPECT_DOUBLE_EQ(clock.currentTime, 1.5);
    EXPECT_DOUBLE_EQ(clock.previousTime, 0);
    fakeNow = 1516;
    clock.update();
    EXPECT_DOUBLE_EQ(clock.previousTime, 1.5);
    EXPECT_NEAR(clock.timeStep, 0.016, 1e-12);
    clock.update();  // same millisecond
    EXPECT_EQ(clock.timeStep, 0.0);
}

// The real source: readings a few milliseconds apart become a step of that many thousandths,
// not microseconds or whole seconds (a unit slip in the clock would show here).
TEST(FrameClockReal, SteadySourceStepsInSeconds) {
    setMillisecondSource(nullptr);
    FrameClock clock;
    clock.update();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    clock.update();
    EXPECT_GE(clock.timeStep, 0.029);
    EXPECT_LT(clock.timeStep, 30.0);
}
