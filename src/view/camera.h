#pragma once
#include "geometry/body.h"

namespace smokedrift {

// The eye of a viewport's three-dimensional pass.
class Camera {
public:
    Camera() = default;
    virtual ~Camera() = default;

    Body body;
    double fieldOfView = 90;
    float nearPlane = 0.1f;
    float farPlane = 1000 * 0.1f;
    float eyeDistance = 1;
    float viewBack[3] = {};
    float viewRight[3] = {};
    float viewUp[3] = {};
    float modelview[16] = {};
};

}  // namespace smokedrift
