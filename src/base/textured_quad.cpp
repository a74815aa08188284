#include "base/textured_quad.h"

#include "base/gl.h"

namespace smokedrift {

void drawTexturedQuadRegion(float x, float y, float w, float h, float su, float sv, float us, float vs) {
    glBegin(GL_QUADS);
    glTexCoord2d(us, vs);
    glVertex2f(x, y);
    glTexCoord2d(us + su, vs);
    glVertex2f(x + w, y);
    glTexCoord2d(us + su, vs + sv);
    glVertex2f(x + w, y + h);
    glTexCoord2d(us, vs + sv);
    glVertex2f(x, y + h);
    glEnd();
}

void drawTexturedQuad(float x, float y, float w, float h) { drawTexturedQuadRegion(x, y, w, h, 1, 1, 0, 0); }

void drawTexturedQuadRepeat(float x, float y, float w, float h, float su, float sv) {
    drawTexturedQuadRegion(x, y, w, h, su, sv, 0, 0);
}

}  // namespace smokedrift
