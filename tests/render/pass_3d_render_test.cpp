#include <algorithm>
#include <cmath>

#include "app/scene_start.h"
#include "app/scene_switches.h"
#include "base/gl.h"
#include "base/random.h"
#include "offscreen/render_mode.h"
#include "render_test_support.h"
#include "view/camera.h"
#include "view/screen_layout.h"

using namespace smokedrift;

namespace {

// Pixels that stand out as points: bright, and much brighter than the pixels three away on
// all four sides. The smoke is smooth at that scale; stars and motes are one or two pixels.
int brightPoints(const std::vector<std::uint8_t>& px, int w, int h) {
    auto lum = [&](int x, int y) {
        const std::uint8_t* p = &px[(static_cast<std::size_t>(y) * w + x) * 4];
        return (p[0] + p[1] + p[2]) / 3;
    };
    int n = 0;
    for (int y = 3; y < h - 3; ++y)
        for (int x = 3; x < w - 3; ++x) {
            const int c = lum(x, y);
            if (c < 150) continue;
            const int around = std::max({lum(x - 3, y), lum(x + 3, y), lum(x, y - 3), lum(x, y + 3)});
            if (c - around >= 50) ++n;
        }
    return n;
}

}  // namespace

using Pass3DRender = EglTest;

TEST_F(Pass3DRender, CameraMatricesReadBackFromRealGl) {
    makeContext(64, 64);
    ScreenLayout layout;
    layout.setSize(1000, 480);
    layout.layoutViewports();
    Camera c;
    c.applyProjection(layout);
    float m[16];
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    EXPECT_NEAR(m[0], 1.0 / (1000.0 / 480.0), 1e-5) << "fov 90: cot 45 degrees is 1";
    EXPECT_NEAR(m[5], 1.0, 1e-6);
    EXPECT_NEAR(m[10], -(100.0 + 0.1) / (100.0 - 0.1), 1e-5);
    EXPECT_NEAR(m[14], -2 * 100.0 * 0.1 / (100.0 - 0.1), 1e-5);
    EXPECT_FLOAT_EQ(m[11], -1);
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(m[i], (i % 5 == 0) ? 1.0f : 0.0f);

    c.eyeDistance = 0;
    c.body.position.set(1, 2, 3);
    c.applyView();
    EXPECT_FLOAT_EQ(c.modelview[12], -1);
    EXPECT_FLOAT_EQ(c.modelview[13], -2);
    EXPECT_FLOAT_EQ(c.modelview[14], -3);
    EXPECT_FLOAT_EQ(c.viewRight[0], 1);
    EXPECT_FLOAT_EQ(c.viewUp[1], 1);
    EXPECT_FLOAT_EQ(c.viewBack[2], 1);

    glLoadIdentity();
    Camera turned;
    turned.eyeDistance = 0;
    turned.body.rotation.y = 90;
    turned.applyView();
    EXPECT_NEAR(turned.viewRight[0], 0, 1e-6);
    EXPECT_NEAR(turned.viewRight[1], 0, 1e-6);
    EXPECT_NEAR(turned.viewRight[2], -1, 1e-6);
}

