#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "offscreen/egl_context.h"
#include "offscreen/render_options.h"

// A headless context per test. A render starts the saver's scene afresh, as a new saver window
// does; the test's end releases what the scene made while the context still lives.
class EglTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void makeContext(int width, int height);

    smokedrift::EglContext context;
};

struct Rgba {
    std::uint8_t r, g, b, a;
};

// Reads the pixel at window coordinates (x, y), origin at the lower left.
Rgba readPixel(int x, int y);
// The whole colour buffer, RGBA rows bottom up.
std::vector<std::uint8_t> readAll(int width, int height);

// What `--render --size WxH --frames N --seed S` with the given switches asks for.
smokedrift::RenderOptions renderOptions(int width, int height, int frames, std::uint32_t seed = 7,
                                        unsigned switches = 0);
