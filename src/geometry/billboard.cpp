#include "geometry/billboard.h"

#include "base/gl.h"

namespace smokedrift {

void Billboard::drawSpinning(const Vector3& r, double angle) const {
    glPushMatrix();
    glRotatef(r.z, 0, 0, 1);
    glRotatef(r.y, 0, 1, 0);
    glRotatef(r.x, 1, 0, 0);
    glRotatef(static_cast<float>(angle), 0, 0, 1);
    glNormal3f(0, 0, 1);
    glBegin(GL_QUADS);
    glTexCoord2f(texLeft, texBottom);
    glVertex2f(-halfWidth, -halfHeight);
    glTexCoord2f(texRight, texBottom);
    glVertex2f(halfWidth, -halfHeight);
    glTexCoord2f(texRight, texTop);
    glVertex2f(halfWidth, halfHeight);
    glTexCoord2f(texLeft, texTop);
    glVertex2f(-halfWidth, halfHeight);
    glEnd();
    glPopMatrix();
}

void Billboard::drawFacing(const float viewRight[3], const float viewUp[3], const float viewBack[3]) const {
    float r[3], u[3];
    for (int k = 0; k < 3; ++k) {
        r[k] = halfWidth * viewRight[k];
        u[k] = halfWidth * viewUp[k];
    }
    glPushMatrix();
    glNormal3f(viewBack[0], viewBack[1], viewBack[2]);
    glBegin(GL_QUADS);
    glTexCoord2f(texLeft, texBottom);
    glVertex3f(-r[0] - u[0], -r[1] - u[1], -r[2] - u[2]);
    glTexCoord2f(texRight, texBottom);
    glVertex3f(r[0] - u[0], r[1] - u[1], r[2] - u[2]);
    glTexCoord2f(texRight, texTop);
    glVertex3f(r[0] + u[0], r[1] + u[1], r[2] + u[2]);
    glTexCoord2f(texLeft, texTop);
    glVertex3f(-r[0] + u[0], -r[1] + u[1], -r[2] + u[2]);
    glEnd();
    glPopMatrix();
}

}  // namespace smokedrift
