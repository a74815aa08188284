#include "view/viewport.h"

#include <cmath>

#include "base/gl.h"

namespace smokedrift {

Viewport::Viewport() { updatePixelRect(); }

void Viewport::setRelativeRect(double l, double b, double r, double t) {
    relLeft = static_cast<float>(l);
    relBottom = static_cast<float>(b);
    relRight = static_cast<float>(r);
    relTop = static_cast<float>(t);
}

void Viewport::setArea(double l, double b, double r, double t) {
    areaLeft = static_cast<float>(l);
    areaBottom = static_cast<float>(b);
    areaRight = static_cast<float>(r);
    areaTop = static_cast<float>(t);
    areaWidth = areaRight - areaLeft;
    areaHeight = areaTop - areaBottom;
}

void Viewport::updatePixelRect() {
    pixelLeft = relLeft * areaWidth + areaLeft;
    pixelBottom = relBottom * areaHeight + areaBottom;
    pixelRight = areaLeft + areaWidth * relRight;
    pixelTop = areaBottom + areaHeight * relTop;
    pixelWidth = pixelRight - pixelLeft;
    pixelHeight = pixelTop - pixelBottom;
}

// Pixel values may hold fractions; OpenGL gets them truncated toward zero.
void Viewport::applyViewport() const {
    glViewport(static_cast<GLint>(pixelLeft), static_cast<GLint>(pixelBottom), static_cast<GLsizei>(pixelWidth),
               static_cast<GLsizei>(pixelHeight));
}

void Viewport::applyViewportScaled(float sx, float sy) const {
    const int left = static_cast<int>(pixelLeft);
    const int bottom = static_cast<int>(pixelBottom);
    const int right = left + static_cast<int>(pixelWidth);
    const int top = bottom + static_cast<int>(pixelHeight);
    const auto scaled = [](int v, float s) { return static_cast<GLint>(std::lround(static_cast<float>(v) * s)); };
    const GLint x = scaled(left, sx);
    const GLint y = scaled(bottom, sy);
    glViewport(x, y, scaled(right, sx) - x, scaled(top, sy) - y);
}

void Viewport::applyOverlayProjection() const {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(static_cast<int>(pixelLeft), static_cast<int>(pixelRight), static_cast<int>(pixelBottom),
            static_cast<int>(pixelTop), -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

}  // namespace smokedrift
