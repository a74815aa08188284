#include <GL/gl.h>

#include <algorithm>

#include "app/frame_clock.h"
#include "app/scene.h"
#include "app/scene_switches.h"
#include "base/random.h"
#include "scene_test.h"
#include "textures/texture_registry.h"

using namespace smokedrift;

namespace {

using Args = std::vector<double>;

struct Pass3DTest : SceneTest {
    void request(SceneSwitchIndex i) { scene.options.switches |= switchBit(i); }
    void start(bool pass3D, bool stars, bool particles) {
        if (pass3D) request(SWITCH_3D);
        if (stars) request(SWITCH_STARS);
        if (particles) request(SWITCH_PARTICLES);
        scene.initScene(1000, 600);
        scene.frameCounter = 2;
        recgl::reset();
        now += 16;
    }
    Camera& camera1() { return scene.screenLayout.viewports[1].camera; }
};

Args lightArgs(GLenum param) {
    for (const auto& c : recgl::calls())
        if (c.name == "glLightfv" && c.args[0] == GL_LIGHT0 && c.args[1] == param)
            return Args(c.args.begin() + 2, c.args.end());
    return {};
}

}  // namespace

TEST_F(Pass3DTest, ShippedConfigurationLoadsFogLightAndMaterialButBuildsNothing) {
    scene.initScene(1024, 768);
    EXPECT_EQ(recgl::callsNamed("glFogfv").at(0).args, (Args{GL_FOG_COLOR, 0, 0, 0.075f, 0}));
    const auto fogf = recgl::callsNamed("glFogf");
    ASSERT_EQ(fogf.size(), 2u);
    EXPECT_EQ(fogf[0].args, (Args{GL_FOG_START, 0.2f}));
    EXPECT_EQ(fogf[1].args, (Args{GL_FOG_END, 0.6f}));
    EXPECT_EQ(lightArgs(GL_POSITION), (Args{1, 1, 1, 1}));
    EXPECT_EQ(recgl::callsNamed("glLightModelfv").at(0).args, (Args{GL_LIGHT_MODEL_AMBIENT, 0.4f, 0.4f, 0.4f, 1}));
    EXPECT_EQ(lightArgs(GL_DIFFUSE), (Args{0.7f, 0.7f, 0.7f, 1}));
    EXPECT_EQ(lightArgs(GL_SPECULAR), (Args{0.99f, 0.99f, 0.99f, 1}));
    EXPECT_EQ(recgl::callsNamed("glMaterialfv").at(0).args, (Args{GL_FRONT_AND_BACK, GL_SPECULAR, 1, 1, 1, 1}));
    EXPECT_EQ(recgl::callsNamed("glMateriali").back().args, (Args{GL_FRONT_AND_BACK, GL_SHININESS, 10}));
    bool light0 = false, fog = false;
    for (const auto& c : recgl::callsNamed("glEnable")) {
        light0 = light0 || c.args[0] == GL_LIGHT0;
        fog = fog || c.args[0] == GL_FOG;
    }
    EXPECT_TRUE(light0);
    EXPECT_FALSE(fog);
    EXPECT_FLOAT_EQ(scene.glowQuad.halfWidth, 0.05f);
    EXPECT_FLOAT_EQ(scene.glowQuad.halfHeight, 0.05f);
    EXPECT_EQ(recgl::count("glGenLists"), 0u) << "stars off: no list";
    // The shipped frame never runs the three-dimensional pass.
    scene.frameCounter = 2;
    recgl::reset();
    now += 16;
    scene.renderFrame();
    EXPECT_EQ(recgl::count("gluPerspective"), 0u);
    EXPECT_EQ(recgl::count("gluLookAt"), 0u);
}

TEST_F(Pass3DTest, SwitchedOnStarsAndParticlesAreBuiltAsConfigured) {
    request(SWITCH_STARS);
    request(SWITCH_PARTICLES);
    scene.initScene(1024, 768);
    EXPECT_EQ(scene.starField.count, 666) << "the fade alpha is still 0.2 when the count is chosen";
    EXPECT_EQ(scene.starField.layers, 2);
    EXPECT_EQ(scene.starField.followCamera, 1);
    EXPECT_NE(scene.starField.displayList, 0u);
    EXPECT_EQ(recgl::count("glVertex3d"), 333u);
    EXPECT_EQ(scene.particleSystem.count, 400);
    EXPECT_FLOAT_EQ(scene.particleSystem.boxSize, 4.0f);
    EXPECT_EQ(scene.particleSystem.texture, &scene.textures[5]);
    EXPECT_EQ(scene.particleSystem.level[399], 1.0f);
    // The stars are built after the clock starts and before the sprite texture.
    const auto n = recgl::names();
    const auto list = std::find(n.begin(), n.end(), "glNewList");
    const auto image = std::find(n.begin(), n.end(), "glTexImage2D");
    EXPECT_LT(list, image);
}

