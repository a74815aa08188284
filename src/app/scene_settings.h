#pragma once
// Scene-wide switches and values that the configuration writes and the frame loop reads.

namespace smokedrift {

extern int spritesEnabled;
extern int pass3DEnabled;
extern int backgroundEnabled;
extern int starsEnabled;
extern int particlesEnabled;
extern int fogEnabled;
extern int blendEnabled;
extern int cullingEnabled;
extern int depthTestEnabled;
extern int lightingEnabled;
extern int texturingEnabled;
extern int blendSourceIndex;
extern int blendDestIndex;

extern double sceneScale;
extern double cameraDriftSpeed;
extern double cameraTurnSpeed;
extern double overlaySpeed;
extern double bandLevel;

// Number of sprites the sprite pass updates and draws.
extern int spriteCount;

}  // namespace smokedrift
