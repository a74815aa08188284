#include "geometry/vector3.h"

#include <cmath>

namespace smokedrift {

namespace {

// Keeps the sign: dividing by a tiny negative number must not flip into a positive one.
float safeDivisor(float s) {
    if (std::fabs(s) < MIN_DIVISOR) return std::signbit(s) ? -MIN_DIVISOR : MIN_DIVISOR;
    return s;
}

}  // namespace

void Vector3::set(float x_, float y_, float z_) {
    x = x_;
    y = y_;
    z = z_;
}

float Vector3::length() const { return std::sqrt(x * x + y * y + z * z); }

void Vector3::normalize() {
    float len = length();
    if (len < MIN_DIVISOR) len = MIN_DIVISOR;
    *this *= 1.0f / len;
}

float Vector3::dot(const Vector3& o) const { return x * o.x + y * o.y + z * o.z; }

Vector3 Vector3::cross(const Vector3& o) const { return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x}; }

Vector3& Vector3::operator+=(const Vector3& o) {
    x += o.x;
    y += o.y;
    z += o.z;
    return *this;
}

Vector3& Vector3::operator-=(const Vector3& o) {
    x -= o.x;
    y -= o.y;
    z -= o.z;
    return *this;
}

Vector3& Vector3::operator*=(float s) {
    x *= s;
    y *= s;
    z *= s;
    return *this;
}

Vector3& Vector3::operator/=(float s) {
    const float d = safeDivisor(s);
    x /= d;
    y /= d;
    z /= d;
    return *this;
}

Vector3 add(const Vector3& a, const Vector3& b) {
    Vector3 r(a);
    r += b;
    return r;
}

Vector3 subtract(const Vector3& a, const Vector3& b) {
    Vector3 r(a);
    r -= b;
    return r;
}

Vector3 scaled(const Vector3& v, float s) {
    Vector3 r(v);
    r *= s;
    return r;
}

Vector3 divided(const Vector3& v, float s) {
    Vector3 r(v);
    r /= s;
    return r;
}

float planarAngle(float a, float b) {
    float n = std::sqrt(a * a + b * b);
    if (n < MIN_DIVISOR) n = MIN_DIVISOR;
    return std::atan2(a / n, b / n);
}

void directionAngles(const Vector3& from, const Vector3& to, float& pitch, float& yaw) {
    Vector3 d = subtract(to, from);
    d.normalize();
    // -d.z of a zero z is -0, and atan2(+0, -0) is pi: looking straight up or at oneself
    // gives yaw -180.
    const float y = -planarAngle(d.x, -d.z) * DEGREES_PER_RADIAN;
    const float h = std::sqrt(d.x * d.x + d.z * d.z);
    const float p = planarAngle(d.y, h) * DEGREES_PER_RADIAN;
    yaw = y;
    pitch = p;
}

}  // namespace smokedrift
