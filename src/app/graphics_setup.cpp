#include "app/graphics_setup.h"

#include "app/scene_config.h"
#include "view/gl.h"

namespace smokedrift {

constinit int clientWidth = 0;
constinit int clientHeight = 0;

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
    initScene(clientWidth, clientHeight);
}

}  // namespace smokedrift
