#pragma once

namespace smokedrift {

// Three floats: a point or a direction in the three-dimensional scene. All arithmetic is in
// float precision.
class Vector3 {
public:
    Vector3() = default;
    Vector3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}
    virtual ~Vector3() = default;
    Vector3(const Vector3&) = default;
    Vector3& operator=(const Vector3&) = default;

    void set(float x_, float y_, float z_);
    float length() const;
    // A length below MIN_DIVISOR counts as MIN_DIVISOR, so the zero vector stays zero.
    void normalize();
    float dot(const Vector3& o) const;
    Vector3 cross(const Vector3& o) const;

    Vector3& operator+=(const Vector3& o);
    Vector3& operator-=(const Vector3& o);
    Vector3& operator*=(float s);
    // A divisor whose magnitude is below MIN_DIVISOR is replaced by MIN_DIVISOR of its own sign.
    Vector3& operator/=(float s);

    float x = 0, y = 0, z = 0;
};

constexpr float MIN_DIVISOR = 0.0001f;
constexpr float DEGREES_PER_RADIAN = 57.2958f;

Vector3 add(const Vector3& a, const Vector3& b);
Vector3 subtract(const Vector3& a, const Vector3& b);
Vector3 scaled(const Vector3& v, float s);
Vector3 divided(const Vector3& v, float s);

// atan2 of the unit vector (b, a), in radians; 0 for a = b = 0.
float planarAngle(float a, float b);

// Pitch (about x) and yaw (about y), in degrees, that turn a view along -z to look from `from`
// towards `to`: towards -z gives 0, 0; towards +x yaw -90; straight up pitch 90.
void directionAngles(const Vector3& from, const Vector3& to, float& pitch, float& yaw);

}  // namespace smokedrift
