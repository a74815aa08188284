#include "base/blend_mode.h"

#include "base/gl.h"

namespace smokedrift {

namespace {
constexpr GLenum sourceFactors[BLEND_SOURCE_FACTORS] = {
    GL_ZERO,
    GL_ONE,
    GL_SRC_ALPHA,
    GL_ONE_MINUS_SRC_ALPHA,
    GL_DST_ALPHA,
    GL_ONE_MINUS_DST_ALPHA,
    GL_DST_COLOR,
    GL_ONE_MINUS_DST_COLOR,
    GL_SRC_ALPHA_SATURATE,
};
constexpr GLenum destFactors[BLEND_DEST_FACTORS] = {
    GL_ZERO,      GL_ONE,
    GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA,
    GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA,
    GL_SRC_COLOR, GL_ONE_MINUS_SRC_COLOR,
};
}  // namespace

void setBlendMode(int sourceIndex, int destIndex) {
    // A bad index would read past a table; leaving the blend state alone is the safe answer.
    if (sourceIndex < 0 || sourceIndex >= BLEND_SOURCE_FACTORS || destIndex < 0 || destIndex >= BLEND_DEST_FACTORS) {
        return;
    }
    glBlendFunc(sourceFactors[sourceIndex], destFactors[destIndex]);
}

}  // namespace smokedrift
