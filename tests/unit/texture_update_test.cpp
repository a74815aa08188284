#include <GL/gl.h>

#include <cmath>
#include <limits>

#include "base/random.h"
#include "gl_test.h"
#include "textures/texture.h"
#include "textures/texture_registry.h"

using namespace smokedrift;

namespace {

struct NoiseUpdate : RecordingGlTest {
    void SetUp() override {
        RecordingGlTest::SetUp();
        resetTextureState();
        seedRandom(21);
    }
    // Generates a w × h texture, then runs the update and returns the bytes it sent.
    std::vector<unsigned char> update(int w, int h, int flags, int amount, int radius, int format = GL_RGBA) {
        texture.generate(BLACK, w, h, format, 0);
        recgl::reset();
        texture.updateNoise(flags, amount, radius);
        return recgl::lastUpload();
    }
    int value(const std::vector<unsigned char>& px, int w, int x, int y) { return px[(y * w + x) * 4]; }
    Texture texture;
};

}  // namespace

TEST_F(NoiseUpdate, NoFlagsGiveAllWhiteSentIntoTheExistingTexture) {
    const auto px = update(16, 8, 0, 50, 4);
    ASSERT_EQ(px.size(), 16u * 8 * 4);
    for (unsigned char b : px) ASSERT_EQ(b, 255);
    EXPECT_EQ(recgl::count("glTexImage2D"), 0u);
    const auto sub = recgl::callsNamed("glTexSubImage2D");
    ASSERT_EQ(sub.size(), 1u);
    EXPECT_EQ(sub[0].args, (std::vector<double>{GL_TEXTURE_2D, 0, 0, 0, 16, 8, GL_RGBA, GL_UNSIGNED_BYTE}));
}

TEST_F(NoiseUpdate, OddColumnsAndRowsAreDarkenedByTheAmount) {
    const auto cols = update(8, 4, DARKEN_ODD_COLUMNS, 100, 1);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) ASSERT_EQ(value(cols, 8, x, y), x % 2 ? 155 : 255) << x;
    const auto both = update(8, 4, DARKEN_ODD_COLUMNS | DARKEN_ODD_ROWS, 100, 1);
    EXPECT_EQ(value(both, 8, 0, 0), 255);
    EXPECT_EQ(value(both, 8, 0, 1), 155);
    EXPECT_EQ(value(both, 8, 1, 1), 55);
    const auto la = update(8, 4, DARKEN_ODD_ROWS, 100, 1, GL_LUMINANCE_ALPHA);
    ASSERT_EQ(la.size(), 8u * 4 * 2);
    EXPECT_EQ(la[0], 255);
    EXPECT_EQ(la[8 * 2], 155);
    EXPECT_EQ(la[8 * 2 + 1], 155);
}

TEST_F(NoiseUpdate, RadialFadeIsFullAtTheCentreAndZeroFromTheRadiusOn) {
    // The centre is (c, c) with c from the width, also on a texture that is not square.
    const auto px = update(32, 48, RADIAL_FADE, 0, 10);
    EXPECT_EQ(value(px, 32, 16, 16), 255);
    EXPECT_EQ(value(px, 32, 16 + 5, 16), static_cast<int>(255 * 0.75f));
    EXPECT_EQ(value(px, 32, 16, 16 + 10), 0);
    EXPECT_EQ(value(px, 32, 16, 24), 91) << "8 pixels from the fade centre; the height's centre would be 255";
    EXPECT_EQ(value(px, 32, 0, 0), 0);
    // A radius of 0 or less behaves as 1: only the centre survives.
    for (int radius : {0, -5}) {
        const auto tiny = update(8, 8, RADIAL_FADE, 0, radius);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) ASSERT_EQ(value(tiny, 8, x, y), (x == 4 && y == 4) ? 255 : 0);
    }
}

TEST_F(NoiseUpdate, NoiseTermsAreClampedToTheByteRange) {
    const auto px = update(64, 64, NOISE_COLUMNS | NOISE_ROWS | NOISE_PIXELS, 2000, 1);
    int zeros = 0, fulls = 0, between = 0;
    for (std::size_t i = 0; i < px.size(); i += 4) {
        ASSERT_EQ(px[i], px[i + 3]);
        if (px[i] == 0)
            ++zeros;
        else if (px[i] == 255)
            ++fulls;
        else
            ++between;
    }
    EXPECT_GT(zeros, 0);
    EXPECT_GT(fulls, 0);
    EXPECT_GT(between, 0);
    // Column offsets alone give vertical streaks: every row repeats the first.
    const auto cols = update(32, 8, NOISE_COLUMNS, 60, 1);
    for (int y = 1; y < 8; ++y)
        for (int x = 0; x < 32; ++x) ASSERT_EQ(value(cols, 32, x, y), value(cols, 32, x, 0));
}

TEST_F(NoiseUpdate, ZeroAmountDrawsInOrderButChangesNothing) {
    seedRandom(3);
    const auto px = update(16, 4, NOISE_COLUMNS | NOISE_ROWS | NOISE_PIXELS, 0, 1);
    for (unsigned char b : px) ASSERT_EQ(b, 255);
    const int after = nextRandom();
    seedRandom(3);
    for (int i = 0; i < 16 + 4 + 16 * 4; ++i) nextRandom();  // columns, then per row: row + pixels
    EXPECT_EQ(after, nextRandom());
}

TEST_F(NoiseUpdate, AnImageWithoutColumnsDrawsNoRowOffsets) {
    // 0 × 65536 is a size the generator accepts; its rows hold no pixel to offset.
    seedRandom(3);
    const auto px = update(0, 65536, NOISE_ROWS, 10, 1);
    EXPECT_TRUE(px.empty());
    const int after = nextRandom();
    seedRandom(3);
    EXPECT_EQ(after, nextRandom());
}

TEST_F(NoiseUpdate, ClampToRangeLimitsAndTurnsNotANumberIntoTheLowBound) {
    EXPECT_EQ(clampToRange(-3, 0, 255), 0);
    EXPECT_EQ(clampToRange(300, 0, 255), 255);
    EXPECT_EQ(clampToRange(17.5f, 0, 255), 17.5f);
    EXPECT_EQ(clampToRange(std::numeric_limits<float>::quiet_NaN(), 0, 255), 0);
    EXPECT_EQ(clampToRange(std::numeric_limits<float>::infinity(), 0, 255), 255);
}

TEST_F(NoiseUpdate, SizesBeyondTheScratchMemoryAreLeftAlone) {
    // A refused generation leaves its size in the fields; the update must not write past its
    // 256 column offsets or its 65,536-pixel buffer.
    for (auto [w, h] : {std::pair{300, 100}, {512, 16}, {256, 300}, {-4, 8}}) {
        EXPECT_EQ(texture.generate(BLACK, w, h, GL_RGBA, 0), w > 0 && w * h <= MAX_PIXELS ? 0 : 1);
        recgl::reset();
        texture.updateNoise(NOISE_COLUMNS | NOISE_PIXELS, 10, 1);
        EXPECT_TRUE(recgl::calls().empty()) << w << "x" << h;
    }
}
