#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "base/random.h"
#include "gl_test.h"
#include "textures/texture.h"
#include "textures/texture_registry.h"
#include "textures/texture_type_names.h"
#include "textures/texture_types.h"

using namespace smokedrift;

namespace {

struct Image {
    std::vector<unsigned char> bytes;
    int w = 0;
    int bpp = 4;
    const unsigned char* at(int x, int y) const { return &bytes[(static_cast<std::size_t>(y) * w + x) * bpp]; }
    int value(int x, int y) const { return at(x, y)[0]; }
};

struct TextureTypes : RecordingGlTest {
    void SetUp() override {
        RecordingGlTest::SetUp();
        resetTextureState();
        seedRandom(5);
    }
    Image make(int type, int w, int h, int format = GL_RGBA) {
        EXPECT_EQ(texture.generate(type, w, h, format, 0), 0);
        Image img{recgl::lastUpload(), w, format == GL_RGBA ? 4 : 2};
        EXPECT_EQ(img.bytes.size(), static_cast<std::size_t>(w) * h * img.bpp);
        return img;
    }
    Texture texture;
};

// Number of draws a generation from seed 11 made, found by matching the outputs that follow it
// against the generator's sequence from the same seed.
int countDraws(Texture& t, int type, int w, int h) {
    seedRandom(11);
    t.generate(type, w, h, GL_RGBA, 0);
    const int next[3] = {nextRandom(), nextRandom(), nextRandom()};
    seedRandom(11);
    std::vector<int> sequence(4 * 65536 + 3);
    for (int& v : sequence) v = nextRandom();
    for (std::size_t n = 0; n + 3 <= sequence.size(); ++n)
        if (sequence[n] == next[0] && sequence[n + 1] == next[1] && sequence[n + 2] == next[2]) return int(n);
    return -1;
}

}  // namespace

TEST_F(TextureTypes, TheNameTableSaysWhichCodesHaveAnImage) {
    for (int code = 0; code <= HIGHEST_TEXTURE_TYPE; ++code) {
        const TextureTypeName* entry = nullptr;
        for (const TextureTypeName& t : textureTypeNames)
            if (t.code == code) entry = &t;
        if (code == SMOKE || code == FOG) {  // images made by rules of their own
            ASSERT_TRUE(entry && entry->drawn);
            continue;
        }
        float rgba[4];
        EXPECT_EQ(computePixel(code, 1, 1, 0, 0, 4, 4, rgba), entry != nullptr && entry->drawn) << "code " << code;
    }
}

TEST_F(TextureTypes, SphereIsFullAtTheCentreAndEmptyFromTheHalfWidthOn) {
    const Image s = make(SPHERE, 256, 256);
    for (int c = 0; c < 4; ++c) EXPECT_EQ(s.at(128, 128)[c], 255);
    for (auto [x, y] : {std::pair{0, 0}, {255, 0}, {0, 255}, {255, 255}, {0, 128}, {128, 0}}) {
        EXPECT_EQ(s.value(x, y), 0) << x << "," << y;
    }
    EXPECT_GT(s.value(128 + 64, 128), 100);
    const Image n = make(NOTSPHERE, 256, 256);
    EXPECT_EQ(n.value(128, 128), 0);
    EXPECT_EQ(n.value(0, 0), 255);
    EXPECT_EQ(n.value(0, 128), 255);
    // The two add up to 255 before truncation, so to 254 or 255 after.
    for (int y = 0; y < 256; y += 5)
        for (int x = 0; x < 256; x += 3) ASSERT_GE(s.value(x, y) + n.value(x, y), 254) << x << "," << y;
}

TEST_F(TextureTypes, SphereOnAWideTextureIsACircleInHalfWidthUnits) {
    const Image s = make(SPHERE, 128, 32);
    // cx = 64: 16 pixels above the centre is a quarter of the unit, both axes alike.
    const int quarter = static_cast<int>((1 - 0.0625f) * 255);
    EXPECT_EQ(s.value(64 + 16, 16), quarter);
    EXPECT_EQ(s.value(64, 0), quarter);
    EXPECT_EQ(s.value(0, 16), 0) << "a full half width away";
}

