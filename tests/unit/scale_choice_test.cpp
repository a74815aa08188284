// The saver's own choice of render scale on a software renderer, from measured frame costs.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "saver/scale_choice.h"

using namespace smokedrift;

namespace {

constexpr unsigned ALL = scaleBit(1) | scaleBit(2) | scaleBit(3) | scaleBit(4);
constexpr double BUDGET = 13333;  // microseconds: 40 % of 1/30 s

struct Step {
    const char* what;
    int current;
    double cost;
    unsigned allowed;
    bool mayGoFiner;
    int next;
};

const Step STEPS[] = {
    {"within the budget, finer would not fit: stays", 3, 9000, ALL, true, 3},
    {"cheap enough that 4/3 squared times the cost fits 80 %: one step finer", 4, 5000, ALL, true, 3},
    {"finer by one step only, however cheap", 4, 100, ALL, true, 3},
    {"grown to 2 it would be 82 % of the budget: stays (hysteresis)", 3, 4850, ALL, true, 3},
    {"exactly at the budget: stays", 3, BUDGET, ALL, true, 3},
    {"over the budget: the smallest coarser divisor that would fit", 2, 20000, ALL, true, 3},
    {"far over: skips to 4", 2, 50000, ALL, true, 4},
    {"over at 4, nothing coarser: stays at the bound", 4, 90000, ALL, true, 4},
    {"finer at 1 is impossible: stays at the bound", 1, 10, ALL, true, 1},
    {"held after a step coarser: no finer step", 4, 100, ALL, false, 4},
    {"held, but over the budget still goes coarser", 3, 30000, ALL, false, 4},
    {"2 and 3 do not fit the textures: finer from 4 is 1, at 16 times the cost", 4, 600, scaleBit(4), true, 1},
    {"2 and 3 do not fit: finer from 4 would cost 16 times as much", 4, 700, scaleBit(4), true, 4},
    {"over at 1 where only 4 fits: 4", 1, 20000, scaleBit(4), true, 4},
};

TEST(ScaleChoice, NextScaleKeepsTheBudgetWithHysteresisWithinTheBounds) {
    for (const Step& s : STEPS) {
        EXPECT_EQ(nextScale(s.current, s.cost, BUDGET, s.allowed, s.mayGoFiner), s.next) << s.what;
    }
}

// No cost makes a step finer that the same cost, measured again after that step, would undo:
// the finer frame costs at most the grown estimate, which is below the budget.
TEST(ScaleChoice, AStepIsNotUndoneByTheCostItPredicted) {
    for (int k = 2; k <= 4; ++k) {
        for (int step = 0; step < 130; ++step) {
            const double cost = 100 * std::pow(1.05, step);  // 0.1 ms to 54 ms
            const int finer = nextScale(k, cost, BUDGET, ALL, true);
            if (finer >= k) continue;
            const double grown = cost * k * k / (finer * finer);
            EXPECT_LE(nextScale(finer, grown, BUDGET, ALL, true), finer) << k << " at " << cost;
        }
    }
}

TEST(ScaleChoice, FirstScaleDrawsFewPixels) {
    struct Case {
        int width, height;
        unsigned allowed;
        int first;
    };
    const Case cases[] = {
        {320, 240, ALL, 1},   {640, 480, ALL, 2},   {1280, 720, ALL, 3},
        {1920, 1080, ALL, 4}, {3840, 2160, ALL, 4}, {1920, 1080, scaleBit(1) | scaleBit(2), 2},
        {0, 0, ALL, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(firstScale(c.width, c.height, c.allowed), c.first) << c.width << "x" << c.height;
    }
}

TEST(ScaleChoice, SoftwareRenderersAreRecognised) {
    struct Case {
        const char* renderer;
        const char* vendor;
        bool software;
    };
    const Case cases[] = {
        {"llvmpipe (LLVM 15.0.6, 256 bits)", "Mesa/X.org", true},
        {"softpipe", "Mesa/X.org", true},
        {"Mesa X11 Software Rasterizer", "Brian Paul", true},
        {"GDI Generic", "Microsoft Corporation", true},
        {"Google SwiftShader", "Google Inc.", true},
        {"ANGLE (Google, Vulkan 1.3.0 (SwiftShader Device (Subzero)), SwiftShader driver)", "Google Inc.", true},
        {"D3D12 (Microsoft Basic Render Driver)", "Microsoft Corporation", true},
        {"zink (llvmpipe (LLVM 15.0.6, 256 bits))", "Collabora Ltd", true},
        {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", "Intel", false},
        {"NVIDIA GeForce RTX 3060/PCIe/SSE2", "NVIDIA Corporation", false},
        {"AMD Radeon RX 6600 (navi23, LLVM 15.0.6, DRM 3.49, 6.1.0-18-amd64)", "AMD", false},
        {"virgl (Intel UHD Graphics)", "Red Hat", false},
        {nullptr, nullptr, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(softwareRenderer(c.renderer, c.vendor), c.software) << (c.renderer ? c.renderer : "(null)");
    }
}

// The chooser measures windows of frames after letting the first frames of a divisor pass, settles
// within the first second at 30 frames a second, then only looks again after RECHECK, and holds
// off finer divisors for a while after a step coarser.
TEST(ScaleChoice, ChooserSettlesInTheFirstSecondAndRechecksRarely) {
    ScaleChooser chooser;
    chooser.start(1920, 1080, ALL, BUDGET);
    ASSERT_EQ(chooser.scale(), 4);
    // Fill-bound frames: 40 ms for a full-size frame, plus 3 ms that does not shrink.
    auto cost = [](int k) { return static_cast<std::int64_t>(3000 + 40000.0 / (k * k)); };
    constexpr std::int64_t FRAME = 33333;
    constexpr std::int64_t SECOND = 1000000;
    std::int64_t now = 0;
    int reports = 0;
    auto run = [&](std::int64_t until, auto frameCost) {
        for (; now < until; now += FRAME) reports += chooser.frameDrawn(now, frameCost()) ? 1 : 0;
    };
    run(SECOND, [&] { return cost(chooser.scale()); });
    EXPECT_TRUE(chooser.chosen());
    EXPECT_EQ(chooser.scale(), 3) << "5.5 ms at 4 may grow to 9.8 ms at 3: finer; 7.4 ms at 3 to 16.7 ms at 2: not";
    EXPECT_EQ(reports, 1) << "one report, once chosen";
    // The machine gets busy: frames at 3 take 18 ms. Seen at the next re-check, not before.
    run(19 * SECOND, [] { return 18000; });
    EXPECT_EQ(chooser.scale(), 3);
    run(22 * SECOND, [] { return 18000; });
    EXPECT_EQ(chooser.scale(), 4);
    EXPECT_EQ(reports, 2);
    // The load goes: cheap frames at 4 do not bring 3 back while the hold lasts, then they do.
    run(100 * SECOND, [&] { return cost(chooser.scale()); });
    EXPECT_EQ(chooser.scale(), 4);
    run(22 * SECOND + ScaleChooser::HOLD_MICROSECONDS + 2 * ScaleChooser::RECHECK_MICROSECONDS,
        [&] { return cost(chooser.scale()); });
    EXPECT_EQ(chooser.scale(), 3);
    EXPECT_EQ(reports, 3);
}

// One slow frame in a window (a capture, a page fault) does not move the median.
TEST(ScaleChoice, AnOutlierFrameDoesNotChooseForTheRest) {
    ScaleChooser chooser;
    chooser.start(1920, 1080, ALL, BUDGET);
    std::int64_t now = 0;
    for (int i = 0; i < ScaleChooser::SETTLE_FRAMES + ScaleChooser::WINDOW_FRAMES; ++i, now += 33333) {
        chooser.frameDrawn(now, i == ScaleChooser::SETTLE_FRAMES + 2 ? 400000 : 9000);
    }
    EXPECT_TRUE(chooser.chosen());
    EXPECT_EQ(chooser.scale(), 4);
}

}  // namespace
