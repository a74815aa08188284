#pragma once
#include "animation/oscillator.h"

namespace smokedrift {

constexpr int MAX_SPRITES = 30;

// A large, soft, textured square that drifts about the middle of the window, swells, turns and
// changes colour and opacity, each under an oscillator of its own.
class Sprite {
public:
    Sprite();
    virtual ~Sprite() = default;

    void update(float step);
    // Centred on the middle of the layout's area, width × height in window pixels.
    void draw(float areaWidth, float areaHeight, float dt);

    Oscillator oscX, oscY, oscAlpha, oscScaleX, oscScaleY, oscRed, oscGreen, oscBlue;
    float x = 0, y = 0;
    float scaleX = 1, scaleY = 1;
    float red = 0, green = 0, blue = 0;
    float alpha = 1;
    float angle = 0;  // degrees, kept in [0, 360)
    float spin = 0;   // the angle grows by spin × 0.02 degrees per second
    float size = 700;
    int blendSource = 5;
    int blendDest = 1;
};

// Advances an angle in degrees and keeps it in [0, 360). A float that grew without bound would,
// after a day or so, no longer resolve a frame's increment and the sprites would stop turning.
float advanceAngle(float angle, double delta);

}  // namespace smokedrift
