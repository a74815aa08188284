// The frame-rate text goes over the frame and leaves it as it was for the next one to fade.
#include <cstring>

#include "app/fps_overlay.h"
#include "app/scene_start.h"
#include "base/gl.h"
#include "offscreen/render_mode.h"
#include "render_test_support.h"

using namespace smokedrift;

namespace {

// Glyphs of our own: a solid 6 x 10 block a character, so the text is plainly there.
unsigned blockGlyphs() {
    static const GLubyte block[10 * 1] = {0xfc, 0xfc, 0xfc, 0xfc, 0xfc, 0xfc, 0xfc, 0xfc, 0xfc, 0xfc};
    const unsigned base = glGenLists(FpsOverlay::CHAR_COUNT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int c = 0; c < FpsOverlay::CHAR_COUNT; ++c) {
        glNewList(base + c, GL_COMPILE);
        glBitmap(6, 10, 0, 0, 7, 0, block);
        glEndList();
    }
    return base;
}

}  // namespace

using FpsOverlayRender = EglTest;

TEST_F(FpsOverlayRender, TheTextShowsInTheLowerLeftAndThePictureUnderItComesBack) {
    constexpr int W = 320, H = 240;
    makeContext(W, H);
    renderScene(renderOptions(W, H, 40));
    const auto before = readAll(W, H);
    FpsOverlay overlay;
    overlay.useGlyphs(blockGlyphs());
    std::strcpy(overlay.text, "FPS: 60.0");
    overlay.draw(W, H);
    const auto shown = readAll(W, H);
    const Rgba corner = readPixel(6, 8);
    EXPECT_EQ(corner.r + corner.g + corner.b, 3 * 255) << "the text in the lower-left corner";
    int changed = 0;
    for (std::size_t i = 0; i < shown.size(); ++i) changed += shown[i] != before[i];
    EXPECT_GT(changed, 100);
    overlay.restore();
    EXPECT_TRUE(readAll(W, H) == before) << "the next frame would fade the text, not the scene";
}

TEST(FpsOverlayText, FramesASecondAndTheLoadOfTheLastSecond) {
    FpsOverlay overlay;
    overlay.countFrame(10.0, 2.0);
    for (int i = 1; i <= 60; ++i) overlay.countFrame(10.0 + i / 60.0, 2.0 + 0.25 * i / 60.0);
    EXPECT_STREQ(overlay.text, "FPS: 60.0  Load: 25%");
}