TEST_F(TextureTypes, GradientRingAndStarFollowTheirRules) {
    const Image g = make(GRADIENT, 8, 256);
    EXPECT_EQ(g.value(3, 0), 0);
    EXPECT_EQ(g.value(3, 128), 127);
    EXPECT_EQ(g.value(7, 255), 254);
    for (int x = 0; x < 8; ++x) ASSERT_EQ(g.value(x, 200), g.value(0, 200));

    const Image r = make(RING, 256, 256);
    EXPECT_EQ(r.value(128, 128), 0);
    EXPECT_EQ(r.value(128 + 29, 128), 127);  // halfway up the climb
    EXPECT_EQ(r.value(128 + 58, 128), 255);
    EXPECT_EQ(r.value(128, 128 - 66), 0);  // past 65.25 pixels
    EXPECT_EQ(r.value(0, 0), 0);
    const Image small = make(RING, 64, 64);
    EXPECT_EQ(small.value(32 + 29, 32), 127) << "the ring is in absolute pixels, whatever the size";

    const Image s = make(STAR, 256, 256);
    EXPECT_EQ(s.value(128, 128), 255);
    EXPECT_EQ(s.value(0, 128), 0);
    EXPECT_EQ(s.value(128, 0), 0);
    EXPECT_EQ(s.value(64, 128), 127);
    EXPECT_EQ(s.value(64, 64), 63);
}

TEST_F(TextureTypes, CheckGrilleAndSoftSquareSamplePixels) {
    const Image c = make(CHECK, 256, 256);
    EXPECT_EQ(c.value(0, 0), 0);
    EXPECT_EQ(c.at(0, 0)[3], 0) << "transparent black";
    EXPECT_EQ(c.value(128, 0), 255);
    EXPECT_EQ(c.value(0, 128), 255);
    EXPECT_EQ(c.value(128, 128), 0);
    EXPECT_EQ(c.value(127, 127), 0);

    const Image g = make(GRILLE, 64, 64);
    EXPECT_EQ(g.value(0, 0), 255);
    EXPECT_EQ(g.value(1, 1), 0);
    EXPECT_EQ(g.value(8, 3), 255);
    EXPECT_EQ(g.value(3, 16), 255);
    EXPECT_EQ(g.at(7, 9)[3], 0);

    const Image q = make(SOFT_SQUARE, 256, 256);
    EXPECT_EQ(q.value(128, 128), 254);
    EXPECT_EQ(q.value(64, 64), 254);
    EXPECT_EQ(q.value(0, 128), 0);
    EXPECT_GT(q.value(32, 128), 0);
    EXPECT_LT(q.value(32, 128), 254);
}

TEST_F(TextureTypes, BlackIsOpaqueInRgbaAndFullInLuminanceAlpha) {
    const Image rgba = make(BLACK, 16, 16);
    for (std::size_t i = 0; i < rgba.bytes.size(); i += 4) {
        ASSERT_EQ(rgba.bytes[i], 0);
        ASSERT_EQ(rgba.bytes[i + 1], 0);
        ASSERT_EQ(rgba.bytes[i + 2], 0);
        ASSERT_EQ(rgba.bytes[i + 3], 255);
    }
    const Image la = make(BLACK, 16, 16, GL_LUMINANCE_ALPHA);
    for (unsigned char b : la.bytes) ASSERT_EQ(b, 255);
    EXPECT_STREQ(textureRegistry.typeNames[0], "") << "BLACK records no name";
}

TEST_F(TextureTypes, SandAndGrainCarryTheirColourRelations) {
    const Image s = make(SAND, 128, 128);
    int grains = 0;
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) {
            const unsigned char* p = s.at(x, y);
            if (p[3] == 255 && p[0] == p[1] && (p[0] == 0 || p[0] == 255)) {
                ++grains;
                continue;
            }
            ASSERT_GE(p[0], 127);
            ASSERT_LE(p[0], 254);
            ASSERT_EQ(p[3], p[0]) << "alpha equals red";
            ASSERT_NEAR(p[1], p[0] * 0.8, 1.0);
            ASSERT_NEAR(p[2], p[0] * 0.6, 1.0);
        }
    EXPECT_LT(grains, 100) << "about two grains in a thousand";
    const Image g = make(GRAIN, 64, 64);
    for (std::size_t i = 0; i < g.bytes.size(); i += 4) {
        ASSERT_EQ(g.bytes[i], g.bytes[i + 2]);
        ASSERT_NEAR(g.bytes[i + 3], g.bytes[i], 1);
    }
}

