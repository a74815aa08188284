#pragma once

namespace smokedrift {

constexpr int SPHERE_MIN_DIVISIONS = 3;
constexpr int SPHERE_MAX_DIVISIONS = 100;

// A sphere of latitude quad strips with normals and texture coordinates, bottom pole first.
// Slice or stack counts outside 3 to 100 draw nothing.
void drawSphere(double radius, int slices, int stacks, double texScaleU, double texScaleV, double texOffsetU,
                double texOffsetV);

}  // namespace smokedrift
