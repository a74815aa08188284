#include "particles/star_field.h"

#include "base/gl.h"
#include "base/random.h"
#include "particles/shell_sampling.h"
#include "view/camera.h"

namespace smokedrift {

namespace {

int layerCount(int layers) { return layers < 1 ? 1 : layers; }

}  // namespace

StarField::~StarField() { release(); }

void StarField::build() {
    const float m = static_cast<float>(outerSize * 0.5);
    if (outerSize * 0.9 < innerSize) innerSize = outerSize * 0.9;
    const float l = static_cast<float>(innerSize * 0.5 + 0.01);
    release();
    displayList = glGenLists(1);
    if (displayList == 0) return;
    // A field too small for its core has nowhere to put a star: an empty list, not a hang.
    const int stars = shellHasRoom(l, m) ? count / layerCount(layers) : 0;
    const auto coordinate = [m] { return (randomUpToF(2.0f) - 1) * m; };
    glNewList(displayList, GL_COMPILE);
    glBegin(GL_POINTS);
    for (int i = 0; i < stars; ++i) {
        float x, y, z;
        sampleShell(shape, l, m, coordinate, x, y, z);
        // One star in ten is dimmer; components are drawn blue first.
        const bool dim = randomUpTo(1.0) < 0.1;
        const double base = dim ? colorLow : colorHigh;
        const double spread = dim ? colorHigh : colorLow;
        const double blue = base + randomUpTo(spread);
        const double green = base + randomUpTo(spread);
        const double red = base + randomUpTo(spread);
        glColor3d(red, green, blue);
        glVertex3d(x, y, z);
    }
    glEnd();
    glEndList();
}

void StarField::draw(const Camera& camera) const {
    if (displayList == 0) return;
    if (blend) {
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_BLEND);
    }
    if (depthTest) {
        glEnable(GL_DEPTH_TEST);
    } else {
        glDisable(GL_DEPTH_TEST);
    }
    glDepthMask(depthWrite ? GL_TRUE : GL_FALSE);
    glPushMatrix();
    if (followCamera) {
        const Vector3& p = camera.body.position;
        glTranslatef(p.x, p.y, p.z);
    }
    const int n = layerCount(layers);
    for (int k = 0; k < n; ++k) {
        // The turns accumulate; the last copy is back at the start.
        glRotatef(360.0f / static_cast<float>(n), 0, 1, 0);
        glPointSize(static_cast<float>(k + 1));
        glCallList(displayList);
    }
    glPopMatrix();
    if (blend) glDisable(GL_BLEND);
    if (depthTest) glDisable(GL_DEPTH_TEST);
}

void StarField::release() {
    if (displayList != 0) {
        glDeleteLists(displayList, 1);
        displayList = 0;
    }
}

}  // namespace smokedrift
