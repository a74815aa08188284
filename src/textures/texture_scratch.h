#pragma once
#include <cstdint>

#include "textures/texture.h"

namespace smokedrift {

// Scratch memory of the generator, in static storage so generating never allocates. Only one
// generation runs at a time (everything runs on the thread that owns the GL context).
struct TextureScratch {
    // SMOKE and FOG sum into this, laid out by the texture's own width so any accepted size fits.
    float accumulator[MAX_PIXELS];
    // The image exactly as it is uploaded: up to 65,536 pixels of 4 bytes.
    std::uint8_t pixelBuffer[MAX_PIXELS * 4];
};

extern TextureScratch textureScratch;

// Bytes per pixel of a format the generator fills; 0 for formats it leaves alone.
int bytesPerPixel(std::uint32_t format);

// Converts four channel values (0..255) into pixel `index` of the buffer, truncating toward zero.
// RGBA keeps all four; LUMINANCE_ALPHA writes the alpha value twice; other formats write nothing.
inline void storePixel(std::uint8_t* buffer, int bytes, int index, float r, float g, float b, float a) {
    std::uint8_t* p = buffer + static_cast<std::int64_t>(index) * bytes;
    if (bytes == 4) {
        p[0] = static_cast<std::uint8_t>(static_cast<int>(r));
        p[1] = static_cast<std::uint8_t>(static_cast<int>(g));
        p[2] = static_cast<std::uint8_t>(static_cast<int>(b));
        p[3] = static_cast<std::uint8_t>(static_cast<int>(a));
    } else if (bytes == 2) {
        p[0] = p[1] = static_cast<std::uint8_t>(static_cast<int>(a));
    }
}

}  // namespace smokedrift
