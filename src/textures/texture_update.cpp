#include <cmath>
#include <cstdint>
#include <cstring>

#include "base/gl.h"
#include "base/random.h"
#include "textures/texture.h"
#include "textures/texture_scratch.h"

namespace smokedrift {

namespace {

constinit int columnNoise[MAX_NOISE_WIDTH] = {};

// An offset centred on 0: in [-half, amount - half) before truncation.
int lineOffset(int amount, int half) { return static_cast<int>(randomUpTo(amount) - half); }

}  // namespace

float clampToRange(float value, float low, float high) {
    if (!(value >= low)) return low;  // NaN fails every comparison: it comes out as low
    if (value > high) return high;
    return value;
}

void Texture::updateNoise(int flags, int amount, int radius) {
    const int w = width;
    const int h = height;
    // The column table and the pixel buffer are fixed in size; a refused generation can leave
    // larger (or negative) sizes in the fields, and writing them would run past the scratch.
    if (w < 0 || h < 0 || w > MAX_NOISE_WIDTH || static_cast<std::int64_t>(w) * h > MAX_PIXELS) {
        return;
    }
    const int half = static_cast<int>(amount * 0.5);
    const int c = static_cast<int>(w * 0.5);  // the fade's centre is (c, c): both from the width
    if (radius < 1) radius = 1;

    const int bytes = bytesPerPixel(format);
    std::uint8_t* buffer = textureScratch.pixelBuffer;
    if (bytes == 0) {
        // A format the generator does not fill is sent as transparent black, as generate does.
        std::memset(buffer, 0, static_cast<std::size_t>(w) * h * 4);
    }
    if (flags & NOISE_COLUMNS) {
        for (int x = 0; x < w; ++x) columnNoise[x] = lineOffset(amount, half);
    }
    // A picture without columns has no pixel to add noise to, however many rows it claims (a
    // 0 × 2^30 texture would draw a billion row offsets).
    const int rows = w > 0 ? h : 0;
    for (int y = 0; y < rows; ++y) {
        const int rowNoise = (flags & NOISE_ROWS) ? lineOffset(amount, half) : 0;
        for (int x = 0; x < w; ++x) {
            float v = 255.0f;
            if (flags & NOISE_COLUMNS) v = static_cast<float>(columnNoise[x]) + v;
            if (flags & NOISE_ROWS) v = static_cast<float>(rowNoise) + v;
            if (flags & NOISE_PIXELS) v = static_cast<float>(randomUpTo(amount) - half) + v;
            if (flags & RADIAL_FADE) {
                const double r = std::sqrt(static_cast<double>((x - c) * (x - c) + (y - c) * (y - c))) / radius;
                float f = static_cast<float>(1.0 - r * r);
                if (f < 0.0f) f = 0.0f;
                v = v * f;
            }
            if ((flags & DARKEN_ODD_COLUMNS) && (x % 2 == 1)) v = v - static_cast<float>(amount);
            if ((flags & DARKEN_ODD_ROWS) && (y % 2 == 1)) v = v - static_cast<float>(amount);
            v = clampToRange(v, 0.0f, 255.0f);
            storePixel(buffer, bytes, y * w + x, v, v, v, v);
        }
    }
    bind();
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, w, h, format, GL_UNSIGNED_BYTE, buffer);
}

}  // namespace smokedrift