TEST_F(Pass3DTest, FrameDrawsViewportOneThroughTheDriftingCamera) {
    start(true, true, true);
    const Vector3 before = camera1().body.position;
    scene.renderFrame();
    const Viewport& v = scene.screenLayout.viewports[1];
    const auto p = recgl::callsNamed("gluPerspective");
    ASSERT_EQ(p.size(), 1u);
    EXPECT_DOUBLE_EQ(p[0].args[0], 80);
    EXPECT_NEAR(p[0].args[1], v.pixelWidth / v.pixelHeight, 1e-6);
    EXPECT_NEAR(p[0].args[2], 0.01, 1e-8);
    EXPECT_NEAR(p[0].args[3], 6, 1e-6);
    EXPECT_FLOAT_EQ(camera1().body.position.x, float(before.x + scene.driftX.value()));
    EXPECT_FLOAT_EQ(camera1().body.position.z, float(before.z + scene.driftZ.value()));
    EXPECT_FLOAT_EQ(camera1().body.rotation.z, float(scene.turnZ.value()));
    EXPECT_EQ(recgl::count("glCallList"), 2u);
    EXPECT_EQ(recgl::count("glVertex3f"), 1600u);
    EXPECT_FLOAT_EQ(float(recgl::callsNamed("glColor4f").back().args[3]), 0.04f * 0.99f);
    // Both objects have fog off: the pass disables fog before each, and once more as it ends.
    auto tail = callsFrom("gluLookAt");
    int fogOff = 0;
    for (const auto& c : tail) fogOff += c.name == "glDisable" && c.args[0] == GL_FOG;
    EXPECT_EQ(fogOff, 3);
}

TEST_F(Pass3DTest, FogFollowsTheSwitchAndEachObjectsFlag) {
    start(true, true, true);
    scene.settings.fogEnabled = 1;
    scene.starField.fog = 1;
    scene.renderFrame();
    scene.settings.fogEnabled = 0;
    scene.starField.fog = 0;
    std::vector<std::string> seq;
    for (const auto& c : callsFrom("gluLookAt")) {
        if ((c.name == "glEnable" || c.name == "glDisable") && c.args[0] == GL_FOG) seq.push_back(c.name);
        if (c.name == "glCallList" || c.name == "glBegin") seq.push_back(c.name);
    }
    // Fog on for the two star layers, off again for the particles, and off when the pass ends: what
    // the frame draws after it (the feedback effect) is not fogged.
    EXPECT_EQ(seq,
              (std::vector<std::string>{"glEnable", "glCallList", "glCallList", "glDisable", "glBegin", "glDisable"}));
}

TEST_F(Pass3DTest, OneViewportRunsNoThreeDimensionalIteration) {
    start(true, true, false);
    scene.screenLayout.viewportCount = 1;
    const Vector3 before = camera1().body.position;
    scene.renderFrame();
    EXPECT_EQ(recgl::count("gluPerspective"), 0u);
    EXPECT_EQ(recgl::count("glCallList"), 0u);
    EXPECT_EQ(camera1().body.position.x, before.x);
}

TEST_F(Pass3DTest, FurtherViewportsUseViewportOnesLensWithTheirOwnAspectAndStillCamera) {
    start(true, false, false);
    scene.screenLayout.viewportCount = 3;
    Viewport& v2 = scene.screenLayout.viewports[2];
    v2.setRelativeRect(0, 0, 0.25, 1);
    v2.letterboxed = 0;
    v2.camera.body.position.set(5, 0, 0);
    scene.renderFrame();
    const auto p = recgl::callsNamed("gluPerspective");
    ASSERT_EQ(p.size(), 2u);
    EXPECT_DOUBLE_EQ(p[1].args[0], 80);
    EXPECT_NEAR(p[1].args[1], 250.0 / 600.0, 1e-6);
    EXPECT_NEAR(p[1].args[3], 6, 1e-6);
    EXPECT_FLOAT_EQ(v2.camera.body.position.x, 5);
    EXPECT_EQ(recgl::callsNamed("gluLookAt")[1].args, (Args{0, 0, 1, 0, 0, 0, 0, 1, 0}));
    EXPECT_FLOAT_EQ(v2.camera.modelview[12], -5);
}

TEST_F(Pass3DTest, UpdateCameraOutsideViewportOneOnlyAppliesTheView) {
    scene.screenLayout.currentViewport = 0;
    Camera& c = scene.screenLayout.viewports[0].camera;
    c.body.position.set(1, 2, 3);
    c.body.rotation.set(0, 0, 0);
    scene.updateCamera();
    EXPECT_FLOAT_EQ(c.body.position.x, 1);
    EXPECT_FLOAT_EQ(c.body.rotation.y, 0);
    EXPECT_EQ(recgl::count("gluLookAt"), 1u);
    EXPECT_EQ(recgl::count("glGetFloatv"), 1u);
}

TEST_F(Pass3DTest, WindowDestructionReleasesTheStarListOnlyWhenStarsAreOn) {
    scene.initScene(320, 240);
    recgl::reset();
    scene.release();
    EXPECT_EQ(recgl::count("glDeleteLists"), 0u);
    request(SWITCH_STARS);
    scene.initScene(320, 240);
    const unsigned list = scene.starField.displayList;
    recgl::reset();
    scene.release();
    EXPECT_EQ(recgl::callsNamed("glDeleteLists").at(0).args, (Args{double(list), 1}));
    EXPECT_EQ(scene.starField.displayList, 0u);
}
