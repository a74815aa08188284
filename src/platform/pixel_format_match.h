#pragma once
// How far a pixel format is from the one asked for, as ChoosePixelFormat weighs it on every
// backend: missing bits cost far more than surplus ones.
#include "platform/win32_api.h"

namespace smokedrift {

inline int pixelFormatDistance(const PIXELFORMATDESCRIPTOR& have, const PIXELFORMATDESCRIPTOR& want) {
    const auto gap = [](int h, int w) { return h >= w ? h - w : (w - h) * 64; };
    return gap(have.cColorBits, want.cColorBits) + gap(have.cAlphaBits, want.cAlphaBits) +
           gap(have.cDepthBits, want.cDepthBits) + gap(have.cStencilBits, want.cStencilBits) + have.cAccumBits;
}

}  // namespace smokedrift
