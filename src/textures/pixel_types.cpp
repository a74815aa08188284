#include <cmath>

#include "base/random.h"
#include "textures/texture_types.h"

namespace smokedrift {

namespace {

void fill(float rgba[4], float v) { rgba[0] = rgba[1] = rgba[2] = rgba[3] = v; }

// A side of one pixel has a half width of 0; measuring in units of 1 pixel there keeps the image
// defined (a division by zero would give NaN bytes).
float unitOf(int half) { return half > 0 ? static_cast<float>(half) : 1.0f; }

// Distance from the centre in units of the half width, limited to 1: a circle even when the
// texture is not square.
float sphereDistance(float fx, float fy, int w) {
    const int cx = static_cast<int>(w * 0.5);
    float d = static_cast<float>(std::sqrt(static_cast<double>(fx) * fx + static_cast<double>(fy) * fy) / unitOf(cx));
    if (d > 1.0f) d = 1.0f;
    return d;
}

// A tent that is 1 on the centre line and 0 at the edges. A one-pixel side is all centre line.
float tent(int p, int centre) {
    if (centre == 0) return 1.0f;
    return static_cast<float>(centre - std::abs(p - centre)) / static_cast<float>(centre);
}

void ring(int x, int y, int w, int h, float rgba[4]) {
    const int cx = static_cast<int>(w * 0.5);
    const int cy = static_cast<int>(h * 0.5);
    const double r = std::sqrt(static_cast<double>((x - cx) * (x - cx) + (y - cy) * (y - cy)));
    float v = static_cast<float>(r / 58);
    if (v > 1.0f) v = 9.0f - 8.0f * v;
    if (v < 0.0f) v = 0.0f;
    fill(rgba, v * 255.0f);
}

void star(int x, int y, int w, int h, float rgba[4]) {
    float v = tent(x, static_cast<int>(w * 0.5)) * tent(y, static_cast<int>(h * 0.5));
    if (v < 0.0f) v = 0.0f;
    if (v > 1.0f) v = 1.0f;
    fill(rgba, v * 255.0f);
}

// One or two draws: about one grain in a thousand is opaque black, one opaque white; the rest
// carry a warm sand colour whose alpha equals its red.
void sand(float rgba[4]) {
    const float u = static_cast<float>(randomUpTo(1.0));
    rgba[3] = 255.0f;
    if (u < 0.001) {
        rgba[0] = rgba[1] = rgba[2] = 0.0f;
    } else if (u < 0.002) {
        rgba[0] = rgba[1] = rgba[2] = 255.0f;
    } else {
        const double c = randomUpTo(127.0) + 127.0;
        rgba[0] = static_cast<float>(c);
        rgba[1] = static_cast<float>(c * 0.8);
        rgba[2] = rgba[0] * 0.6f;
        rgba[3] = rgba[0];
    }
}

void grain(float rgba[4]) {
    const float v = static_cast<float>(randomUpTo(1.0) * 255.0);
    rgba[0] = rgba[1] = rgba[2] = v;
    rgba[3] = (rgba[0] + rgba[1] + rgba[2]) / 3.0f;
}

// Full value over the middle half in each direction, falling to 0 at the border with rounded
// corners. Both axes are measured against the half width.
void softSquare(int x, int y, int w, float rgba[4]) {
    const float hw = static_cast<float>(static_cast<int>(w / 2));
    const int ax = std::abs(static_cast<int>(static_cast<float>(x) - hw));
    const int ay = std::abs(static_cast<int>(static_cast<float>(y) - hw));
    const float unit = hw > 0.0f ? hw : 1.0f;
    float sx = 2.0f * static_cast<float>(ax) / unit - 1.0f;
    float sy = 2.0f * static_cast<float>(ay) / unit - 1.0f;
    if (sx < 0.0f) sx = 0.0f;
    if (sy < 0.0f) sy = 0.0f;
    float d = 1.0f - std::sqrt(sx * sx + sy * sy);
    if (d < 0.0f) d = 0.0f;
    fill(rgba, d * 254.0f);
}

}  // namespace

bool computePixel(int type, int x, int y, float fx, float fy, int w, int h, float rgba[4]) {
    switch (type) {
    case SPHERE: {
        const float d = sphereDistance(fx, fy, w);
        fill(rgba, (1.0f - d * d) * 255.0f);
        return true;
    }
    case NOTSPHERE: {
        const float d = sphereDistance(fx, fy, w);
        fill(rgba, d * d * 255.0f);
        return true;
    }
    case GRADIENT: fill(rgba, static_cast<float>(static_cast<double>(y) / h * 255.0)); return true;
    case RING: ring(x, y, w, h, rgba); return true;
    case STAR: star(x, y, w, h, rgba); return true;
    case SAND: sand(rgba); return true;
    case BLACK:
        rgba[0] = rgba[1] = rgba[2] = 0.0f;
        rgba[3] = 255.0f;
        return true;
    case CHECK: fill(rgba, static_cast<float>((((x / 128) % 2) ^ ((y / 128) % 2)) * 255)); return true;
    case GRILLE: fill(rgba, (x % 8 == 0 || y % 8 == 0) ? 255.0f : 0.0f); return true;
    case GRAIN: grain(rgba); return true;
    case SOFT_SQUARE: softSquare(x, y, w, rgba); return true;
    default: return false;  // 9, X50, Y50 and unknown codes have no image
    }
}

}  // namespace smokedrift
