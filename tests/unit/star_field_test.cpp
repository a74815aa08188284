#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "base/random.h"
#include "gl_test.h"
#include "particles/star_field.h"
#include "view/camera.h"

using namespace smokedrift;

namespace {

using Args = std::vector<double>;

struct StarFieldGl : RecordingGlTest {
    void SetUp() override {
        RecordingGlTest::SetUp();
        seedRandom(11);
    }
};

std::vector<Args> stars() {
    std::vector<Args> v;
    for (const auto& c : recgl::callsNamed("glVertex3d")) v.push_back(c.args);
    return v;
}

}  // namespace

TEST_F(StarFieldGl, ConfiguredFieldCompilesItsShareOfStarsIntoOneList) {
    StarField f;
    f.count = 666;
    f.layers = 2;
    f.colorLow = 0.2;
    f.colorHigh = 0.7;
    f.build();
    ASSERT_NE(f.displayList, 0u);
    EXPECT_EQ(recgl::count("glGenLists"), 1u);
    EXPECT_EQ(recgl::callsNamed("glNewList")[0].args, (Args{double(f.displayList), double(GL_COMPILE)}));
    EXPECT_EQ(recgl::callsNamed("glBegin")[0].args[0], double(GL_POINTS));
    EXPECT_EQ(stars().size(), 333u);
    EXPECT_EQ(recgl::count("glColor3d"), 333u);
    EXPECT_EQ(recgl::names().back(), "glEndList");
    int dim = 0;
    for (const auto& c : recgl::callsNamed("glColor3d")) {
        // Bright stars lie in [0.7, 0.9) per component, dim ones in [0.2, 0.9).
        bool low = false;
        for (double v : c.args) {
            EXPECT_GE(v, 0.2);
            EXPECT_LT(v, 0.9);
            low = low || v < 0.7;
        }
        dim += low;
    }
    EXPECT_GT(dim, 5);
    EXPECT_LT(dim, 80) << "about one star in ten is dim";
    for (const Args& s : stars())
        for (double v : s) {
            EXPECT_GE(v, -1.0);
            EXPECT_LT(v, 1.0);
        }
    f.release();
}

TEST_F(StarFieldGl, FewerStarsThanLayersStillMakesAnEmptyList) {
    StarField f;
    f.count = 1;
    f.layers = 2;
    f.build();
    EXPECT_NE(f.displayList, 0u);
    EXPECT_TRUE(stars().empty());
    EXPECT_EQ(recgl::count("glEndList"), 1u);
    f.release();
}

TEST_F(StarFieldGl, CoreIsClampedToNinetyPercentAndKeptEmpty) {
    StarField f;
    f.count = 300;
    f.outerSize = 2.0;
    f.innerSize = 5.0;
    f.build();
    EXPECT_DOUBLE_EQ(f.innerSize, 1.8);
    const float l = 0.91f;
    for (const Args& s : stars()) {
        const double most = std::max({std::fabs(s[0]), std::fabs(s[1]), std::fabs(s[2])});
        EXPECT_GE(most, l) << "cube shell: never inside the inner cube";
    }
    f.release();
}

TEST_F(StarFieldGl, SphericalShellsStayBetweenTheirRadiiAndTheHalfShellAboveGround) {
    for (int shape : {2, 3}) {
        recgl::reset();
        StarField f;
        f.count = 400;
        f.shape = shape;
        f.innerSize = 1.0;
        f.build();
        bool below = false;
        for (const Args& s : stars()) {
            const double d = std::sqrt(s[0] * s[0] + s[1] * s[1] + s[2] * s[2]);
            EXPECT_GE(d, 0.51 - 1e-5);
            EXPECT_LE(d, 1.0 + 1e-5);
            below = below || s[1] < 0;
        }
        EXPECT_EQ(below, shape == 3) << "shape " << shape;
        f.release();
    }
}

TEST_F(StarFieldGl, FieldTooSmallForItsCorePlacesNothingInsteadOfHanging) {
    StarField f;
    f.count = 50;
    f.outerSize = 0.01;  // half edge 0.005, below the 0.01 inner bound
    f.build();
    EXPECT_NE(f.displayList, 0u);
    EXPECT_TRUE(stars().empty());
    f.release();
}

TEST_F(StarFieldGl, RebuildDeletesTheFirstListAndReleaseOnlyOnce) {
    StarField f;
    f.build();
    const unsigned first = f.displayList;
    f.build();
    EXPECT_EQ(recgl::callsNamed("glDeleteLists")[0].args, (Args{double(first), 1}));
    f.release();
    f.release();
    EXPECT_EQ(f.displayList, 0u);
    EXPECT_EQ(recgl::count("glDeleteLists"), 2u);
}

TEST_F(StarFieldGl, DrawTurnsEachLayerAndGrowsThePoints) {
    StarField f;
    f.layers = 2;
    f.followCamera = 1;
    f.build();
    Camera c;
    c.body.position.set(1, 2, 3);
    recgl::reset();
    f.draw(c);
    EXPECT_EQ(recgl::names(),
              (std::vector<std::string>{"glBlendFunc", "glEnable", "glDisable", "glDepthMask", "glPushMatrix",
                                        "glTranslatef", "glRotatef", "glPointSize", "glCallList", "glRotatef",
                                        "glPointSize", "glCallList", "glPopMatrix", "glDisable"}));
    EXPECT_EQ(recgl::callsNamed("glTranslatef")[0].args, (Args{1, 2, 3}));
    EXPECT_EQ(recgl::callsNamed("glRotatef")[0].args, (Args{180, 0, 1, 0}));
    EXPECT_EQ(recgl::callsNamed("glPointSize")[1].args, (Args{2}));
    EXPECT_EQ(recgl::callsNamed("glDepthMask")[0].args, (Args{GL_FALSE}));
    EXPECT_EQ(recgl::callsNamed("glDisable")[0].args, (Args{double(GL_DEPTH_TEST)}));
    f.release();
}

TEST_F(StarFieldGl, DrawWithoutBlendOrListAndWithZeroLayers) {
    StarField f;
    Camera c;
    f.draw(c);
    EXPECT_TRUE(recgl::calls().empty()) << "no list, no state change";
    f.blend = 0;
    f.layers = 0;  // would divide by zero; drawn as one layer
    f.count = 5;
    f.build();
    EXPECT_EQ(stars().size(), 5u);
    recgl::reset();
    f.draw(c);
    EXPECT_EQ(recgl::count("glBlendFunc"), 0u);
    EXPECT_EQ(recgl::count("glCallList"), 1u);
    EXPECT_EQ(recgl::callsNamed("glRotatef")[0].args, (Args{360, 0, 1, 0}));
    f.release();
}
