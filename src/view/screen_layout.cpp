#include "view/screen_layout.h"

#include "base/gl.h"

namespace smokedrift {

ScreenLayout::ScreenLayout() {
    fadeAlpha = 1;
    setSize(100, 100);
    setFadeColor(0, 0, 0, 1);
    viewportCount = 1;
    currentViewport = 0;
    viewports[0].letterboxed = 0;
    viewports[0].setRelativeRect(0, 0, 1, 1);
    viewports[0].setArea(left, bottom, right, top);
    viewports[0].updatePixelRect();
    effectMode = 0;
}

void ScreenLayout::setSize(float w, float h) {
    windowWidth = w;
    windowHeight = h;
    left = 0;
    bottom = 0;
    right = w;
    top = h;
    width = right - left;
    height = top - bottom;
}

void ScreenLayout::setFadeColor(float r, float g, float b, float a) {
    fadeColor[0] = r;
    fadeColor[1] = g;
    fadeColor[2] = b;
    fadeColor[3] = a;
}

void ScreenLayout::useViewport(int i) {
    currentViewport = i;
    if (drawScaleX == 1 && drawScaleY == 1) {
        viewports[i].applyViewport();
    } else {
        viewports[i].applyViewportScaled(drawScaleX, drawScaleY);
    }
}

void ScreenLayout::beginOverlay(int i) {
    currentViewport = i;
    viewports[i].applyOverlayProjection();
}

void ScreenLayout::layoutViewports() {
    for (int i = 0; i < viewportCount; ++i) {
        Viewport& v = viewports[i];
        if (v.letterboxed == 0) {
            v.setArea(left, bottom, right, top);
        } else {
            const float band = height * bandFraction;
            v.setArea(left, bottom + band, right, top - band);
        }
        v.updatePixelRect();
    }
}

void ScreenLayout::drawFade() const {
    const float W = windowWidth;
    const float H = windowHeight;
    const float f = bandFraction;
    const float a = fadeAlpha;

    glDepthMask(GL_TRUE);  // so that the depth buffer can be cleared
    if (f == 0.0f && a == 1.0f) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        return;
    }
    // The colour buffer keeps the last frame: that is what makes the trails.
    glClear(GL_DEPTH_BUFFER_BIT);

    // Opaque bands also set destination alpha to 1, so sprites never show over them.
    glDisable(GL_BLEND);
    glColor4f(0, 0, 0, 1);
    const float lowTop = H * f + 1;
    const float highBottom = (1 - f) * H - 1;
    glBegin(GL_QUADS);
    glVertex2f(0, 0);
    glVertex2f(W, 0);
    glVertex2f(W, lowTop);
    glVertex2f(0, lowTop);
    glVertex2f(0, highBottom);
    glVertex2f(W, highBottom);
    glVertex2f(W, H);
    glVertex2f(0, H);
    glEnd();

    if (a != 1.0f) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    glColor4f(fadeColor[0], fadeColor[1], fadeColor[2], a);
    glBegin(GL_QUADS);
    glVertex2f(0, H * f);
    glVertex2f(W, H * f);
    glVertex2f(W, highBottom);
    glVertex2f(0, highBottom);
    glEnd();
}

}  // namespace smokedrift
