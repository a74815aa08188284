#include <GL/gl.h>

#include <cmath>

#include "gl_test.h"
#include "view/camera.h"
#include "view/screen_layout.h"

using namespace smokedrift;

namespace {

ScreenLayout layoutWithViewport(float w, float h) {
    ScreenLayout l;
    l.setSize(w, h);
    l.layoutViewports();
    l.currentViewport = 0;
    return l;
}

}  // namespace

using CameraGl = RecordingGlTest;

TEST_F(CameraGl, NewCameraProjectsForTheCurrentViewportAndLeavesIdentityModelview) {
    const ScreenLayout l = layoutWithViewport(1000, 480);
    Camera c;
    EXPECT_FLOAT_EQ(c.farPlane, 100.0f);
    c.applyProjection(l);
    const auto p = recgl::callsNamed("gluPerspective");
    ASSERT_EQ(p.size(), 1u);
    EXPECT_DOUBLE_EQ(p[0].args[0], 90);
    EXPECT_NEAR(p[0].args[1], 1000.0 / 480.0, 1e-6);
    EXPECT_NEAR(p[0].args[2], 0.1, 1e-7);
    EXPECT_NEAR(p[0].args[3], 100, 1e-5);
    EXPECT_EQ(recgl::names(), (std::vector<std::string>{"glMatrixMode", "glLoadIdentity", "gluPerspective",
                                                        "glMatrixMode", "glLoadIdentity"}));
    EXPECT_EQ(recgl::calls().back().name, "glLoadIdentity");
    EXPECT_EQ(recgl::calls()[3].args[0], double(GL_MODELVIEW));
}

TEST_F(CameraGl, CollapsedViewportGetsAFiniteAspect) {
    ScreenLayout l = layoutWithViewport(640, 480);
    l.viewportCount = 2;
    l.viewports[1].letterboxed = 1;
    l.bandFraction = 0.5f;  // the bands meet: the letterboxed viewport has no height
    l.layoutViewports();
    ASSERT_FLOAT_EQ(l.viewports[1].pixelHeight, 0.0f);
    l.currentViewport = 1;
    Camera c;
    c.applyProjection(l);
    const double aspect = recgl::callsNamed("gluPerspective").at(0).args[1];
    EXPECT_TRUE(std::isfinite(aspect));
    EXPECT_GT(aspect, 0.0);
}

TEST_F(CameraGl, ViewFromPositionTranslatesAndCapturesAxes) {
    Camera c;
    c.eyeDistance = 0;
    c.body.position.set(1, 2, 3);
    c.applyView();
    EXPECT_FLOAT_EQ(c.modelview[12], -1);
    EXPECT_FLOAT_EQ(c.modelview[13], -2);
    EXPECT_FLOAT_EQ(c.modelview[14], -3);
    EXPECT_FLOAT_EQ(c.viewRight[0], 1);
    EXPECT_FLOAT_EQ(c.viewUp[1], 1);
    EXPECT_FLOAT_EQ(c.viewBack[2], 1);
    const auto look = recgl::callsNamed("gluLookAt").at(0).args;
    EXPECT_EQ(look, (std::vector<double>{0, 0, 0, 0, 0, -1, 0, 1, 0}));
}

TEST_F(CameraGl, TurnedAndOrbitingViews) {
    Camera c;
    c.eyeDistance = 0;
    c.body.rotation.set(0, 90, 0);
    c.applyView();
    EXPECT_NEAR(c.viewRight[0], 0, 1e-6);
    EXPECT_NEAR(c.viewRight[2], -1, 1e-6) << "facing world -x, right points along world -z";
    recgl::reset();
    Camera orbit;  // eye distance 1: the eye sits one unit behind the position
    orbit.applyView();
    EXPECT_FLOAT_EQ(orbit.modelview[14], -1);
}

TEST_F(CameraGl, LookAtSetsTargetAndAngles) {
    Camera c;
    c.lookAtPoint(0, 0, -1);
    EXPECT_FLOAT_EQ(c.body.target.z, -1);
    EXPECT_NEAR(c.body.rotation.x, 0, 1e-4);
    EXPECT_NEAR(c.body.rotation.y, 0, 1e-4);
    c.body.rotation.z = 7;
    c.lookAtPoint(1, 0, 0);
    EXPECT_NEAR(c.body.rotation.y, -90, 1e-3);
    EXPECT_FLOAT_EQ(c.body.rotation.z, 7) << "z is left alone";
    EXPECT_NEAR(c.viewBack[0], -1, 1e-6) << "the view looks down +x, so back is -x";
}