TEST_F(TextureTypes, RandomDrawsPerType) {
    EXPECT_EQ(countDraws(texture, GRAIN, 16, 8), 128);
    EXPECT_EQ(countDraws(texture, FOG, 16, 8), 180);
    EXPECT_EQ(countDraws(texture, FOG, 0, 8), 180);  // an empty image places its points all the same
    EXPECT_EQ(countDraws(texture, FOG, 16, 0), 180);
    EXPECT_EQ(countDraws(texture, FOG, 0, 1 << 30), 180);  // and does not walk a billion empty rows
    for (int type : std::vector<int>{SPHERE, NOTSPHERE, GRADIENT, RING, STAR, BLACK, CHECK, GRILLE, SOFT_SQUARE, 9})
        EXPECT_EQ(countDraws(texture, type, 16, 8), 0) << "type " << type;
    // SAND: one draw per pixel, a second for every pixel that is not a black or white grain.
    const int sandDraws = countDraws(texture, SAND, 64, 32);
    const auto& px = recgl::lastUpload();
    int grains = 0;
    for (std::size_t i = 0; i < px.size(); i += 4)
        if (px[i + 3] == 255 && (px[i] == 0 || px[i] == 255) && px[i] == px[i + 1]) ++grains;
    EXPECT_EQ(sandDraws, 2 * 64 * 32 - grains);
}

TEST_F(TextureTypes, FogSpansTheFullRangeAndTilesWithoutSeams) {
    const Image f = make(FOG, 256, 256);
    int lo = 255, hi = 0;
    for (std::size_t i = 0; i < f.bytes.size(); i += 4) {
        ASSERT_EQ(f.bytes[i], f.bytes[i + 3]);
        lo = std::min<int>(lo, f.bytes[i]);
        hi = std::max<int>(hi, f.bytes[i]);
    }
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 255);
    EXPECT_EQ(texture.blobRadius, 64);
    // Across the wrap the image steps no more than between any two neighbours inside it.
    int inside = 0, acrossX = 0, acrossY = 0;
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b + 1 < 256; ++b) {
            inside = std::max(inside, std::abs(f.value(b, a) - f.value(b + 1, a)));
            inside = std::max(inside, std::abs(f.value(a, b) - f.value(a, b + 1)));
        }
        acrossX = std::max(acrossX, std::abs(f.value(0, a) - f.value(255, a)));
        acrossY = std::max(acrossY, std::abs(f.value(a, 0) - f.value(a, 255)));
    }
    EXPECT_LE(acrossX, inside);
    EXPECT_LE(acrossY, inside);
    EXPECT_LE(inside, 8);
}

TEST_F(TextureTypes, OneByOneAndOnePixelWideImagesAreDefined) {
    // Half sizes of 0 would divide by zero; each type still gives a sensible image.
    EXPECT_EQ(make(SPHERE, 1, 1).value(0, 0), 255);
    EXPECT_EQ(make(NOTSPHERE, 1, 1).value(0, 0), 0);
    EXPECT_EQ(make(STAR, 1, 1).value(0, 0), 255);
    EXPECT_EQ(make(SOFT_SQUARE, 1, 1).value(0, 0), 254);
    EXPECT_EQ(make(FOG, 1, 1).value(0, 0), 255);
    EXPECT_EQ(make(GRADIENT, 1, 1).value(0, 0), 0);
    const Image column = make(STAR, 1, 9);
    EXPECT_EQ(column.value(0, 4), 255);
    EXPECT_EQ(column.value(0, 0), 0);
    const Image row = make(STAR, 9, 1);
    EXPECT_EQ(row.value(4, 0), 255);
    EXPECT_EQ(row.value(6, 0), 127);
    EXPECT_EQ(row.value(8, 0), 0);
    const Image sphereColumn = make(SPHERE, 1, 5);
    EXPECT_EQ(sphereColumn.value(0, 2), 255);
    EXPECT_EQ(sphereColumn.value(0, 0), 0);
    const Image fogRow = make(FOG, 7, 1);
    int top = 0;
    for (int x = 0; x < 7; ++x) top = std::max(top, fogRow.value(x, 0));
    EXPECT_EQ(top, 255);
}
