#include <GL/gl.h>

#include <algorithm>
#include <cstring>

#include "base/random.h"
#include "gl_test.h"
#include "textures/texture.h"
#include "textures/texture_registry.h"

using namespace smokedrift;

namespace {

struct TextureGl : RecordingGlTest {
    void SetUp() override {
        RecordingGlTest::SetUp();
        resetTextureState();
    }
};

}  // namespace

TEST_F(TextureGl, FirstBindCreatesTheNameAndSetsWrapAndEnvironment) {
    Texture t;
    t.bind();
    EXPECT_EQ(recgl::names(), (std::vector<std::string>{"glGenTextures", "glBindTexture", "glTexParameteri",
                                                        "glTexParameteri", "glTexEnvf"}));
    EXPECT_EQ(recgl::callsNamed("glTexParameteri")[1].args,
              (std::vector<double>{GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT}));
    EXPECT_EQ(recgl::callsNamed("glTexEnvf")[0].args[2], double(GL_MODULATE));
}

TEST_F(TextureGl, RepeatedBindIsFreeAndChangesWaitForTheNextSwitch) {
    Texture a, b;
    a.bind();
    recgl::reset();
    a.wrap = GL_CLAMP;
    a.bind();
    EXPECT_TRUE(recgl::calls().empty());
    b.bind();
    a.bind();
    auto binds = recgl::callsNamed("glBindTexture");
    ASSERT_EQ(binds.size(), 2u);
    EXPECT_EQ(binds[1].args[1], a.glName);
    EXPECT_EQ(recgl::callsNamed("glTexParameteri").back().args[2], double(GL_CLAMP));
}

TEST_F(TextureGl, ABAIssuesThreeBinds) {
    Texture a, b;
    a.bind();
    b.bind();
    a.bind();
    EXPECT_EQ(recgl::count("glBindTexture"), 3u);
    EXPECT_EQ(recgl::count("glTexEnvf"), 3u);
}

TEST_F(TextureGl, BlendEnvironmentSendsTheColourOnEverySwitch) {
    Texture a, b;
    a.envMode = GL_BLEND;
    a.bind();
    b.bind();
    a.bind();
    auto colours = recgl::callsNamed("glTexEnvfv");
    ASSERT_EQ(colours.size(), 2u);
    EXPECT_EQ(colours[0].args, (std::vector<double>{GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, 1, 1, 1, 1}));
}

TEST_F(TextureGl, ZeroWrapAndEnvironmentLeaveThoseParameters) {
    Texture a;
    a.wrap = 0;
    a.envMode = 0;
    a.bind();
    EXPECT_EQ(recgl::names(), (std::vector<std::string>{"glGenTextures", "glBindTexture"}));
}

TEST_F(TextureGl, DestroyingOnlyDeletesANameThatExists) {
    { Texture never; }
    EXPECT_TRUE(recgl::calls().empty());
    {
        Texture used;
        used.bind();
    }
    EXPECT_EQ(recgl::count("glDeleteTextures"), 1u);
}

TEST_F(TextureGl, ShippedSmokeCallRegistersUploadsOnceWithoutMipmaps) {
    Texture t;
    seedRandom(1);
    EXPECT_EQ(t.generate(SMOKE, 256, 256, GL_RGBA, 0), 0);
    EXPECT_EQ(textureRegistry.count, 1);
    EXPECT_EQ(textureRegistry.entries[0], &t);
    EXPECT_EQ(t.registryIndex, 0);
    EXPECT_STREQ(textureRegistry.typeNames[0], "SMOKE");
    EXPECT_EQ(recgl::names(), (std::vector<std::string>{"glGenTextures", "glBindTexture", "glTexParameteri",
                                                        "glTexParameteri", "glTexEnvf", "glPixelStorei",
                                                        "glTexParameteri", "glTexParameteri", "glTexImage2D"}));
    EXPECT_EQ(recgl::callsNamed("glTexParameteri").back().args[2], double(GL_LINEAR));
    EXPECT_EQ(recgl::callsNamed("glTexImage2D")[0].args,
              (std::vector<double>{GL_TEXTURE_2D, 0, GL_RGBA, 256, 256, 0, GL_RGBA, GL_UNSIGNED_BYTE}));
}

TEST_F(TextureGl, SmokeImageIsAGreyCloudWhoseDensestPixelIsFull) {
    Texture t;
    seedRandom(1);
    t.generate(SMOKE, 256, 256, GL_RGBA, 0);
    const auto& px = recgl::lastUpload();
    ASSERT_EQ(px.size(), 256u * 256 * 4);
    int maxValue = 0;
    for (std::size_t i = 0; i < px.size(); i += 4) {
        ASSERT_EQ(px[i], px[i + 1]);
        ASSERT_EQ(px[i], px[i + 2]);
        ASSERT_EQ(px[i], px[i + 3]);
        maxValue = std::max<int>(maxValue, px[i]);
    }
    EXPECT_GE(maxValue, 254);
    // Denser in the middle than at the corners.
    EXPECT_GT(px[(128 * 256 + 128) * 4], px[0]);
    // The last blob's radius stays in the field: between 10 and 71 for a width of 256.
    EXPECT_GE(t.blobRadius, 10);
    EXPECT_LE(t.blobRadius, 71);
}

TEST_F(TextureGl, SmokeDraws13NumbersPerBlob) {
    Texture t;
    seedRandom(77);
    t.generate(SMOKE, 32, 32, GL_RGBA, 0);
    const int after = nextRandom();
    seedRandom(77);
    for (int i = 0; i < 1300; ++i) nextRandom();
    EXPECT_EQ(after, nextRandom());
}

