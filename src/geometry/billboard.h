#pragma once
#include "geometry/vector3.h"

namespace smokedrift {

// A textured rectangle turned to face the camera. It is handed what it needs of the camera (its
// rotation angles or the axes it captured), so geometry does not depend on the view. Texture,
// colour and blending are the caller's; the matrix stack is left as found.
class Billboard {
public:
    Billboard() = default;
    virtual ~Billboard() = default;

    // Undoes the camera's rotation angles (its body's rotation), then spins by `angle` degrees
    // about the view axis.
    void drawSpinning(const Vector3& cameraRotation, double angle) const;
    // Builds the corners from the camera's captured axes; always square (half edge halfWidth).
    void drawFacing(const float viewRight[3], const float viewUp[3], const float viewBack[3]) const;

    float halfWidth = 1.0f;
    float halfHeight = 1.0f;  // drawSpinning only
    float texLeft = 0;
    float texBottom = 0;
    float texRight = 1;
    float texTop = 1;
};

}  // namespace smokedrift