TEST_F(Pass3DRender, ShippedConfigurationLeavesFogLightAndMaterialInGl) {
    makeContext(64, 64);
    startScene(scene, {64, 64, 1, {}});
    GLint i = 0;
    glGetIntegerv(GL_FOG_MODE, &i);
    EXPECT_EQ(i, GL_LINEAR);
    glGetIntegerv(GL_FOG_HINT, &i);
    EXPECT_EQ(i, GL_NICEST);
    float v[4];
    glGetFloatv(GL_FOG_COLOR, v);
    EXPECT_FLOAT_EQ(v[2], 0.075f);
    EXPECT_FLOAT_EQ(v[3], 0);
    glGetFloatv(GL_FOG_START, v);
    EXPECT_FLOAT_EQ(v[0], 0.2f);
    glGetFloatv(GL_FOG_END, v);
    EXPECT_FLOAT_EQ(v[0], 0.6f);
    EXPECT_FALSE(glIsEnabled(GL_FOG));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));

    glGetFloatv(GL_LIGHT_MODEL_AMBIENT, v);
    EXPECT_FLOAT_EQ(v[0], 0.4f);
    EXPECT_FLOAT_EQ(v[3], 1);
    glGetLightfv(GL_LIGHT0, GL_AMBIENT, v);
    EXPECT_FLOAT_EQ(v[1], 0.4f);
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, v);
    EXPECT_FLOAT_EQ(v[2], 0.7f);
    glGetLightfv(GL_LIGHT0, GL_SPECULAR, v);
    EXPECT_FLOAT_EQ(v[0], 0.99f);
    glGetLightfv(GL_LIGHT0, GL_SPOT_EXPONENT, v);
    EXPECT_FLOAT_EQ(v[0], 1);
    glGetLightfv(GL_LIGHT0, GL_SPOT_CUTOFF, v);
    EXPECT_FLOAT_EQ(v[0], 180);
    glGetLightfv(GL_LIGHT0, GL_POSITION, v);
    EXPECT_FLOAT_EQ(v[0], 1);
    EXPECT_FLOAT_EQ(v[3], 1);
    glGetMaterialfv(GL_FRONT, GL_SPECULAR, v);
    EXPECT_FLOAT_EQ(v[0], 1);
    glGetMaterialfv(GL_BACK, GL_SHININESS, v);
    EXPECT_FLOAT_EQ(v[0], 10);
    EXPECT_EQ(scene.starField.displayList, 0u) << "stars off: nothing built";
}

TEST_F(Pass3DRender, StarsAndParticlesShowAsBrightPoints) {
    constexpr int W = 160, H = 120;
    makeContext(W, H);
    renderScene(
        renderOptions(W, H, 40, 7, switchBit(SWITCH_3D) | switchBit(SWITCH_STARS) | switchBit(SWITCH_PARTICLES)));
    EXPECT_TRUE(glIsList(scene.starField.displayList));
    const auto px = readAll(W, H);
    const int points = brightPoints(px, W, H);
    EXPECT_GT(points, 40);
    // Nothing is drawn over the bands: the 3D viewport lies between them. (A two-pixel point
    // centred on the viewport's edge may spill one pixel over it, as wide points do.)
    const int band = static_cast<int>(scene.screenLayout.bandFraction * H);
    ASSERT_GT(band, 3);
    for (int y : {0, band - 3, H - 1, H - band + 2})
        for (int x = 0; x < W; ++x) {
            const std::uint8_t* p = &px[(static_cast<std::size_t>(y) * W + x) * 4];
            ASSERT_EQ(p[0] + p[1] + p[2], 0) << x << "," << y;
        }
}

TEST_F(Pass3DRender, ShippedSceneHasNoSuchPoints) {
    constexpr int W = 160, H = 120;
    makeContext(W, H);
    renderScene(renderOptions(W, H, 40, 7, 0));
    const int points = brightPoints(readAll(W, H), W, H);
    EXPECT_LT(points, 5);
}

TEST(RenderOptions3D, EnableAcceptsTheThreeDimensionalSwitches) {
    RenderOptions o;
    std::string error;
    ASSERT_TRUE(parseRenderOptions({"--render", "x.png", "--enable", "3d,stars,particles,fog"}, o, error)) << error;
    EXPECT_EQ(o.scene.switches,
              switchBit(SWITCH_3D) | switchBit(SWITCH_STARS) | switchBit(SWITCH_PARTICLES) | switchBit(SWITCH_FOG));
    RenderOptions bad;
    EXPECT_FALSE(parseRenderOptions({"--render", "x.png", "--enable", "3d,warp"}, bad, error));
    EXPECT_NE(error.find("stars"), std::string::npos) << "the error lists the known names";
}
