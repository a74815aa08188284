#include "lighting/light.h"

#include "base/gl.h"
#include "geometry/sphere_mesh.h"

namespace smokedrift {

namespace {
constexpr GLenum lightNames[MAX_LIGHTS] = {GL_LIGHT0, GL_LIGHT1, GL_LIGHT2, GL_LIGHT3,
                                           GL_LIGHT4, GL_LIGHT5, GL_LIGHT6, GL_LIGHT7};
}  // namespace

unsigned Light::glLight() const {
    // A bad index would read past the table; such a light addresses nothing.
    if (index < 0 || index >= MAX_LIGHTS) return 0;
    return lightNames[index];
}

void Light::apply() {
    position[0] = location[0];
    position[1] = location[1];
    position[2] = location[2];
    const GLenum l = glLight();
    if (l == 0) return;
    glLightfv(l, GL_POSITION, position);
    glLightfv(l, GL_SPOT_DIRECTION, spotDirection);
}

void Light::enable() {
    apply();
    const GLenum l = glLight();
    if (l != 0) glEnable(l);
}

void Light::moveTo(float x, float y, float z) {
    location[0] = x;
    location[1] = y;
    location[2] = z;
    apply();
}

void Light::drawMarker() const {
    glColor3f(color.red, color.green, color.blue);
    glPushMatrix();
    glTranslatef(location[0], location[1], location[2]);
    drawSphere(size, 10, 10, 1, 1, 0, 0);
    glPopMatrix();
}

}  // namespace smokedrift
