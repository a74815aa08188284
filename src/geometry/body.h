#pragma once
#include "geometry/vector3.h"

namespace smokedrift {

// Where a camera stands, how it is turned and what it looks at.
class Body {
public:
    Body() = default;
    virtual ~Body() = default;

    Vector3 position;
    Vector3 rotation;  // degrees about x, y, z
    Vector3 target;
};

}  // namespace smokedrift
