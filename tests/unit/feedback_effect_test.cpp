#include <GL/gl.h>

#include <array>
#include <cmath>
#include <functional>
#include <memory>

#include "base/random.h"
#include "gl_test.h"
#include "textures/texture_registry.h"
#include "view/feedback_effect.h"

using namespace smokedrift;

namespace {

// The first seed whose draws satisfy `wanted`; the test then re-seeds with it, so the effect
// sees exactly those random values.
std::uint32_t findSeed(const std::function<bool()>& wanted) {
    for (std::uint32_t seed = 1; seed < 2000000; ++seed) {
        seedRandom(seed);
        if (wanted()) return seed;
    }
    ADD_FAILURE() << "no seed found";
    return 0;
}

// Draws made since `seed` was set, found by matching the outputs that follow.
int drawsSinceSeed(std::uint32_t seed) {
    const int next[3] = {nextRandom(), nextRandom(), nextRandom()};
    seedRandom(seed);
    std::vector<int> sequence(40000);
    for (int& v : sequence) v = nextRandom();
    for (std::size_t n = 0; n + 3 <= sequence.size(); ++n)
        if (sequence[n] == next[0] && sequence[n + 1] == next[1] && sequence[n + 2] == next[2]) return int(n);
    return -1;
}

struct Feedback : RecordingGlTest {
    void SetUp() override {
        RecordingGlTest::SetUp();
        resetTextureState();
        layout.setSize(1024, 768);
        fx = std::make_unique<FeedbackEffect>();
        fx->layout = &layout;
    }
    // Four tiles with known motion state, as a capture would leave them but without randomness.
    void setUpTiles(int pattern) {
        fx->tilesX = fx->tilesY = 2;
        fx->halfTileWidth = fx->halfTileHeight = 0.25f;
        fx->motionSpeed = 2;
        fx->pattern = pattern;
        for (int i = 0; i < 2; ++i)
            for (int j = 0; j < 2; ++j) {
                fx->tileX[i][j] = fx->tileY[i][j] = fx->tileZ[i][j] = 0;
                fx->tileVelX[i][j] = 0.1f;
                fx->tileVelY[i][j] = 0.2f;
                fx->tileVelZ[i][j] = 0.3f;
                fx->tileAngleX[i][j] = fx->tileAngleY[i][j] = fx->tileAngleZ[i][j] = 0;
                fx->tileSpinX[i][j] = 10;
                fx->tileSpinY[i][j] = 20;
                fx->tileSpinZ[i][j] = 30;
            }
    }
    ScreenLayout layout;
    std::unique_ptr<FeedbackEffect> fx;
};

}  // namespace

TEST_F(Feedback, FittingTheLayoutUsesTheTextureSizeAndKeepsTheWindow) {
    fx->fitLayoutToTexture();
    EXPECT_EQ(layout.width, 128);
    EXPECT_EQ(layout.height, 128);
    EXPECT_EQ(layout.windowWidth, 1024);
    EXPECT_EQ(layout.right, 1024);
}

