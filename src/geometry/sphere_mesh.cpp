#include "geometry/sphere_mesh.h"

#include <cmath>

#include "base/gl.h"

namespace smokedrift {

namespace {

constexpr float PI_F = 3.1415927f;
constexpr float TWO_PI_F = 6.2831855f;

void emitVertex(float theta, float phi, double radius, double u, double v) {
    const float s = std::sin(theta);
    const float nx = s * std::sin(phi);
    const float ny = -std::cos(theta);
    const float nz = s * std::cos(phi);
    glNormal3f(nx, ny, nz);
    glTexCoord2f(static_cast<float>(u), static_cast<float>(v));
    glVertex3d(nx * radius, ny * radius, nz * radius);
}

}  // namespace

void drawSphere(double radius, int slices, int stacks, double texScaleU, double texScaleV, double texOffsetU,
                double texOffsetV) {
    if (slices < SPHERE_MIN_DIVISIONS || stacks < SPHERE_MIN_DIVISIONS || slices > SPHERE_MAX_DIVISIONS ||
        stacks > SPHERE_MAX_DIVISIONS) {
        return;
    }
    const float lonStep = TWO_PI_F / static_cast<float>(slices);
    const float latStep = PI_F / static_cast<float>(stacks - 1);
    for (int i = 0; i <= stacks - 2; ++i) {
        const float thetaLow = static_cast<float>(i) * latStep;
        const float thetaHigh = static_cast<float>(i + 1) * latStep;
        // The divisor is the stack count, so the top ring stops short of the full v scale.
        const double vLow = static_cast<double>(i) / stacks * texScaleV + texOffsetV;
        const double vHigh = static_cast<double>(i + 1) / stacks * texScaleV + texOffsetV;
        glBegin(GL_QUAD_STRIP);
        for (int j = 0; j <= slices; ++j) {
            // The last column reuses angle 0, so the seam closes exactly.
            const float phi = static_cast<float>(j == slices ? 0 : j) * lonStep;
            const double u = static_cast<double>(j) / slices * texScaleU + texOffsetU;
            emitVertex(thetaHigh, phi, radius, u, vHigh);
            emitVertex(thetaLow, phi, radius, u, vLow);
        }
        glEnd();
    }
}

}  // namespace smokedrift
