#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "base/random.h"
#include "gl_test.h"
#include "particles/particle_system.h"
#include "textures/texture.h"
#include "view/camera.h"

using namespace smokedrift;

namespace {

using Args = std::vector<double>;

// A particle system is 260 KB of arrays: keep it off the test's stack.
struct ParticleTest : RecordingGlTest {
    void SetUp() override {
        RecordingGlTest::SetUp();
        seedRandom(5);
        p = std::make_unique<ParticleSystem>();
    }
    std::unique_ptr<ParticleSystem> p;
    Camera camera;
};

}  // namespace

TEST_F(ParticleTest, InitCapsTheCountAtCapacity) {
    p->count = 6000;
    p->init();
    EXPECT_EQ(p->count, PARTICLE_CAPACITY);
    p->init();
    EXPECT_EQ(p->count, 5001);
    p->count = 5000;
    p->init();
    EXPECT_EQ(p->count, 5000);
}

TEST_F(ParticleTest, CoreClampIsTakenInDoubleLikeTheStarField) {
    p->count = 10;
    p->boxSize = 3.3f;  // a box whose 90 % rounds differently in float
    p->innerSize = 10;
    p->init();
    EXPECT_EQ(p->innerSize, static_cast<float>(3.3f * 0.9));
    EXPECT_NE(p->innerSize, 3.3f * 0.9f);
}

TEST_F(ParticleTest, InitPlacesColoursAndPulsesAQuarter) {
    p->count = 2000;
    p->boxSize = 4;
    p->innerSize = 10;  // clamped to 90 % of the box
    p->init();
    EXPECT_FLOAT_EQ(p->innerSize, 3.6f);
    int pulsing = 0;
    for (int i = 0; i < p->count; ++i) {
        ASSERT_EQ(p->level[i], 1.0f);
        const float most = std::max({std::fabs(p->x[i]), std::fabs(p->y[i]), std::fabs(p->z[i])});
        ASSERT_GE(most, 1.81f);
        ASSERT_LT(most, 2.0f + 1e-6f);
        if (p->levelRate[i] != 0) {
            ++pulsing;
            ASSERT_GE(p->levelRate[i], 0.5f);
            ASSERT_LT(p->levelRate[i], 20.5f);
        }
        ASSERT_GE(p->red[i], 0.4f);
    }
    EXPECT_GT(pulsing, 400);
    EXPECT_LT(pulsing, 600);
}

TEST_F(ParticleTest, BoxTooSmallForItsCorePlacesNothingInsteadOfHanging) {
    p->count = 10;
    p->boxSize = 0.01f;
    p->init();
    EXPECT_EQ(p->count, 0);
    p->draw(camera, 1);
    EXPECT_EQ(recgl::count("glBegin"), 0u);
}

TEST_F(ParticleTest, UpdateWrapsOneEdgePerAxisAroundTheCamera) {
    p->count = 4;
    p->boxSize = 4;
    camera.body.position.set(10, 0, 0);
    p->x[0] = 12;      // exactly on the edge: stays
    p->x[1] = 12.01f;  // just beyond: back by one edge
    p->x[2] = 7.5f;    // below the low edge: forward by one edge
    p->x[3] = -20;     // far away: one edge per update
    for (int i = 0; i < 4; ++i) p->y[i] = p->z[i] = 0;
    p->update(0, camera);
    EXPECT_FLOAT_EQ(p->boxMax, 2);
    EXPECT_FLOAT_EQ(p->boxMin, -2);
    EXPECT_FLOAT_EQ(p->x[0], 12);
    EXPECT_NEAR(p->x[1], 8.01f, 1e-5);
    EXPECT_FLOAT_EQ(p->x[2], 11.5f);
    EXPECT_FLOAT_EQ(p->x[3], -16);
    EXPECT_EQ(p->y[3], 0.0f);
}

