#pragma once
// Pixel formats as every backend numbers them (its configs from 1) and weighs them for
// ChoosePixelFormat: missing bits cost far more than surplus ones.
#include <cstring>

#include "platform/win32/win32_api.h"

namespace smokedrift {

// How far `have` is from `want`; the one measure for the backends' ChoosePixelFormat and the
// saver's search for a format with alpha bits (src/saver/graphics_context.cpp).
inline int pixelFormatDistance(const PIXELFORMATDESCRIPTOR& have, const PIXELFORMATDESCRIPTOR& want) {
    const auto gap = [](int h, int w) { return h >= w ? h - w : (w - h) * 64; };
    return gap(have.cColorBits, want.cColorBits) + gap(have.cAlphaBits, want.cAlphaBits) +
           gap(have.cDepthBits, want.cDepthBits) + gap(have.cStencilBits, want.cStencilBits) + have.cAccumBits;
}

// The closest of `count` formats, `describe(i)` giving format i + 1; with `sameBuffering`, only
// formats buffered as asked count. 0 when none does.
template <typename Describe>
int closestPixelFormat(int count, Describe describe, const PIXELFORMATDESCRIPTOR& want, bool sameBuffering) {
    int best = 0;
    int bestDistance = 0;
    for (int i = 0; i < count; ++i) {
        const PIXELFORMATDESCRIPTOR have = describe(i);
        if (sameBuffering && (have.dwFlags & PFD_DOUBLEBUFFER) != (want.dwFlags & PFD_DOUBLEBUFFER)) continue;
        const int d = pixelFormatDistance(have, want);
        if (best == 0 || d < bestDistance) {
            best = i + 1;
            bestDistance = d;
        }
    }
    return best;
}

// DescribePixelFormat over `count` formats: the number of formats, 0 for one that does not exist.
template <typename Describe>
int describePixelFormat(int count, Describe describe, int format, UINT size, LPPIXELFORMATDESCRIPTOR descriptor) {
    if (format < 1 || format > count) return 0;
    if (descriptor != nullptr) {
        const PIXELFORMATDESCRIPTOR f = describe(format - 1);
        std::memcpy(descriptor, &f, size < sizeof(f) ? size : sizeof(f));
    }
    return count;
}

}  // namespace smokedrift
