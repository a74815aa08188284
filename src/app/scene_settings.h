#pragma once

namespace smokedrift {

// Scene-wide switches and values that the configuration writes and the frame loop reads. The
// defaults are the values before any configuration ran.
struct SceneSettings {
    int spritesEnabled = 0;
    int pass3DEnabled = 0;
    int backgroundEnabled = 0;
    int starsEnabled = 0;
    int particlesEnabled = 0;
    int fogEnabled = 0;
    int blendEnabled = 0;
    int cullingEnabled = 0;
    int depthTestEnabled = 0;
    int lightingEnabled = 0;
    int texturingEnabled = 0;
    int blendSourceIndex = 2;
    int blendDestIndex = 3;

    double sceneScale = 0;
    double cameraDriftSpeed = 0;
    double cameraTurnSpeed = 0;
    double overlaySpeed = 0;
    double bandLevel = 0;

    // Number of sprites the sprite pass updates and draws.
    int spriteCount = 25;
};

}  // namespace smokedrift