TEST_F(ParticleTest, PulseBouncesBetweenZeroAndOne) {
    p->count = 2;
    p->level[0] = 1;
    p->levelRate[0] = 2;
    p->level[1] = 1;
    p->levelRate[1] = 0;
    p->update(0.1f, camera);
    EXPECT_EQ(p->level[0], 1.0f);
    EXPECT_EQ(p->levelRate[0], -2.0f);
    float lowest = 1;
    for (int k = 0; k < 40; ++k) {
        p->update(0.05f, camera);
        ASSERT_GE(p->level[0], 0.0f);
        ASSERT_LE(p->level[0], 1.0f);
        lowest = std::min(lowest, p->level[0]);
    }
    EXPECT_EQ(lowest, 0.0f);
    EXPECT_EQ(p->level[1], 1.0f) << "a steady particle keeps its level";
}

TEST_F(ParticleTest, DrawEmitsCameraFacingQuadsAndUndoesItsState) {
    camera.eyeDistance = 0;
    camera.applyView();
    p->count = 1;
    p->x[0] = 1;
    p->y[0] = 2;
    p->z[0] = 3;
    p->red[0] = p->green[0] = p->blue[0] = 0.8f;
    p->level[0] = 0.5f;
    p->particleSize = 0.5f;
    p->opacity = 0.5f;
    p->alphaTest = 1;
    p->blend = 0;
    p->depthTest = 0;
    Texture t;
    p->texture = &t;
    recgl::reset();
    p->draw(camera, 0.5f);
    const auto v = recgl::callsNamed("glVertex3f");
    ASSERT_EQ(v.size(), 4u);
    EXPECT_EQ(v[0].args, (Args{0.5, 1.5, 3}));
    EXPECT_EQ(v[2].args, (Args{1.5, 2.5, 3}));
    EXPECT_EQ(recgl::callsNamed("glColor4f")[0].args, (Args{0.4f, 0.4f, 0.4f, 0.25}));
    EXPECT_EQ(recgl::callsNamed("glAlphaFunc")[0].args, (Args{double(GL_GEQUAL), 0.05f}));
    // Without depth writes the mask is left off, not restored.
    const auto masks = recgl::callsNamed("glDepthMask");
    ASSERT_EQ(masks.size(), 1u);
    EXPECT_EQ(masks[0].args, (Args{GL_FALSE}));
    EXPECT_EQ(recgl::count("glBlendFunc"), 0u);
    const auto off = callsFrom("glEnd");
    std::vector<double> disabled;
    for (const auto& c : off)
        if (c.name == "glDisable") disabled.push_back(c.args[0]);
    EXPECT_EQ(disabled, (Args{double(GL_ALPHA_TEST), double(GL_TEXTURE_2D)}));
}

TEST_F(ParticleTest, DrawWithNoParticlesOnlySetsTheAlphaTest) {
    p->count = 0;
    p->draw(camera, 1);
    EXPECT_EQ(recgl::names(), (std::vector<std::string>{"glDisable"}));
    p->alphaTest = 1;
    recgl::reset();
    p->draw(camera, 1);
    EXPECT_EQ(recgl::names(), (std::vector<std::string>{"glEnable", "glAlphaFunc"}));
}

TEST_F(ParticleTest, CountPastCapacityWithoutInitStaysInsideTheArrays) {
    p->count = 100000;
    p->update(0.1f, camera);
    p->draw(camera, 1);
    EXPECT_EQ(recgl::count("glVertex3f"), 4u * PARTICLE_CAPACITY);
}

TEST_F(ParticleTest, DriftMovesByVelocityAndKicksWithinJitter) {
    p->count = 1000;
    p->velocityX[0] = 2;
    p->drift(0.5f, 0);
    EXPECT_FLOAT_EQ(p->x[0], 1);
    p->drift(1.0f, 4);  // every particle is kicked: the chance is dt
    int kicked = 0;
    for (int i = 1; i < p->count; ++i) {
        for (float v : {p->velocityX[i], p->velocityY[i], p->velocityZ[i]}) {
            ASSERT_GE(v, -2.0f);
            ASSERT_LT(v, 2.0f);
            kicked += v != 0;
        }
    }
    EXPECT_GT(kicked, 900);
}
