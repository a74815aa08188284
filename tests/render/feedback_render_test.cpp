#include <memory>

#include "app/feedback_cycle.h"
#include "app/scene.h"
#include "app/scene_switches.h"
#include "base/gl.h"
#include "base/random.h"
#include "offscreen/render_mode.h"
#include "render_test_support.h"
#include "view/feedback_effect.h"

using namespace smokedrift;

namespace {

struct FeedbackRender : EglTest {
    // The shipped scene with the feedback effect switched on, as `--enable feedback` renders it.
    void renderWithFeedback(int w, int h, int frames) {
        makeContext(w, h);
        renderScene(renderOptions(w, h, frames, 7, switchBit(SWITCH_FEEDBACK)));
    }

    // Grey everywhere, and four coloured quarters in the lower left 128 × 128 block.
    void drawKnownPicture(int w, int h) {
        layout.setSize(static_cast<float>(w), static_cast<float>(h));
        layout.layoutViewports();
        layout.useViewport(0);
        layout.beginOverlay(0);
        glDisable(GL_BLEND);
        glDisable(GL_TEXTURE_2D);
        glColor4f(0.5f, 0.5f, 0.5f, 1);
        glRecti(0, 0, w, h);
        glColor4f(1, 0, 0, 1);
        glRecti(0, 0, 64, 64);
        glColor4f(0, 1, 0, 1);
        glRecti(64, 0, 128, 64);
        glColor4f(0, 0, 1, 1);
        glRecti(0, 64, 64, 128);
        glColor4f(1, 1, 1, 1);
        glRecti(64, 64, 128, 128);
    }
    std::vector<std::uint8_t> textureImage() {
        effect->texture.bind();
        std::vector<std::uint8_t> px(128 * 128 * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
        return px;
    }
    static Rgba texel(const std::vector<std::uint8_t>& px, int x, int y) {
        const std::uint8_t* p = &px[(static_cast<std::size_t>(y) * 128 + x) * 4];
        return {p[0], p[1], p[2], p[3]};
    }
    ScreenLayout layout;
    std::unique_ptr<FeedbackEffect> effect = [this] {
        auto e = std::make_unique<FeedbackEffect>();
        e->layout = &layout;
        return e;
    }();
};

void expectColour(Rgba p, int r, int g, int b, const char* where) {
    EXPECT_EQ(p.r, r) << where;
    EXPECT_EQ(p.g, g) << where;
    EXPECT_EQ(p.b, b) << where;
}

}  // namespace

TEST_F(FeedbackRender, CaptureCopiesTheBlockIntoTheTextureAndBlackensIt) {
    makeContext(200, 150);
    drawKnownPicture(200, 150);
    seedRandom(2);
    effect->capture();
    const auto tex = textureImage();
    expectColour(texel(tex, 10, 10), 255, 0, 0, "texture lower left");
    expectColour(texel(tex, 100, 10), 0, 255, 0, "texture lower right");
    expectColour(texel(tex, 10, 100), 0, 0, 255, "texture upper left");
    expectColour(texel(tex, 127, 127), 255, 255, 255, "texture upper right");
    expectColour(readPixel(10, 10), 0, 0, 0, "block after the capture");
    expectColour(readPixel(127, 127), 0, 0, 0, "block corner");
    expectColour(readPixel(128, 10), 128, 128, 128, "right of the block");
    expectColour(readPixel(10, 128), 128, 128, 128, "above the block");
}

TEST_F(FeedbackRender, ALowWindowCopiesOnlyWhatItHoldsAndTheRestIsBlack) {
    makeContext(152, 112);
    drawKnownPicture(152, 112);
    effect->capture();
    const auto tex = textureImage();
    expectColour(texel(tex, 10, 10), 255, 0, 0, "inside the window");
    expectColour(texel(tex, 100, 111), 255, 255, 255, "top row of the window");
    for (int y = 112; y < 128; ++y)
        for (int x = 0; x < 128; x += 9) {
            const Rgba t = texel(tex, x, y);
            ASSERT_EQ(t.r + t.g + t.b + t.a, 0) << x << "," << y << " lies above the window";
        }
}

TEST_F(FeedbackRender, TheTilesShowTheCapturedPicture) {
    makeContext(128, 128);
    drawKnownPicture(128, 128);
    effect->nextTiles = 2;
    effect->nextPattern = SPIN_Z;  // turn, but stay in place
    effect->capture();
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    effect->drawExploded(0.0f);  // no time passed: the tiles reassemble the picture
    expectColour(readPixel(20, 20), 255, 0, 0, "lower left tile");
    expectColour(readPixel(108, 20), 0, 255, 0, "lower right tile");
    expectColour(readPixel(20, 108), 0, 0, 255, "upper left tile");
    expectColour(readPixel(108, 108), 255, 255, 255, "upper right tile");
}

// A render too short for the usual lead still captures (at the earliest frame that has a picture),
// and a window that holds 256 x 256 captures into the larger blank texture.
TEST_F(FeedbackRender, ShortRenderInALargerWindowCapturesEarlyIntoTheLargerTexture) {
    EXPECT_EQ(feedbackCaptureFrame(5), 3);
    EXPECT_EQ(feedbackCaptureFrame(100), 100 - FEEDBACK_SHOW_FRAMES);
    renderWithFeedback(320, 256, 5);
    EXPECT_EQ(scene.screenLayout.effectMode, 2) << "captured at frame 3, tiles from frame 4";
    EXPECT_EQ(scene.feedbackEffect.texture.width, 256);
    EXPECT_EQ(scene.feedbackEffect.texture.height, 256);
}

TEST_F(FeedbackRender, EnablingFeedbackCapturesOnceAndThenShowsTiles) {
    renderWithFeedback(160, 120, 50);
    EXPECT_EQ(scene.screenLayout.effectMode, 2);
    EXPECT_EQ(scene.screenLayout.width, 160) << "the scene goes on at full size behind the tiles";
    EXPECT_EQ(scene.feedbackEffect.texture.width, 128) << "a small window keeps the default texture";
    EXPECT_GE(scene.feedbackEffect.tilesX, 1);
}