TEST_F(TextureGl, LuminanceAlphaCarriesTheDensityTwice) {
    Texture rgba, la;
    seedRandom(3);
    rgba.generate(SMOKE, 64, 64, GL_RGBA, 0);
    const std::vector<unsigned char> full = recgl::lastUpload();
    seedRandom(3);
    la.generate(SMOKE, 64, 64, GL_LUMINANCE_ALPHA, 0);
    const auto& two = recgl::lastUpload();
    ASSERT_EQ(two.size(), 64u * 64 * 2);
    for (std::size_t i = 0; i < 64 * 64; ++i) {
        ASSERT_EQ(two[i * 2], full[i * 4 + 3]);
        ASSERT_EQ(two[i * 2 + 1], full[i * 4 + 3]);
    }
}

TEST_F(TextureGl, SizeLimitRefusesWithoutAnyCall) {
    Texture t;
    EXPECT_EQ(t.generate(SMOKE, 257, 256, GL_RGBA, 0), 1);
    EXPECT_TRUE(recgl::calls().empty());
    EXPECT_EQ(textureRegistry.count, 0);
    EXPECT_EQ(t.width, 257);
    EXPECT_EQ(t.height, 256);
    EXPECT_EQ(t.registryIndex, -1);
    EXPECT_EQ(t.generate(SMOKE, -4, -4, GL_RGBA, 0), 1) << "negative sizes must not pass the product test";
    EXPECT_EQ(t.generate(SMOKE, 70000, 70000, GL_RGBA, 0), 1) << "the product must not overflow";
}

TEST_F(TextureGl, WideShortSmokeStaysInsideItsScratchAndIsWellFormed) {
    Texture t;
    seedRandom(9);
    EXPECT_EQ(t.generate(SMOKE, 1024, 64, GL_RGBA, 0), 0);
    const auto& px = recgl::lastUpload();
    ASSERT_EQ(px.size(), 1024u * 64 * 4);
    EXPECT_GE(*std::max_element(px.begin(), px.end()), 254);
}

TEST_F(TextureGl, TinySmokeWithZeroRadiusBlobsStaysDefined) {
    // Below a width of 25 most radii truncate to 0; those blobs add nothing.
    Texture t;
    for (std::uint32_t seed = 0; seed < 50; ++seed) {
        seedRandom(seed);
        ASSERT_EQ(t.generate(SMOKE, 3, 3, GL_RGBA, 0), 0);
        const auto& px = recgl::lastUpload();
        const int top = *std::max_element(px.begin(), px.end());
        ASSERT_TRUE(top == 0 || top >= 254) << "seed " << seed;
        for (std::size_t i = 0; i < px.size(); i += 4) ASSERT_EQ(px[i], px[i + 3]);
    }
    seedRandom(1);
    t.blobCount = 0;
    t.generate(SMOKE, 8, 8, GL_RGBA, 0);
    for (unsigned char b : recgl::lastUpload()) ASSERT_EQ(b, 0);
}

TEST_F(TextureGl, MipmappedGenerationBuildsTheChainAfterLevelZero) {
    Texture t;
    t.generate(SMOKE, 16, 16, GL_RGBA, 1);
    EXPECT_EQ(recgl::callsNamed("glTexParameteri").back().args[2], double(GL_NEAREST_MIPMAP_NEAREST));
    auto n = recgl::names();
    ASSERT_EQ(n.back(), "gluBuild2DMipmaps");
    EXPECT_EQ(n[n.size() - 2], "glTexImage2D");
    EXPECT_EQ(recgl::callsNamed("gluBuild2DMipmaps")[0].args[1], 4);
}

TEST_F(TextureGl, UnfilledFormatsAndTypesWithoutImageUploadTransparentBlack) {
    Texture t;
    seedRandom(2);
    t.generate(SMOKE, 16, 16, GL_RGB, 0);
    for (unsigned char b : recgl::lastUpload()) ASSERT_EQ(b, 0);
    t.generate(9, 16, 16, GL_RGBA, 0);
    for (unsigned char b : recgl::lastUpload()) ASSERT_EQ(b, 0);
    EXPECT_STREQ(textureRegistry.typeNames[1], "");
}

TEST_F(TextureGl, RegistryStopsAtItsCapacityWhileGenerationStillSucceeds) {
    static Texture t;  // registry entries point at it after the test
    for (int i = 0; i < REGISTRY_CAPACITY + 5; ++i) {
        ASSERT_EQ(t.generate(X50, 2, 2, GL_RGBA, 0), 0);
    }
    EXPECT_EQ(textureRegistry.count, REGISTRY_CAPACITY);
    EXPECT_EQ(t.registryIndex, REGISTRY_CAPACITY - 1);
    EXPECT_STREQ(textureRegistry.typeNames[REGISTRY_CAPACITY - 1], "X50");
    recgl::reset();
    Texture::releaseAll();
    EXPECT_EQ(recgl::count("glDeleteTextures"), std::size_t(REGISTRY_CAPACITY));
}

TEST_F(TextureGl, ConstructingEmptiesTheTableButKeepsTheCount) {
    static Texture t;
    t.generate(SMOKE, 4, 4, GL_RGBA, 0);
    ASSERT_EQ(textureRegistry.count, 1);
    Texture another;
    EXPECT_EQ(textureRegistry.entries[0], nullptr);
    EXPECT_EQ(textureRegistry.typeNames[0][0], '\0');
    EXPECT_EQ(textureRegistry.count, 1);
}
