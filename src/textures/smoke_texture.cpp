#include <climits>
#include <cmath>
#include <cstdint>

#include "base/random.h"
#include "textures/texture_scratch.h"
#include "textures/texture_types.h"

namespace smokedrift {

namespace {

struct Blob {
    int radius;
    int cx;
    int cy;
};

// A centre held to what an int can hold: an image of no pixels may be 2^31 - 1 wide, and a
// spread of its blobs lands past that. No cone of such an image reaches a pixel.
int heldCentre(double c) {
    if (c >= INT_MAX) return INT_MAX;
    return c <= INT_MIN ? INT_MIN : static_cast<int>(c);
}

// The 13 draws of one blob, in their fixed order: radius, then six for cx, six for cy.
Blob drawBlob(int w, int h) {
    Blob b;
    b.radius = static_cast<int>(randomUpTo(w * 0.24) + w * 0.04);
    b.cx = heldCentre(randomGaussian(static_cast<float>(w * 0.17)) + w * 0.5);
    b.cy = heldCentre(randomGaussian(static_cast<float>(h * 0.17)) + h * 0.5);
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

namespace {

using ConeAdder = void (*)(float* acc, int w, int h, const Blob& b);

// Sums the blobs' cones into the accumulator with the given adder and writes the image: the draws,
// the radius bookkeeping and the scaling are the same whichever way a cone is added.
void generateWith(ConeAdder addCone, Texture& texture, int bytes) {
    const int w = texture.width;
    const int h = texture.height;
    float* acc = textureScratch.accumulator;
    for (int i = 0; i < w * h; ++i) acc[i] = 0.0f;
    for (int k = 0; k < texture.blobCount; ++k) {
        const Blob b = drawBlob(w, h);
        texture.blobRadius = b.radius;
        if (b.radius > 0) {  // a blob without extent adds nothing (the quotient would be undefined)
            addCone(acc, w, h, b);
        }
    }
    writeDensity(w, h, bytes);
}

// The rule as written: every pixel, one root each.
void addConeEverywhere(float* acc, int w, int h, const Blob& b) {
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::int64_t dx = x - b.cx;
            const std::int64_t dy = y - b.cy;
            float d = static_cast<float>(std::sqrt(static_cast<double>(dx * dx + dy * dy)) / b.radius);
            if (d > 1.0f) d = 1.0f;
            acc[y * w + x] += 1.0f - d;
        }
    }
}

}  // namespace

void generateSmokeReference(Texture& texture, int bytes) { generateWith(&addConeEverywhere, texture, bytes); }

namespace {

// 1 - d for every squared distance k below r², as the reference computes it: the root and the
// quotient in double, rounded to float. 65,536 entries cover every radius up to 256.
constexpr int CONE_TABLE_SIZE = 65536;
constinit float coneTable[CONE_TABLE_SIZE] = {};

inline float coneAt(std::int64_t k, int radius) {
    return 1.0f - static_cast<float>(std::sqrt(static_cast<double>(k)) / radius);
}

// Adds one cone. Outside the circle 1 - d is exactly 0 and adding 0 changes no float, so only
// the pixels strictly inside it are visited; that alone skips most of the image.
void addCone(float* acc, int w, int h, const Blob& b) {
    const int r = b.radius;
    const std::int64_t r2 = static_cast<std::int64_t>(r) * r;
    const bool tabled = r2 <= CONE_TABLE_SIZE;
    if (tabled) {
        for (int k = 0; k < r2; ++k) coneTable[k] = coneAt(k, r);
    }
    const int y0 = b.cy - r + 1 > 0 ? b.cy - r + 1 : 0;
    const int y1 = b.cy + r - 1 < h - 1 ? b.cy + r - 1 : h - 1;
    for (int y = y0; y <= y1; ++y) {
        const int dy = y - b.cy;
        const std::int64_t room = r2 - static_cast<std::int64_t>(dy) * dy;  // dx² must stay below this
        if (room <= 0) continue;
        int m = static_cast<int>(std::sqrt(static_cast<double>(room)));
        while (static_cast<std::int64_t>(m) * m >= room) --m;
        while (static_cast<std::int64_t>(m + 1) * (m + 1) < room) ++m;
        const int x0 = b.cx - m > 0 ? b.cx - m : 0;
        const int x1 = b.cx + m < w - 1 ? b.cx + m : w - 1;
        float* row = acc + static_cast<std::int64_t>(y) * w;
        const std::int64_t dy2 = static_cast<std::int64_t>(dy) * dy;
        if (tabled) {
            for (int x = x0; x <= x1; ++x) {
                const int dx = x - b.cx;
                row[x] += coneTable[dx * dx + static_cast<int>(dy2)];
            }
        } else {
            // Wide radii: a cone is symmetric about its centre column, so each root serves the
            // pixel on either side.
            for (int dx = 0; dx <= m; ++dx) {
                const int left = b.cx - dx;
                const int right = b.cx + dx;
                if (right < x0 && left < x0) break;
                if (left > x1 && right > x1) continue;
                const float c = coneAt(static_cast<std::int64_t>(dx) * dx + dy2, r);
                if (right >= x0 && right <= x1) row[right] += c;
                if (dx != 0 && left >= x0 && left <= x1) row[left] += c;
            }
        }
    }
}

}  // namespace

void generateSmoke(Texture& texture, int bytes) { generateWith(&addCone, texture, bytes); }

}  // namespace smokedrift
