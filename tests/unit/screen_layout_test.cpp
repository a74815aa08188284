#include <GL/gl.h>

#include "base/textured_quad.h"
#include "gl_test.h"
#include "view/screen_layout.h"

using namespace smokedrift;

namespace {

ScreenLayout layoutOf(float w, float h, float band, float fade) {
    ScreenLayout l;
    l.setSize(w, h);
    l.bandFraction = band;
    l.fadeAlpha = fade;
    return l;
}

std::vector<std::vector<double>> vertices() {
    std::vector<std::vector<double>> v;
    for (const auto& c : recgl::callsNamed("glVertex2f")) v.push_back(c.args);
    return v;
}

}  // namespace

using ScreenLayoutGl = RecordingGlTest;

TEST(ScreenLayout, ConstructionGivesOneFullWindowViewport) {
    ScreenLayout l;
    EXPECT_EQ(l.viewportCount, 1);
    EXPECT_EQ(l.effectMode, 0);
    EXPECT_FLOAT_EQ(l.viewports[0].pixelWidth, 100);
    EXPECT_FLOAT_EQ(l.viewports[0].pixelHeight, 100);
    // Viewports the layout has not laid out have an empty pixel rectangle.
    EXPECT_FLOAT_EQ(l.viewports[1].pixelWidth, 0);
    EXPECT_FLOAT_EQ(l.viewports[1].pixelTop, 0);
}

TEST(ScreenLayout, SetSizeAloneMovesNoViewport) {
    ScreenLayout l;
    l.setSize(1000, 800);
    EXPECT_FLOAT_EQ(l.width, 1000);
    EXPECT_FLOAT_EQ(l.height, 800);
    EXPECT_FLOAT_EQ(l.viewports[0].pixelWidth, 100);
    l.layoutViewports();
    EXPECT_FLOAT_EQ(l.viewports[0].pixelWidth, 1000);
}

TEST_F(ScreenLayoutGl, LetterboxedViewportShrinksByTheBandsAndTruncates) {
    ScreenLayout l = layoutOf(1000, 800, 0.2f, 1);
    l.viewportCount = 2;
    l.viewports[1].letterboxed = 1;
    l.layoutViewports();
    EXPECT_FLOAT_EQ(l.viewports[1].areaBottom, 160);
    EXPECT_FLOAT_EQ(l.viewports[1].areaTop, 640);
    l.useViewport(1);
    l.useViewport(0);
    auto vp = recgl::callsNamed("glViewport");
    ASSERT_EQ(vp.size(), 2u);
    EXPECT_EQ(vp[0].args, (std::vector<double>{0, 160, 1000, 480}));
    EXPECT_EQ(vp[1].args, (std::vector<double>{0, 0, 1000, 800}));

    l.bandFraction = 0.201f;  // a band of 160.8 pixels starts the viewport at 160
    l.layoutViewports();
    recgl::reset();
    l.useViewport(1);
    EXPECT_EQ(recgl::callsNamed("glViewport")[0].args[1], 160);
}

TEST_F(ScreenLayoutGl, OverlayIsWindowPixelsAndUseViewportLeavesTheProjection) {
    ScreenLayout l = layoutOf(1000, 800, 0, 1);
    l.layoutViewports();
    l.beginOverlay(0);
    EXPECT_EQ(recgl::names(), (std::vector<std::string>{"glMatrixMode", "glLoadIdentity", "glOrtho", "glMatrixMode",
                                                        "glLoadIdentity"}));
    EXPECT_EQ(recgl::callsNamed("glOrtho")[0].args, (std::vector<double>{0, 1000, 0, 800, -1, 1}));
    recgl::reset();
    l.viewportCount = 2;
    l.layoutViewports();
    l.useViewport(1);
    EXPECT_EQ(l.currentViewport, 1);
    EXPECT_EQ(recgl::count("glOrtho"), 0u);
}

TEST_F(ScreenLayoutGl, FadeWithoutBandAtFullAlphaOnlyClears) {
    layoutOf(640, 480, 0, 1).drawFade();
    EXPECT_EQ(recgl::names(), (std::vector<std::string>{"glDepthMask", "glClear"}));
    EXPECT_EQ(recgl::calls()[1].args[0], double(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT));
}

TEST_F(ScreenLayoutGl, TranslucentFadeWithoutBandKeepsOnePixelLines) {
    layoutOf(640, 480, 0, 0.04f).drawFade();
    EXPECT_EQ(recgl::callsNamed("glClear")[0].args[0], double(GL_DEPTH_BUFFER_BIT));
    auto v = vertices();
    ASSERT_EQ(v.size(), 12u);
    EXPECT_EQ(v[2], (std::vector<double>{640, 1}));     // lower line up to y = 1
    EXPECT_EQ(v[4], (std::vector<double>{0, 479}));     // upper line from H - 1
    EXPECT_EQ(v[10], (std::vector<double>{640, 479}));  // fade quad ends at H - 1
    auto blend = recgl::callsNamed("glBlendFunc");
    ASSERT_EQ(blend.size(), 1u);
    EXPECT_EQ(blend[0].args, (std::vector<double>{GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}));
    auto colours = recgl::callsNamed("glColor4f");
    EXPECT_EQ(colours.back().args, (std::vector<double>{0, 0, 0, 0.04f}));
}

TEST_F(ScreenLayoutGl, OpaqueFadeWithBandsDrawsWithoutBlending) {
    layoutOf(1000, 800, 0.2f, 1).drawFade();
    auto v = vertices();
    ASSERT_EQ(v.size(), 12u);
    EXPECT_NEAR(v[2][1], 161, 1e-3);
    EXPECT_NEAR(v[4][1], 639, 1e-3);
    EXPECT_NEAR(v[8][1], 160, 1e-3);
    EXPECT_EQ(recgl::count("glBlendFunc"), 0u);
    EXPECT_EQ(recgl::count("glEnable"), 0u);
    ASSERT_EQ(recgl::callsNamed("glDisable").size(), 1u);
    EXPECT_EQ(recgl::callsNamed("glDisable")[0].args[0], GL_BLEND);
}

TEST_F(ScreenLayoutGl, TexturedQuadsMapTheirCoordinatesToTheCorners) {
    drawTexturedQuadRegion(10, 20, 30, 40, 0.5f, 0.25f, 0.1f, 0.2f);
    auto tc = recgl::callsNamed("glTexCoord2d");
    auto v = vertices();
    ASSERT_EQ(tc.size(), 4u);
    EXPECT_NEAR(tc[2].args[0], 0.6, 1e-6);
    EXPECT_NEAR(tc[2].args[1], 0.45, 1e-6);
    EXPECT_EQ(v[2], (std::vector<double>{40, 60}));
    recgl::reset();
    drawTexturedQuad(0, 0, 2, 3);
    tc = recgl::callsNamed("glTexCoord2d");
    EXPECT_EQ(tc[1].args, (std::vector<double>{1, 0}));
    EXPECT_EQ(tc[3].args, (std::vector<double>{0, 1}));
}
