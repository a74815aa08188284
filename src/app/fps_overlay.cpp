#include "app/fps_overlay.h"

#include <cstdio>
#include <cstring>

#include "base/gl.h"

namespace smokedrift {

namespace {
constexpr int MARGIN = 4;  // the text's baseline above the window's bottom edge
}  // namespace

void FpsOverlay::useGlyphs(unsigned listBase) { glyphs = listBase; }

void FpsOverlay::countFrame(double seconds, double cpuSeconds) {
    if (windowStart < 0) {
        windowStart = seconds;
        cpuStart = cpuSeconds;
        std::snprintf(text, sizeof(text), "FPS: --");
        return;
    }
    ++frames;
    const double span = seconds - windowStart;
    if (span < 1.0) return;
    const double load = 100.0 * (cpuSeconds - cpuStart) / span;
    std::snprintf(text, sizeof(text), "FPS: %.1f  Load: %.0f%%", frames / span, load);
    frames = 0;
    windowStart = seconds;
    cpuStart = cpuSeconds;
}

// Window pixels, whatever the scene's last pass left selected.
void FpsOverlay::selectWindowPixels() const {
    glViewport(0, 0, windowW, windowH);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, windowW, 0, windowH, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_FOG);
    glDisable(GL_LIGHTING);
}

void FpsOverlay::draw(int windowWidth, int windowHeight) {
    windowW = windowWidth;
    windowH = windowHeight;
    boxWidth = windowWidth < BOX_WIDTH ? windowWidth : BOX_WIDTH;
    boxHeight = windowHeight < BOX_HEIGHT ? windowHeight : BOX_HEIGHT;
    saved = false;
    if (boxWidth <= 0 || boxHeight <= 0 || glyphs == 0) return;
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, boxWidth, boxHeight, GL_RGBA, GL_UNSIGNED_BYTE, under);
    saved = true;
    selectWindowPixels();
    glColor4f(1, 1, 1, 1);
    glRasterPos2i(MARGIN, MARGIN + 2);
    glListBase(glyphs - FIRST_CHAR);
    glCallLists(static_cast<GLsizei>(std::strlen(text)), GL_UNSIGNED_BYTE, text);
}

void FpsOverlay::restore() {
    if (!saved) return;
    saved = false;
    selectWindowPixels();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glRasterPos2i(0, 0);
    glDrawPixels(boxWidth, boxHeight, GL_RGBA, GL_UNSIGNED_BYTE, under);
}

}  // namespace smokedrift
