#include <cmath>
#include <cstdlib>

#include "base/random.h"
#include "textures/texture_scratch.h"
#include "textures/texture_types.h"

namespace smokedrift {

namespace {

constexpr int FOG_POINTS = 90;
constexpr int FOG_RADIUS = 64;

// Distance between a and b along an axis that wraps with the given period, so the image tiles.
int wrappedDistance(int a, int b, int period) {
    const int lo = a < b ? a : b;
    const int hi = a < b ? b : a;
    const int direct = std::abs(a - b);
    const int around = std::abs(lo + period - hi);
    return direct < around ? direct : around;
}

void sumDistances(Texture& texture, float* acc, int w, int h) {
    for (int k = 0; k < FOG_POINTS; ++k) {
        texture.blobRadius = FOG_RADIUS;
        // The points lie in 0..255 whatever the texture's size.
        const int px = static_cast<int>(randomUpTo(256.0));
        const int py = static_cast<int>(randomUpTo(256.0));
        // An empty image (one side 0, the other as long as it likes) has no rows worth walking.
        if (w <= 0) continue;
        for (int y = 0; y < h; ++y) {
            const int dy = wrappedDistance(y, py, h);
            float* row = acc + y * w;
            for (int x = 0; x < w; ++x) {
                if (k == 0) row[x] = 0.0f;
                const int dx = wrappedDistance(x, px, w);
                row[x] += static_cast<float>(std::sqrt(static_cast<double>(dx * dx + dy * dy)) / texture.blobRadius);
            }
        }
    }
}

}  // namespace

void generateFogTexture(Texture& texture, int bytes) {
    const int w = texture.width;
    const int h = texture.height;
    const int pixels = w * h;
    // Laid out by the texture's own width: every size the generator accepts fits. An empty image
    // still draws its points, so what comes after sees the same random sequence.
    float* acc = textureScratch.accumulator;
    sumDistances(texture, acc, w, h);
    if (pixels <= 0) return;

    float max = -10000000.0f;
    float min = 10000000.0f;
    for (int i = 0; i < pixels; ++i) {
        if (acc[i] > max) max = acc[i];
        if (acc[i] < min) min = acc[i];
    }
    const float range = std::fabs(max - min);
    std::uint8_t* buffer = textureScratch.pixelBuffer;
    for (int i = 0; i < pixels; ++i) {
        // Nearest is brightest. With no spread at all (a 1 × 1 image) every pixel is the nearest;
        // dividing by a range of 0 would give NaN bytes.
        const float cell = range > 0.0f ? 1.0f - (acc[i] - min) / range : 1.0f;
        const float v = cell * 255.0f;
        storePixel(buffer, bytes, i, v, v, v, v);
    }
}

}  // namespace smokedrift
