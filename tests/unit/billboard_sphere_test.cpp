#include <GL/gl.h>

#include "geometry/billboard.h"
#include "geometry/sphere_mesh.h"
#include "gl_test.h"
#include "view/camera.h"

using namespace smokedrift;

namespace {

using Args = std::vector<double>;

std::vector<Args> argsOf(const std::string& name) {
    std::vector<Args> v;
    for (const auto& c : recgl::callsNamed(name)) v.push_back(c.args);
    return v;
}

}  // namespace

using SphereGl = RecordingGlTest;

TEST_F(SphereGl, ThreeByThreeDrawsTwoStripsOfFourColumnsClosingTheSeam) {
    drawSphere(2.0, 3, 3, 1, 1, 0.25, 0);
    EXPECT_EQ(recgl::count("glBegin"), 2u);
    EXPECT_EQ(recgl::count("glEnd"), 2u);
    EXPECT_EQ(recgl::callsNamed("glBegin")[0].args[0], double(GL_QUAD_STRIP));
    const auto v = argsOf("glVertex3d");
    const auto t = argsOf("glTexCoord2f");
    const auto n = argsOf("glNormal3f");
    ASSERT_EQ(v.size(), 16u) << "two vertices per column, four columns, two strips";
    // The first vertex of the first strip is on ring 1, the second on the bottom pole.
    EXPECT_NEAR(v[1][1], -2.0, 1e-6);
    EXPECT_NEAR(v[7][1], -2.0, 1e-6);
    EXPECT_NEAR(v[15][1], 0.0, 1e-6) << "and ends on the equator";
    EXPECT_NEAR(v[8][1], 2.0, 1e-6) << "the second strip starts on the top pole";
    // First and last column: same place and normal, u from offset to offset + scale.
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(v[0][k], v[6][k], 1e-6);
        EXPECT_NEAR(n[0][k], n[6][k], 1e-6);
    }
    EXPECT_FLOAT_EQ(float(t[0][0]), 0.25f);
    EXPECT_FLOAT_EQ(float(t[6][0]), 1.25f);
    // v runs by stack count: the top ring ends at 2/3, not 1.
    EXPECT_FLOAT_EQ(float(t[8][1]), 2.0f / 3.0f);
    EXPECT_FLOAT_EQ(float(t[1][1]), 0.0f);
}

TEST_F(SphereGl, CountsOutsideThreeToHundredDrawNothing) {
    drawSphere(1, 3, 2, 1, 1, 0, 0);
    drawSphere(1, 3, 101, 1, 1, 0, 0);
    drawSphere(1, 2, 10, 1, 1, 0, 0);
    EXPECT_TRUE(recgl::calls().empty());
    drawSphere(1, 100, 100, 1, 1, 0, 0);
    EXPECT_EQ(recgl::count("glBegin"), 99u);
}

using BillboardGl = RecordingGlTest;

TEST_F(BillboardGl, FacingQuadIsSquareAlongTheCameraAxes) {
    Camera c;
    c.eyeDistance = 0;
    c.applyView();
    recgl::reset();
    Billboard b;
    b.halfWidth = 1;
    b.halfHeight = 2;
    b.drawFacing(c.viewRight, c.viewUp, c.viewBack);
    const auto v = argsOf("glVertex3f");
    ASSERT_EQ(v.size(), 4u);
    EXPECT_EQ(v[0], (Args{-1, -1, 0}));
    EXPECT_EQ(v[2], (Args{1, 1, 0}));
    EXPECT_EQ(argsOf("glNormal3f")[0], (Args{0, 0, 1}));
    EXPECT_EQ(recgl::names().front(), "glPushMatrix");
    EXPECT_EQ(recgl::names().back(), "glPopMatrix");
}

TEST_F(BillboardGl, SpinningQuadUndoesTheCameraRotationThenSpins) {
    Camera c;
    c.body.rotation.set(10, 20, 30);
    Billboard b;
    b.halfWidth = 1;
    b.halfHeight = 2;
    b.texRight = 0.5f;
    b.drawSpinning(c.body.rotation, 90);
    const auto r = argsOf("glRotatef");
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0], (Args{30, 0, 0, 1}));
    EXPECT_EQ(r[1], (Args{20, 0, 1, 0}));
    EXPECT_EQ(r[2], (Args{10, 1, 0, 0}));
    EXPECT_EQ(r[3], (Args{90, 0, 0, 1}));
    const auto v = argsOf("glVertex2f");
    ASSERT_EQ(v.size(), 4u);
    EXPECT_EQ(v[0], (Args{-1, -2})) << "a 2 by 4 rectangle";
    EXPECT_EQ(v[2], (Args{1, 2}));
    EXPECT_EQ(argsOf("glTexCoord2f")[1], (Args{0.5, 0}));
}
