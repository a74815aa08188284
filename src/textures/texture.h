#pragma once
#include <cstdint>

namespace smokedrift {

// Texture type codes of the procedural generator.
enum TextureType : int {
    SPHERE = 0,
    NOTSPHERE = 1,
    GRADIENT = 2,
    SMOKE = 3,
    FOG = 4,
    RING = 5,
    STAR = 6,
    SAND = 7,
    BLACK = 8,
    CHECK = 10,
    GRILLE = 11,
    X50 = 12,
    Y50 = 13,
    GRAIN = 14,
    SOFT_SQUARE = 15,
};

constexpr int MAX_PIXELS = 65536;

// One OpenGL 2D texture and the parameters that decide how it is generated, uploaded and bound.
// The OpenGL name is created lazily, at the first bind.
class Texture {
public:
    Texture();
    virtual ~Texture();

    void bind();
    static void setFilters(int mipmapped);
    static void releaseAll();

    // 0 when the image was computed and uploaded, 1 when refused for its size.
    int generate(int type, int width, int height, int format, int mipmapped);

    std::uint32_t glName;
    std::uint32_t format;
    std::uint32_t wrap;
    std::uint32_t envMode;
    int width;
    int height;
    int blobCount;
    int blobRadius;
    int registryIndex;
};

// Name of the texture most recently bound through bind(); all bits set matches no texture.
extern std::uint32_t boundTextureName;
// Environment colour sent when a texture's envMode is GL_BLEND.
extern float envColor[4];

}  // namespace smokedrift
