#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "offscreen/egl_context.h"

// A headless context per test: the scene's globals live on, but each render test sets the scene
// up again, as a new saver window does.
class EglTest : public ::testing::Test {
protected:
    void SetUp() override;
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
