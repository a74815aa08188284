#include "geometry/body.h"

#include <cmath>

#include "base/gl.h"
#include "base/random.h"

namespace smokedrift {

namespace {

// Truncate, minus one for negative values: a negative exact multiple of 360 lands on 360.
float wrap360(float v) {
    float k = std::trunc(v / 360.0f);
    if (v < 0) k -= 1;
    return v - 360.0f * k;
}

}  // namespace

Body::Body() {
    reset();
    pathAmplitude.set(10, 10, 10);
    pathCentre.set(0, 0, 0);
    swingAmplitude.set(20, 720, 0);
    swingCentre.set(0, 0, 0);
    target.set(0, 0, 0);
    pathSpeed = 1;
    turnSpeed = 1;
    reset();
    shakeFrequency[0] = 40;
    shakeFrequency[1] = 50;
    shakeFrequency[2] = 60;
    wrapAngles = 0;
}

void Body::reset() {
    position.set(0, 0, 0);
    velocity.set(0, 0, 0);
    acceleration.set(0, 0, 0);
    rotation.set(0, 0, 0);
    angularVelocity.set(0, 0, 0);
    shakeOffset.set(0, 0, 0);
    target.set(0, 0, 0);
    motionMode = 0;
}

void Body::applyTransform() const {
    glTranslatef(position.x, position.y, position.z);
    if (rotation.y != 0) glRotatef(rotation.y, 0, 1, 0);
    if (rotation.x != 0) glRotatef(rotation.x, 1, 0, 0);
    if (rotation.z != 0) glRotatef(rotation.z, 0, 0, 1);
}

void Body::move(float dt) {
    velocity += scaled(acceleration, dt);
    position += scaled(velocity, dt);
    acceleration.set(0, 0, 0);
}

void Body::spin(float dt) {
    rotation += scaled(angularVelocity, dt);
    if (wrapAngles) {
        rotation.x = wrap360(rotation.x);
        rotation.y = wrap360(rotation.y);
    }
}

void Body::updateShake(float t) {
    if (shake == 0) return;
    shake = shake * (1 - 3 * t);
    if (shake < 0.01f) {
        shake = 0;
        for (float& f : shakeFrequency) f = static_cast<float>(randomUpTo(50) + 25);
        return;
    }
    shakeOffset.x = std::sin(t * shakeFrequency[0]) * shake;
    shakeOffset.y = std::sin(t * shakeFrequency[1]) * shake;
    shakeOffset.z = std::sin(t * shakeFrequency[2]) * shake;
}

void Body::followPath(float time, float pathTime) {
    if (motionMode == 1) {
        position.x = std::sin(time * 0.1f * pathSpeed) * pathAmplitude.x + pathCentre.x;
        position.y = std::cos(time * 0.12f * pathSpeed) * pathAmplitude.y + pathCentre.y;
        position.z = std::cos(time * 0.14f * pathSpeed) * pathAmplitude.z + pathCentre.z;
        directionAngles(position, target, rotation.x, rotation.y);
    } else if (motionMode == 2) {
        const float w = pathTime * 0.2f * pathSpeed;
        position.x = std::sin(w) * pathAmplitude.x + pathCentre.x;
        position.y = std::cos(w) * pathAmplitude.y + pathCentre.y;
        position.z = std::cos(w) * pathAmplitude.z + pathCentre.z;
        const float v = time * 0.01f * turnSpeed;
        rotation.x = std::sin(v) * swingAmplitude.x + swingCentre.x;
        rotation.y = std::sin(v) * swingAmplitude.y + swingCentre.y;
    }
}

}  // namespace smokedrift
