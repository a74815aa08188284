#pragma once
#include "geometry/vector3.h"

namespace smokedrift {

// Where a camera stands, how it is turned and what it looks at, with a few ways of moving:
// integration of velocity and acceleration, spinning, a decaying shake and a swinging path.
// Cameras use only position, rotation and target.
class Body {
public:
    Body();
    virtual ~Body() = default;

    // Zeroes the motion state; amplitudes, centres, speeds, frequencies and shake stay.
    void reset();
    // Multiplies the current matrix by the body's placement.
    void applyTransform() const;
    void move(float dt);
    void spin(float dt);
    void updateShake(float t);
    void followPath(float time, float pathTime);

    int motionMode = 0;  // followPath: 1 faces the target, 2 swings; others do nothing
    int wrapAngles = 0;  // spin wraps rotation x and y by 360
    float shake = 0;
    float shakeFrequency[3] = {40, 50, 60};
    float pathSpeed = 1.0f;
    float turnSpeed = 1.0f;
    Vector3 position;
    Vector3 velocity;
    Vector3 acceleration;  // cleared by every move
    Vector3 rotation;      // degrees about x, y, z
    Vector3 angularVelocity;
    Vector3 pathAmplitude;
    Vector3 pathCentre;
    Vector3 swingAmplitude;
    Vector3 swingCentre;
    Vector3 shakeOffset;
    Vector3 target;
};

}  // namespace smokedrift
