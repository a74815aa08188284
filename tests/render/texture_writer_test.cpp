#include "offscreen/texture_writer.h"
#include "render_test_support.h"
#include "textures/texture.h"

using namespace smokedrift;

namespace {

std::vector<std::string> words(std::initializer_list<const char*> list) { return {list.begin(), list.end()}; }

}  // namespace

TEST(TextureWriterOptions, TypesByNameInAnyCaseOrByCode) {
    EXPECT_EQ(textureTypeFromText("SMOKE"), SMOKE);
    EXPECT_EQ(textureTypeFromText("soft_square"), SOFT_SQUARE);
    EXPECT_EQ(textureTypeFromText("Ring"), RING);
    EXPECT_EQ(textureTypeFromText("9"), 9);
    EXPECT_EQ(textureTypeFromText("16"), -1);
    EXPECT_EQ(textureTypeFromText("-1"), -1);
    EXPECT_EQ(textureTypeFromText("SMOKEY"), -1);
    EXPECT_EQ(textureTypeFromText(""), -1);
}

TEST(TextureWriterOptions, DefaultsAndRefusals) {
    TextureOptions o;
    std::string error;
    ASSERT_TRUE(parseTextureOptions(words({"--texture", "fog", "--out", "f.png"}), o, error)) << error;
    EXPECT_EQ(o.type, FOG);
    EXPECT_EQ(o.width, 256);
    EXPECT_EQ(o.seed, 1u);
    ASSERT_TRUE(
        parseTextureOptions(words({"--texture", "3", "--out", "f.png", "--size", "1024x64", "--seed", "9"}), o, error));
    EXPECT_EQ(o.width, 1024);
    EXPECT_EQ(o.height, 64);
    EXPECT_EQ(o.seed, 9u);
    for (auto bad : {words({"--texture", "nothing", "--out", "f.png"}), words({"--texture", "FOG"}),
                     words({"--texture", "FOG", "--out", "f.png", "--size", "257x256"}),
                     words({"--texture", "FOG", "--out", "f.png", "--size", "0x4"}),
                     words({"--texture", "FOG", "--out", "f.png", "--seed", "-3"}),
                     words({"--texture", "FOG", "--out"}), words({"--texture", "FOG", "--frames", "3"})}) {
        TextureOptions refused;
        error.clear();
        EXPECT_FALSE(parseTextureOptions(bad, refused, error)) << bad.back();
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(error.find('\n'), std::string::npos) << "one line";
    }
}

using TextureWriter = EglTest;

TEST_F(TextureWriter, ImageIsTheGeneratedTextureWithItsBottomRowLast) {
    makeContext(16, 16);
    TextureOptions o;
    o.type = GRADIENT;
    o.width = 4;
    o.height = 8;
    std::vector<std::uint8_t> rgba;
    std::string error;
    ASSERT_TRUE(generateTextureRgba(o, rgba, error)) << error;
    ASSERT_EQ(rgba.size(), 4u * 8 * 4);
    EXPECT_EQ(rgba[0], 223) << "texture row 7 at the top: trunc(255 × 7 / 8)";
    EXPECT_EQ(rgba[7 * 16], 0) << "texture row 0 at the bottom";
    o.type = CHECK;
    o.width = o.height = 256;
    ASSERT_TRUE(generateTextureRgba(o, rgba, error));
    EXPECT_EQ(rgba[0], 255) << "top left is texture pixel (0, 255)";
    EXPECT_EQ(rgba[(255 * 256) * 4 + 3], 0) << "bottom left is texture pixel (0, 0), transparent";
}
