#include "view/camera.h"

#include "base/gl.h"
#include "view/screen_layout.h"

namespace smokedrift {

void Camera::applyView() {
    gluLookAt(0, 0, eyeDistance, 0, 0, eyeDistance - 1, 0, 1, 0);
    const Vector3& r = body.rotation;
    glRotatef(-r.x, 1, 0, 0);
    glRotatef(-r.y, 0, 1, 0);
    glRotatef(-r.z, 0, 0, 1);
    const Vector3& p = body.position;
    glTranslatef(-p.x, -p.y, -p.z);
    captureMatrix();
}

void Camera::applyProjection(const ScreenLayout& layout) const {
    const Viewport& v = layout.viewports[layout.currentViewport];
    // The bands meet at half the window and leave a viewport of no height: an aspect of 1 keeps
    // the projection finite instead of handing GLU a division by zero.
    float aspect = 1.0f;
    if (v.pixelHeight != 0) aspect = v.pixelWidth / v.pixelHeight;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fieldOfView, aspect, nearPlane, farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void Camera::lookAtPoint(float x, float y, float z) {
    body.target.set(x, y, z);
    lookAtTarget();
}

void Camera::lookAtTarget() {
    const Vector3& p = body.position;
    const Vector3& t = body.target;
    gluLookAt(p.x, p.y, p.z, t.x, t.y, t.z, 0, 1, 0);
    captureMatrix();
    directionAngles(p, t, body.rotation.x, body.rotation.y);
}

void Camera::captureMatrix() {
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    const float* m = modelview;
    viewRight[0] = m[0];
    viewRight[1] = m[4];
    viewRight[2] = m[8];
    viewUp[0] = m[1];
    viewUp[1] = m[5];
    viewUp[2] = m[9];
    viewBack[0] = m[2];
    viewBack[1] = m[6];
    viewBack[2] = m[10];
}

}  // namespace smokedrift
