#include "app/scene_start.h"

#include "base/gl.h"
#include "base/random.h"

namespace smokedrift {

void setupGlState() {
    glLineWidth(1.0f);
    glPointSize(1.0f);
    glCullFace(GL_BACK);
    glShadeModel(GL_SMOOTH);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glDisable(GL_DITHER);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glMateriali(GL_FRONT_AND_BACK, GL_SHININESS, 30);
}

void startScene(Scene& s, const SceneStart& start) {
    renewScene(s);
    s.options = start.options;
    // Auto starts at full size; the saver's choice comes once it has measured frames.
    s.drawDivisor = start.options.renderScale > 0 ? start.options.renderScale : 1;
    // The one seeding: the scene's objects have drawn their start values already.
    seedRandom(start.seed);
    setupGlState();
    s.initScene(start.width, start.height);
}

}  // namespace smokedrift
