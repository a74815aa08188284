#include <cstdint>
#include <cstring>

#include "base/gl.h"
#include "base/random.h"
#include "textures/texture.h"
#include "textures/texture_registry.h"
#include "textures/texture_scratch.h"
#include "textures/texture_types.h"

namespace smokedrift {

constinit TextureScratch textureScratch{};

int bytesPerPixel(std::uint32_t format) {
    if (format == GL_RGBA) return 4;
    if (format == GL_LUMINANCE_ALPHA) return 2;
    return 0;
}

float randomGaussian(float sigma) {
    const double s = sigma * 1.414;
    double sum = 0;
    for (int i = 0; i < 6; ++i) {
        sum += randomUpTo(1.0);
    }
    return static_cast<float>((sum - 3.0) * s);
}

namespace {

void generatePerPixel(int type, int w, int h, int bytes) {
    // An empty image computes no pixel (and so draws nothing), however long its other side: a
    // 0 × 2^30 image would walk a billion empty rows.
    if (w <= 0 || h <= 0) return;
    const int cx = static_cast<int>(w * 0.5);
    const int cy = static_cast<int>(h * 0.5);
    std::uint8_t* buffer = textureScratch.pixelBuffer;
    float rgba[4];
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (computePixel(type, x, y, static_cast<float>(x - cx), static_cast<float>(y - cy), w, h, rgba)) {
                storePixel(buffer, bytes, y * w + x, rgba[0], rgba[1], rgba[2], rgba[3]);
            }
        }
    }
}

}  // namespace

int Texture::generate(int type, int width_, int height_, int format_, int mipmapped) {
    width = width_;
    height = height_;
    format = static_cast<std::uint32_t>(format_);
    // Negative sizes would slip through the product test; refuse them with it.
    if (width < 0 || height < 0 || static_cast<std::int64_t>(width) * height > MAX_PIXELS) {
        return 1;
    }
    registerTexture(*this, type);

    // Pixels no rule writes (types without an image, formats the generator does not fill) are
    // transparent black rather than whatever the last generation left.
    const int bytes = bytesPerPixel(format);
    std::memset(textureScratch.pixelBuffer, 0, static_cast<std::size_t>(width) * height * 4);
    if (type == SMOKE) {
        generateSmoke(*this, bytes);
    } else if (type == FOG) {
        generateFogTexture(*this, bytes);
    } else {
        generatePerPixel(type, width, height, bytes);
    }

    bind();
    setFilters(mipmapped);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), width, height, 0, format, GL_UNSIGNED_BYTE,
                 textureScratch.pixelBuffer);
    if (mipmapped) {
        gluBuild2DMipmaps(GL_TEXTURE_2D, 4, width, height, format, GL_UNSIGNED_BYTE, textureScratch.pixelBuffer);
    }
    finishRegistration();
    return 0;
}

}  // namespace smokedrift
