#include <cmath>
#include <cstdint>

#include "animation/random.h"
#include "textures/texture_scratch.h"
#include "textures/texture_types.h"

namespace smokedrift {

namespace {

struct Blob {
    int radius;
    int cx;
    int cy;
};

// The 13 draws of one blob, in their fixed order: radius, then six for cx, six for cy.
Blob drawBlob(int w, int h) {
    Blob b;
    b.radius = static_cast<int>(randomUpTo(w * 0.24) + w * 0.04);
    b.cx = static_cast<int>(randomGaussian(static_cast<float>(w * 0.17)) + w * 0.5);
    b.cy = static_cast<int>(randomGaussian(static_cast<float>(h * 0.17)) + h * 0.5);
    return b;
}

// Scales the summed density so the densest pixel becomes 255 and writes all four channels.
void writeDensity(int w, int h, int bytes) {
    const float* acc = textureScratch.accumulator;
    const int pixels = w * h;
    // Cone sums only grow, so the largest value seen while summing is the largest final value.
    float max = -9999.0f;
    for (int i = 0; i < pixels; ++i) {
        if (acc[i] > max) max = acc[i];
    }
    if (!(max > 0.0f)) {
        return;  // no blob reached any pixel: the buffer stays transparent black, never NaN
    }
    const float scale = static_cast<float>(255.0 / max);
    std::uint8_t* buffer = textureScratch.pixelBuffer;
    for (int i = 0; i < pixels; ++i) {
        const float v = scale * acc[i];
        storePixel(buffer, bytes, i, v, v, v, v);
    }
}

}  // namespace

void generateSmokeReference(Texture& texture, int bytes) {
    const int w = texture.width;
    const int h = texture.height;
    float* acc = textureScratch.accumulator;
    for (int i = 0; i < w * h; ++i) acc[i] = 0.0f;

    for (int k = 0; k < texture.blobCount; ++k) {
        const Blob b = drawBlob(w, h);
        texture.blobRadius = b.radius;
        if (b.radius == 0) {
            continue;  // a blob without extent adds nothing (the quotient would be undefined)
        }
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const int dx = x - b.cx;
                const int dy = y - b.cy;
                float d = static_cast<float>(std::sqrt(static_cast<double>(dx * dx + dy * dy)) / b.radius);
                if (d > 1.0f) d = 1.0f;
                acc[y * w + x] += 1.0f - d;
            }
        }
    }
    writeDensity(w, h, bytes);
}

void generateSmoke(Texture& texture, int bytes) { generateSmokeReference(texture, bytes); }

}  // namespace smokedrift
