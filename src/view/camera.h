#pragma once
#include "geometry/body.h"

namespace smokedrift {

class ScreenLayout;

// The eye of a viewport's three-dimensional pass: a perspective projection sized to the current
// viewport, a view from a position and rotation angles (or a look-at target), and the axes read
// back from the resulting modelview matrix for the camera-facing quads.
class Camera {
public:
    Camera() = default;
    virtual ~Camera() = default;

    // Multiplies the view onto the current modelview matrix (the caller loads identity first).
    void applyView();
    // Perspective for the layout's current viewport; leaves an identity modelview matrix.
    void applyProjection(const ScreenLayout& layout) const;
    void lookAtPoint(float x, float y, float z);
    void lookAtTarget();
    void captureMatrix();

    Body body;  // position, rotation (degrees) and target
    double fieldOfView = 90;
    float nearPlane = 0.1f;
    float farPlane = 1000 * 0.1f;
    float eyeDistance = 1;  // the eye sits this far behind position, so non-zero values orbit it
    float viewBack[3] = {};
    float viewRight[3] = {};
    float viewUp[3] = {};
    float modelview[16] = {};  // column-major, as OpenGL returns it
};

}  // namespace smokedrift
