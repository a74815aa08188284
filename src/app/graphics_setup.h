#pragma once

namespace smokedrift {

// Client size of the saver window, read once at its creation.
extern int clientWidth;
extern int clientHeight;

// The fixed OpenGL state, set once per window; ends by setting the scene up for clientWidth ×
// clientHeight. The saver window and headless rendering both start a scene through this.
void setupGlState();

}  // namespace smokedrift
