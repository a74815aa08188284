#pragma once

namespace smokedrift {

// Each draws one textured GL_QUADS rectangle in the current projection and sets no other state.
void drawTexturedQuad(float x, float y, float w, float h);
void drawTexturedQuadRepeat(float x, float y, float w, float h, float su, float sv);
void drawTexturedQuadRegion(float x, float y, float w, float h, float su, float sv, float us, float vs);

}  // namespace smokedrift
