// The saver's feedback cycle on the real driver, on simulated time: capture after capture of
// flying tiles, resident memory stays where the first capture found it. Each tile is a draw of
// its own; llvmpipe once kept a 64 KiB vertex buffer per immediate-mode tile until it recycled
// the frame's scene, over 200 MB for a grid of 60 × 60.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "app/feedback_cycle.h"
#include "app/frame_clock.h"
#include "app/scene_start.h"
#include "app/scene_switches.h"
#include "base/gl.h"
#include "offscreen/egl_context.h"

using namespace smokedrift;

namespace {

std::int64_t now = 0;
std::int64_t simulated() { return now; }

long residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = -1;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            break;
        }
        status.ignore(1 << 12, '\n');
    }
    return value;
}

}  // namespace

TEST(FeedbackMemory, CapturesOfFlyingTilesLeaveResidentMemoryFlat) {
    EglContext context;
    std::string error;
    ASSERT_TRUE(context.create(320, 240, error)) << error;
    setMillisecondSource(&simulated);
    SceneOptions options;
    options.switches = switchBit(SWITCH_FEEDBACK);
    startScene(scene, {320, 240, 5, options});

    // Half-second steps: a capture every 60 frames, its tiles shown for 12 of them.
    constexpr std::size_t CAPTURES = 8;
    std::vector<long> atCapture;
    while (atCapture.size() < CAPTURES) {
        now += 500;
        cycleFeedback(scene);
        if (scene.screenLayout.effectMode == 1) atCapture.push_back(residentKiB());
        scene.renderFrame();
        glFinish();  // what a buffer swap does: the frame is drawn before the next begins
    }
    scene.release();
    setMillisecondSource(nullptr);

    // The first capture comes before any tiles were drawn. The lowest of the last three readings
    // discounts a passing peak; a buffer kept per tile lifts all three by far more than the
    // tolerance.
    const long late = *std::min_element(atCapture.end() - 3, atCapture.end());
    std::string readings;
    for (long kib : atCapture) readings += " " + std::to_string(kib / 1024);
    std::printf("resident MB at each capture:%s\n", readings.c_str());
    EXPECT_LE(late - atCapture.front(), 16 * 1024) << "resident MB at each capture:" << readings;
}
