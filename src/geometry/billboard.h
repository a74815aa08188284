#pragma once

namespace smokedrift {

class Camera;

// A textured rectangle turned to face the camera. Texture, colour and blending are the caller's;
// the matrix stack is left as found.
class Billboard {
public:
    Billboard() = default;
    virtual ~Billboard() = default;

    // Undoes the camera's rotation angles, then spins by `angle` degrees about the view axis.
    void drawSpinning(const Camera& camera, double angle) const;
    // Builds the corners from the camera's captured axes; always square (half edge halfWidth).
    void drawFacing(const Camera& camera) const;

    float halfWidth = 1.0f;
    float halfHeight = 1.0f;  // drawSpinning only
    float texLeft = 0;
    float texBottom = 0;
    float texRight = 1;
    float texTop = 1;
};

}  // namespace smokedrift
