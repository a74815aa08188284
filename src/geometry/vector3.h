#pragma once

namespace smokedrift {

// Three floats: a point or a direction in the three-dimensional scene.
class Vector3 {
public:
    Vector3() = default;
    Vector3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}
    virtual ~Vector3() = default;
    Vector3(const Vector3&) = default;
    Vector3& operator=(const Vector3&) = default;

    float x = 0, y = 0, z = 0;
};

}  // namespace smokedrift
