#include <GL/gl.h>

#include "gl_test.h"
#include "lighting/fog_settings.h"
#include "lighting/light.h"
#include "lighting/material_settings.h"

using namespace smokedrift;

namespace {

using Args = std::vector<double>;

Args lightArgs(GLenum light, GLenum param) {
    for (const auto& c : recgl::calls())
        if ((c.name == "glLightfv" || c.name == "glLightf") && c.args[0] == light && c.args[1] == param)
            return Args(c.args.begin() + 2, c.args.end());
    return {};
}

}  // namespace

using LightingGl = RecordingGlTest;

TEST_F(LightingGl, FogApplySendsDefaultsAndSetColorAloneSendsNothing) {
    FogSettings f;
    f.setColor(0.5f, 0.25f, 0, 0);
    EXPECT_TRUE(recgl::calls().empty());
    FogSettings d;
    d.apply();
    EXPECT_EQ(recgl::names(), (std::vector<std::string>{"glFogi", "glHint", "glFogfv", "glFogf", "glFogf"}));
    EXPECT_EQ(recgl::calls()[0].args, (Args{double(GL_FOG_MODE), double(GL_LINEAR)}));
    EXPECT_EQ(recgl::calls()[1].args, (Args{double(GL_FOG_HINT), double(GL_NICEST)}));
    EXPECT_EQ(recgl::calls()[2].args, (Args{double(GL_FOG_COLOR), 0, 0, 0, 1}));
    EXPECT_EQ(recgl::calls()[3].args, (Args{double(GL_FOG_START), 0.2f}));
    EXPECT_EQ(recgl::calls()[4].args, (Args{double(GL_FOG_END), 2.0f}));
    EXPECT_EQ(recgl::count("glEnable"), 0u) << "apply never switches fog on";
}

TEST_F(LightingGl, MaterialWithDefaultsSendsScaledWhiteTerms) {
    const Light light;
    MaterialSettings m;
    m.apply(light);
    EXPECT_EQ(recgl::callsNamed("glLightModelfv")[0].args, (Args{double(GL_LIGHT_MODEL_AMBIENT), 0.25, 0.25, 0.25, 1}));
    EXPECT_EQ(lightArgs(GL_LIGHT0, GL_AMBIENT), (Args{0.25, 0.25, 0.25, 1}));
    EXPECT_EQ(lightArgs(GL_LIGHT0, GL_DIFFUSE), (Args{0.5, 0.5, 0.5, 1}));
    EXPECT_EQ(lightArgs(GL_LIGHT0, GL_SPECULAR), (Args{0.75, 0.75, 0.75, 1}));
    EXPECT_EQ(lightArgs(GL_LIGHT0, GL_SPOT_EXPONENT), (Args{1}));
    EXPECT_EQ(lightArgs(GL_LIGHT0, GL_SPOT_CUTOFF), (Args{180}));
    const Args specular = recgl::callsNamed("glMaterialfv")[0].args;
    EXPECT_EQ(specular[1], double(GL_SPECULAR));
    EXPECT_FLOAT_EQ(float(specular[2]), 0.99f);
    EXPECT_EQ(recgl::callsNamed("glMateriali")[0].args[2], 20);
}

TEST_F(LightingGl, ColourComponentsStayApartDespiteTheStorageOrder) {
    Light light;
    light.color.red = 1;
    light.color.green = 0;
    light.color.blue = 0.5f;
    MaterialSettings m;
    m.apply(light);
    EXPECT_EQ(recgl::callsNamed("glLightModelfv")[0].args, (Args{double(GL_LIGHT_MODEL_AMBIENT), 0.25, 0, 0.125, 1}));
    EXPECT_EQ(lightArgs(GL_LIGHT0, GL_DIFFUSE), (Args{0.5, 0, 0.25, 1}));
    recgl::reset();
    light.drawMarker();
    EXPECT_EQ(recgl::callsNamed("glColor3f")[0].args, (Args{1, 0, 0.5}));
    EXPECT_EQ(recgl::count("glBegin"), 9u) << "10 stacks: nine strips";
}

TEST_F(LightingGl, LightIndexAddressesItsOwnLightAndMoveToSendsAtOnce) {
    Light light;
    light.index = 3;
    light.enable();
    EXPECT_EQ(lightArgs(GL_LIGHT3, GL_POSITION), (Args{1, 1, 1, 1}));
    EXPECT_EQ(lightArgs(GL_LIGHT3, GL_SPOT_DIRECTION), (Args{0, 0, 0}));
    EXPECT_EQ(recgl::callsNamed("glEnable")[0].args[0], double(GL_LIGHT3));
    recgl::reset();
    light.moveTo(2, 3, 4);
    EXPECT_EQ(lightArgs(GL_LIGHT3, GL_POSITION), (Args{2, 3, 4, 1}));
    recgl::reset();
    MaterialSettings m;
    m.apply(light);
    EXPECT_FALSE(lightArgs(GL_LIGHT3, GL_DIFFUSE).empty());
    EXPECT_TRUE(lightArgs(GL_LIGHT0, GL_DIFFUSE).empty());
}

TEST_F(LightingGl, OutOfRangeLightIndexSendsNothing) {
    Light light;
    light.index = 8;
    light.enable();
    MaterialSettings().apply(light);
    EXPECT_TRUE(recgl::calls().empty());
}