TEST_F(Feedback, CaptureCopiesTheLowerLeftBlockAndPaintsItBlack) {
    fx->tileScale = 0.3f;
    seedRandom(8);
    fx->capture();
    const auto tail = callsFrom("glCopyTexImage2D");
    ASSERT_EQ(tail.size(), 6u);
    EXPECT_EQ(tail[0].args, (std::vector<double>{GL_TEXTURE_2D, 0, GL_RGBA, 0, 0, 128, 128, 0}));
    // A copy makes level 0 only: the texture must not ask for mipmaps or it draws untextured.
    EXPECT_EQ(tail[3].name, "glTexParameteri");
    EXPECT_EQ(tail[3].args, (std::vector<double>{GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR}));
    EXPECT_EQ(tail[4].name, "glColor3f");
    EXPECT_EQ(tail[4].args, (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(tail[5].name, "glRecti");
    EXPECT_EQ(tail[5].args, (std::vector<double>{0, 0, 128, 128}));
    EXPECT_EQ(recgl::count("glBindTexture"), 1u);
    EXPECT_EQ(fx->tileScale, 1);
    EXPECT_GE(fx->motionSpeed, 0.5f);
    EXPECT_LT(fx->motionSpeed, 1.5f);
}

TEST_F(Feedback, ASmallWindowIsNeverReadOutsideItsEdges) {
    // A 152 × 112 preview is lower than the 128 × 128 texture.
    layout.setSize(152, 112);
    fx->capture();
    EXPECT_EQ(recgl::count("glCopyTexImage2D"), 0u);
    const auto image = recgl::callsNamed("glTexImage2D");
    ASSERT_EQ(image.size(), 1u);
    EXPECT_EQ(image[0].args, (std::vector<double>{GL_TEXTURE_2D, 0, GL_RGBA, 128, 128, 0, GL_RGBA, GL_UNSIGNED_BYTE}));
    for (unsigned char b : recgl::lastUpload()) ASSERT_EQ(b, 0) << "the part outside the window is black";
    const auto copy = recgl::callsNamed("glCopyTexSubImage2D");
    ASSERT_EQ(copy.size(), 1u);
    EXPECT_EQ(copy[0].args, (std::vector<double>{GL_TEXTURE_2D, 0, 0, 0, 0, 0, 128, 112}));
    recgl::reset();
    layout.setSize(100, 60);
    fx->capture();
    EXPECT_EQ(recgl::callsNamed("glCopyTexSubImage2D")[0].args,
              (std::vector<double>{GL_TEXTURE_2D, 0, 0, 0, 0, 0, 100, 60}));
}

TEST_F(Feedback, TileCountsFollowTheFirstDraw) {
    const float ratio = 1024.0f / 768.0f;
    seedRandom(findSeed([] { return randomUpTo(1.0) < 0.01; }));
    fx->capture();
    EXPECT_EQ(fx->tilesX, 1);
    EXPECT_EQ(fx->tilesY, 1);
    EXPECT_FLOAT_EQ(fx->tileWidth, ratio);
    EXPECT_FLOAT_EQ(fx->tileX[0][0], 0);
    EXPECT_FLOAT_EQ(fx->tileY[0][0], 0);

    seedRandom(findSeed([] { return std::abs(randomUpTo(1.0) - 0.2) < 0.01; }));
    fx->capture();
    EXPECT_EQ(fx->tilesX, 60);
    EXPECT_EQ(fx->tilesY, 60);
    EXPECT_FLOAT_EQ(fx->tileWidth, ratio / 60);
    EXPECT_FLOAT_EQ(fx->tileHeight, 1.0f / 60);
    // At rest the tiles reassemble the picture, from edge to edge.
    EXPECT_FLOAT_EQ(fx->tileX[0][0], -ratio / 2 + ratio / 120);
    EXPECT_FLOAT_EQ(fx->tileX[59][0], ratio / 2 - ratio / 120);
    EXPECT_NEAR(fx->tileY[0][59], 0.5f - 1.0f / 120, 1e-6);
    for (int i = 0; i < 60; ++i)
        for (int j = 0; j < 60; ++j) {
            ASSERT_LE(std::abs(fx->tileVelX[i][j]), 0.2f);
            ASSERT_LE(std::abs(fx->tileVelZ[i][j]), 0.1f);
            ASSERT_GE(fx->tileSpinY[i][j], -100);
            ASSERT_LT(fx->tileSpinY[i][j], 100);
            ASSERT_EQ(fx->tileAngleZ[i][j], 0);
        }

    seedRandom(findSeed([] { return std::abs(randomUpTo(1.0) - 0.45) < 0.01; }));
    fx->capture();
    EXPECT_EQ(fx->tilesX, fx->tilesY);
    EXPECT_GE(fx->tilesX, 2);
    EXPECT_LE(fx->tilesX, 59);

    seedRandom(findSeed([] {
        if (randomUpTo(1.0) < 0.6) return false;
        randomUpTo(1.0);  // motion speed
        return int(randomUpTo(58) + 2) != int(randomUpTo(58) + 2);
    }));
    fx->capture();
    EXPECT_NE(fx->tilesX, fx->tilesY) << "drawn separately";
    EXPECT_FLOAT_EQ(fx->tileWidth, ratio / fx->tilesX);
    EXPECT_FLOAT_EQ(fx->tileHeight, 1.0f / fx->tilesY);
}

TEST_F(Feedback, ASingleTileWithoutMotionBitsGetsThreeAndThePowerSteps) {
    // r below 0.01, then motion speed, then three bit draws that all truncate to 0.
    const std::uint32_t seed = findSeed([] {
        if (randomUpTo(1.0) >= 0.01) return false;
        randomUpTo(1.0);
        return randomUpTo(2) < 1 && randomUpTo(2) < 0.5 && randomUpTo(2) < 0.25;
    });
    seedRandom(seed);
    for (int i = 0; i < 5; ++i) nextRandom();
    const double e3 = randomUpTo(2), e5 = randomUpTo(2), e7 = randomUpTo(2);
    int expected = static_cast<int>(3 + std::pow(2.0, e3 + 3));
    expected = static_cast<int>(expected + std::pow(2.0, e5 + 5));
    expected = static_cast<int>(expected + std::pow(2.0, e7 + 7));
    seedRandom(seed);
    fx->capture();
    ASSERT_EQ(fx->tilesX, 1);
    EXPECT_EQ(fx->pattern, expected + 3584);
}

TEST_F(Feedback, RequestedTilesAndPatternAreUsedOnceAndDrawNothingForThemselves) {
    fx->nextTiles = 10;
    fx->nextPattern = MOVE_X;
    seedRandom(31);
    fx->capture();
    EXPECT_EQ(fx->tilesX, 10);
    EXPECT_EQ(fx->tilesY, 10);
    EXPECT_EQ(fx->pattern, MOVE_X);
    EXPECT_EQ(fx->nextTiles, 0);
    EXPECT_EQ(fx->nextPattern, 0);
    // r and the motion speed, then nine draws per tile.
    EXPECT_EQ(drawsSinceSeed(31), 2 + 9 * 100);

    const float x = fx->tileX[3][4], y = fx->tileY[3][4], vx = fx->tileVelX[3][4];
    recgl::reset();
    fx->drawTiles(0.1f);
    EXPECT_FLOAT_EQ(fx->tileX[3][4], x + 0.1f * fx->motionSpeed * vx);
    EXPECT_EQ(fx->tileY[3][4], y) << "only drift along x";
    EXPECT_EQ(recgl::count("glDrawArrays"), 100u);

    // Requests outside the tables' 61 × 61 are held inside them.
    fx->nextTiles = 100;
    fx->capture();
    EXPECT_EQ(fx->tilesX, MAX_TILES);
    fx->nextTiles = 0.5f;
    fx->capture();
    EXPECT_EQ(fx->tilesX, 1);
}

namespace {

// The twelve motion quantities of tile [1][1], in the order of the pattern bits they belong to.
std::array<float, 12> motionState(const FeedbackEffect& f) {
    return {f.tileX[1][1],      f.tileY[1][1],     f.tileZ[1][1],      f.tileVelX[1][1],
            f.tileVelY[1][1],   f.tileVelZ[1][1],  f.tileAngleX[1][1], f.tileAngleY[1][1],
            f.tileAngleZ[1][1], f.tileSpinX[1][1], f.tileSpinY[1][1],  f.tileSpinZ[1][1]};
}

}  // namespace

TEST_F(Feedback, EachPatternBitMovesItsOwnQuantity) {
    // With s = dt × motionSpeed = 1: the bit, the quantity it changes, and its new value.
    struct Case {
        int bit;
        int quantity;
        float expected;
    };
    const Case cases[] = {
        {MOVE_X, 0, 0.1f},     {MOVE_Y, 1, 0.2f},     {MOVE_Z, 2, 0.3f},  {PUSH_LEFT, 3, -0.9f},
        {PUSH_RIGHT, 3, 1.1f}, {PUSH_DOWN, 4, -0.8f}, {PUSH_UP, 4, 1.2f}, {PUSH_AWAY, 5, -0.2f},
        {PUSH_NEAR, 5, 0.8f},  {SPIN_X, 6, 10},       {SPIN_Y, 7, 20},    {SPIN_Z, 8, 30},
    };
    for (const Case& c : cases) {
        setUpTiles(c.bit);
        const auto before = motionState(*fx);
        fx->drawTiles(0.5f);
        const auto after = motionState(*fx);
        for (int q = 0; q < 12; ++q) {
            EXPECT_FLOAT_EQ(after[q], q == c.quantity ? c.expected : before[q]) << "bit " << c.bit << " quantity " << q;
        }
    }
    // Position moves before the push: the tile moves with its old velocity this call.
    setUpTiles(MOVE_X | PUSH_RIGHT);
    fx->drawTiles(0.5f);
    EXPECT_FLOAT_EQ(fx->tileX[0][0], 0.1f);
    EXPECT_FLOAT_EQ(fx->tileVelX[0][0], 1.1f);
    fx->drawTiles(0.5f);
    EXPECT_FLOAT_EQ(fx->tileX[0][0], 1.2f);
}

TEST_F(Feedback, TilesAreDrawnInPlaceWithTheirShareOfTheTexture) {
    setUpTiles(0);
    fx->tileX[1][0] = 0.5f;
    fx->tileAngleZ[1][0] = 45;
    recgl::reset();
    fx->drawTiles(0.1f);
    EXPECT_EQ(recgl::count("glDrawArrays"), 4u);
    EXPECT_EQ(recgl::callsNamed("glDrawArrays")[0].args, (std::vector<double>{GL_QUADS, 0, 4}));
    const auto translates = recgl::callsNamed("glTranslatef");
    ASSERT_EQ(translates.size(), 4u);
    EXPECT_EQ(translates[2].args, (std::vector<double>{0.5, 0, 0}));  // column 1, row 0
    EXPECT_EQ(recgl::callsNamed("glRotatef")[8].args, (std::vector<double>{45, 0, 0, 1}));
    const auto coords = recgl::callsNamed("glTexCoord2f");
    EXPECT_EQ(coords[8].args, (std::vector<double>{0.5, 0}));
    EXPECT_EQ(coords[10].args, (std::vector<double>{1, 0.5}));
    EXPECT_EQ(recgl::callsNamed("glVertex2f")[0].args, (std::vector<double>{-0.25, -0.25}));
    EXPECT_EQ(recgl::names().back(), "glDisable");
}

TEST_F(Feedback, ShrinkingTilesReachZeroAndStayThere) {
    setUpTiles(SHRINK);
    for (int i = 0; i < 199; ++i) fx->drawTiles(0.02f);
    EXPECT_GT(fx->tileScale, 0.001f);
    fx->drawTiles(0.02f);
    EXPECT_LT(fx->tileScale, 1e-5f);
    fx->drawTiles(0.02f);
    EXPECT_EQ(fx->tileScale, 0);
    recgl::reset();
    fx->drawTiles(0.02f);
    EXPECT_EQ(fx->tileScale, 0);
    EXPECT_EQ(recgl::callsNamed("glVertex2f")[0].args, (std::vector<double>{0, 0}));
    setUpTiles(MOVE_X);
    fx->tileScale = 1;
    fx->drawTiles(0.02f);
    EXPECT_EQ(fx->tileScale, 1) << "only bit 4096 shrinks";
}

TEST_F(Feedback, ExplodedViewFillsTheWindowWithThePicturePlane) {
    setUpTiles(0);
    recgl::reset();
    fx->drawExploded(0.01f);
    const auto persp = recgl::callsNamed("gluPerspective");
    ASSERT_EQ(persp.size(), 1u);
    EXPECT_DOUBLE_EQ(persp[0].args[0], 90);
    EXPECT_DOUBLE_EQ(persp[0].args[1], 1024.0f / 768.0f);
    EXPECT_DOUBLE_EQ(persp[0].args[2], 0.1);
    EXPECT_DOUBLE_EQ(persp[0].args[3], 100);
    EXPECT_EQ(recgl::callsNamed("gluLookAt")[0].args, (std::vector<double>{0, 0, 0.5, 0, 0, 0, 0, 1, 0}));
    const auto tail = callsFrom("glColor4f");
    ASSERT_FALSE(tail.empty());
    EXPECT_EQ(tail[0].args, (std::vector<double>{1, 1, 1, 1}));
}

TEST_F(Feedback, ASlidePassEndsOrStartsOverWithEvenOdds) {
    layout.effectMode = 2;
    const std::uint32_t ends = findSeed([] { return randomUpTo(1.0) < 0.5; });
    const std::uint32_t again = findSeed([] { return randomUpTo(1.0) >= 0.5; });

    fx->slide = 0.99f;
    seedRandom(ends);
    fx->drawTiles(0.01f);
    EXPECT_EQ(fx->slide, 0);
    EXPECT_EQ(layout.effectMode, 0);
    EXPECT_EQ(recgl::count("glBegin"), 1u) << "a slide draws the picture, not the tiles";

    layout.effectMode = 2;
    fx->slide = 0.99f;
    seedRandom(again);
    fx->drawTiles(0.01f);
    EXPECT_FLOAT_EQ(fx->slide, 0.01f);
    EXPECT_EQ(layout.effectMode, 2);

    fx->slide = 1.99f;
    seedRandom(again);
    fx->drawSlide(0.01f);
    EXPECT_FLOAT_EQ(fx->slide, 1.01f);
    fx->slide = 1.99f;
    seedRandom(ends);
    fx->drawSlide(0.01f);
    EXPECT_EQ(fx->slide, 0);
    EXPECT_EQ(layout.effectMode, 0);
}

TEST_F(Feedback, ASlideScrollsTheTextureAlongItsAxis) {
    fx->slideScale = 2;
    fx->slide = 0.5f;
    recgl::reset();
    seedRandom(1);
    fx->drawSlide(0.02f);
    EXPECT_FLOAT_EQ(fx->slide, 0.535f);
    const double offset = 0.535f * 2;
    auto coords = recgl::callsNamed("glTexCoord2f");
    ASSERT_EQ(coords.size(), 4u);
    EXPECT_FLOAT_EQ(coords[0].args[0], 0);
    EXPECT_FLOAT_EQ(coords[0].args[1], offset);
    EXPECT_FLOAT_EQ(coords[2].args[1], 1 + offset);
    EXPECT_FLOAT_EQ(recgl::callsNamed("glVertex2f")[2].args[0], 1024.0f / 768.0f);

    fx->slide = 1.5f;
    recgl::reset();
    fx->drawSlide(0.02f);
    coords = recgl::callsNamed("glTexCoord2f");
    EXPECT_FLOAT_EQ(coords[0].args[0], 1.535f * 2);
    EXPECT_FLOAT_EQ(coords[0].args[1], 0);
    EXPECT_FLOAT_EQ(coords[1].args[0], 1 + 1.535f * 2);
}

TEST_F(Feedback, BlankTextureIsOpaqueBlack256) {
    EXPECT_EQ(fx->loadBlankTexture(), 0);
    EXPECT_EQ(fx->texture.width, 256);
    const auto& px = recgl::lastUpload();
    ASSERT_EQ(px.size(), 256u * 256 * 4);
    EXPECT_EQ(px[3], 255);
    EXPECT_EQ(px[0], 0);
}
