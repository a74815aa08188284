#include "app/scene_settings.h"

namespace smokedrift {

constinit int spritesEnabled = 0;
constinit int pass3DEnabled = 0;
constinit int backgroundEnabled = 0;
constinit int starsEnabled = 0;
constinit int particlesEnabled = 0;
constinit int fogEnabled = 0;
constinit int blendEnabled = 0;
constinit int cullingEnabled = 0;
constinit int depthTestEnabled = 0;
constinit int lightingEnabled = 0;
constinit int texturingEnabled = 0;
constinit int blendSourceIndex = 2;
constinit int blendDestIndex = 3;

constinit double sceneScale = 0;
constinit double cameraDriftSpeed = 0;
constinit double cameraTurnSpeed = 0;
constinit double overlaySpeed = 0;
constinit double bandLevel = 0;

constinit int spriteCount = 25;

}  // namespace smokedrift
