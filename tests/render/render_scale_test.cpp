// The frame drawn at 1/k of the window and scaled up, on real Mesa: the same bands, layout and
// picture as at full size, only softer; the feedback capture sees the block the full-size frame has.
#include <algorithm>
#include <cstdlib>

#include "app/scene.h"
#include "base/gl.h"
#include "offscreen/render_mode.h"
#include "render_test_support.h"
#include "textures/texture.h"
#include "view/render_scale.h"
#include "view/screen_layout.h"

using namespace smokedrift;

namespace {

constexpr int W = 320;
constexpr int H = 240;

std::vector<std::uint8_t> renderAt(int k) {
    RenderOptions o = renderOptions(W, H, 120, 7);
    o.scene.renderScale = k;
    renderScene(o);
    auto px = readAll(W, H);
    scene.release();
    return px;
}

}  // namespace

using RenderScaleRender = EglTest;

TEST_F(RenderScaleRender, ScaledFramesKeepTheBandsAndTheLayoutOfTheFullSizeOne) {
    makeContext(W, H);
    const auto full = renderAt(1);
    const int band = static_cast<int>(scene.screenLayout.bandFraction * H);
    ASSERT_GT(band, 8) << "pick a frame count whose band is visible";
    for (int k : {2, 3}) {
        const auto scaled = renderAt(k);
        ASSERT_EQ(scene.renderScale.divisor(), k);
        auto at = [&](const std::vector<std::uint8_t>& px, int x, int y, int c) {
            return static_cast<int>(px[(static_cast<std::size_t>(y) * W + x) * 4 + c]);
        };
        // The bands: black in both, up to where linear filtering blurs the band's edge (k pixels).
        for (int x = 0; x < W; x += 5) {
            for (int y = 0; y < band - k; ++y) {
                for (int c = 0; c < 3; ++c) {
                    ASSERT_LE(at(scaled, x, y, c), 2) << "k " << k << " lower band at " << x << "," << y;
                    ASSERT_LE(at(scaled, x, H - 1 - y, c), 2) << "k " << k << " upper band at " << x << "," << y;
                }
            }
        }
        // The layout: 16 x 16 blocks of the picture agree on average, and so does the whole.
        double total = 0;
        int worst = 0;
        for (int by = 0; by < H; by += 16) {
            for (int bx = 0; bx < W; bx += 16) {
                for (int c = 0; c < 3; ++c) {
                    int a = 0, b = 0;
                    for (int y = by; y < by + 16; ++y)
                        for (int x = bx; x < bx + 16; ++x) {
                            a += at(full, x, y, c);
                            b += at(scaled, x, y, c);
                            total += std::abs(at(full, x, y, c) - at(scaled, x, y, c));
                        }
                    worst = std::max(worst, std::abs(a - b) / 256);
                }
            }
        }
        EXPECT_LT(total / (W * H * 3), 4.0) << "k " << k << ": mean difference per channel";
        EXPECT_LT(worst, 24) << "k " << k << ": the most a 16 x 16 block's mean differs";
    }
}

// Drawn at half size, the feedback effect's 128 x 128 block of window units is a 64 x 64 block of
// the back buffer: the capture must hold the whole block, scaled up, not the back buffer's corner.
TEST_F(RenderScaleRender, TheCaptureHoldsTheWindowsBlockScaledUp) {
    makeContext(W, H);
    RenderScale scale;
    scale.begin(2, W, H);
    ASSERT_EQ(scale.divisor(), 2);
    ScreenLayout layout;
    layout.setSize(W, H);
    layout.layoutViewports();
    layout.drawScaleX = scale.scaleX;
    layout.drawScaleY = scale.scaleY;
    layout.useViewport(0);
    layout.beginOverlay(0);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glColor4f(0.5f, 0.5f, 0.5f, 1);
    glRecti(0, 0, W, H);
    const float quarters[4][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 1}};
    for (int q = 0; q < 4; ++q) {
        glColor4f(quarters[q][0], quarters[q][1], quarters[q][2], 1);
        glRecti(64 * (q % 2), 64 * (q / 2), 64 * (q % 2) + 64, 64 * (q / 2) + 64);
    }
    Texture captured;
    captured.bind();
    ASSERT_TRUE(scale.copyWindowBlock(captured, 128, 128));
    std::vector<std::uint8_t> image(128 * 128 * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, image.data());
    for (int q = 0; q < 4; ++q) {
        const int x = 64 * (q % 2) + 32;
        const int y = 64 * (q / 2) + 32;
        const std::uint8_t* p = &image[(static_cast<std::size_t>(y) * 128 + x) * 4];
        for (int c = 0; c < 3; ++c) EXPECT_EQ(p[c], quarters[q][c] * 255) << "quarter " << q << " channel " << c;
    }
    captured.release();
    scale.release();
}

namespace {

int asks = 0;
int trueAtAsk = 0;  // 0: never
bool countedQuestion() { return ++asks == trueAtAsk; }

// One frame of a fixed picture at half size, asked `countedQuestion` between its parts.
bool drawnFrame(RenderScale& scale, float shade, bool interruptible) {
    scale.begin(2, W, H);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glViewport(0, 0, W / 2, H / 2);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glBegin(GL_QUADS);
    glColor4f(shade, 0, 0, 1);
    glVertex2f(0, 0);
    glColor4f(0, shade, 0, 1);
    glVertex2f(1, 0);
    glColor4f(0, 0, shade, 1);
    glVertex2f(1, 1);
    glColor4f(shade, shade, shade, 1);
    glVertex2f(0, 1);
    glEnd();
    return scale.end(interruptible ? countedQuestion : nullptr);
}

std::vector<std::uint8_t> textureBytes(RenderScale& scale) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(scale.texture.width) * scale.texture.height * 4);
    scale.texture.bind();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    return bytes;
}

}  // namespace

// A frame that may be cut short is scaled up in scissored bands of one quad: the same pixels as
// in one piece. Cut short before the copy, the texture keeps the frame before for the next one.
TEST_F(RenderScaleRender, AFrameCutShortKeepsTheLastWholeOneAndBandsChangeNoPixel) {
    makeContext(W, H);
    RenderScale scale;
    scale.bandPixels = W * H / 4;
    ASSERT_TRUE(drawnFrame(scale, 1, false));
    const auto whole = readAll(W, H);
    asks = 0;
    trueAtAsk = 0;
    ASSERT_TRUE(drawnFrame(scale, 1, true));
    EXPECT_EQ(asks, 4) << "once after the scene, then between the four bands";
    EXPECT_EQ(readAll(W, H), whole);

    const auto before = textureBytes(scale);
    asks = 0;
    trueAtAsk = 1;
    EXPECT_FALSE(drawnFrame(scale, 0.5f, true));
    EXPECT_EQ(asks, 1);
    EXPECT_EQ(textureBytes(scale), before);
    asks = 0;
    trueAtAsk = 3;
    EXPECT_FALSE(drawnFrame(scale, 0.5f, true));
    EXPECT_EQ(asks, 3) << "no band after the one that was answered yes";
    EXPECT_NE(textureBytes(scale), before) << "copied before the bands: the next frame starts from it";
    scale.release();
}
