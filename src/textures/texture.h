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

// Flag bits of Texture::updateNoise, applied in this order.
enum NoiseFlag : int {
    NOISE_COLUMNS = 1,        // add an offset drawn per column
    NOISE_ROWS = 2,           // add an offset drawn per row
    NOISE_PIXELS = 4,         // add an offset drawn per pixel
    RADIAL_FADE = 8,          // fade to 0 at `radius` pixels from the centre
    DARKEN_ODD_COLUMNS = 16,  // subtract `amount` in odd columns
    DARKEN_ODD_ROWS = 32,     // subtract `amount` in odd rows
};

// Widest texture updateNoise accepts: one column offset per column.
constexpr int MAX_NOISE_WIDTH = 256;

// One OpenGL 2D texture and the parameters that decide how it is generated, uploaded and bound.
// The OpenGL name is created lazily, at the first bind.
class Texture {
public:
    Texture();
    virtual ~Texture();

    void bind();
    // Deletes the OpenGL texture, if any, and forgets its name, so a later bind makes a new one.
    void release();
    static void setFilters(int mipmapped);
    static void releaseAll();

    // 0 when the image was computed and uploaded, 1 when refused for its size.
    int generate(int type, int width, int height, int format, int mipmapped);

    // Replaces the whole image of a generated texture with a new grey one: white, darkened and
    // streaked by the NoiseFlag terms, sent with glTexSubImage2D. Does nothing for sizes its
    // scratch memory cannot hold (a refused generation leaves them in the fields).
    void updateNoise(int flags, int amount, int radius);

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

// low below low, high above high, else value; a value that is not a number counts as below.
float clampToRange(float value, float low, float high);

// Name of the texture most recently bound through bind(); all bits set matches no texture.
extern std::uint32_t boundTextureName;
// Environment colour sent when a texture's envMode is GL_BLEND.
extern float envColor[4];

// The shared state as a new process has it: nothing bound, a white environment colour, an empty
// registry. A scene starting in a new context starts here: the bind cache mirrors one context.
void resetTextureState();

}  // namespace smokedrift
