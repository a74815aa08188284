#include "app/pass_3d.h"

#include "app/scene_objects.h"
#include "app/scene_settings.h"
#include "view/gl.h"

namespace smokedrift {

namespace {

void setFog(int objectFog) {
    if (fogEnabled && objectFog) {
        glEnable(GL_FOG);
    } else {
        glDisable(GL_FOG);
    }
}

}  // namespace

void updateCamera() {
    Camera& c = screenLayout.viewports[screenLayout.currentViewport].camera;
    if (screenLayout.currentViewport == 1) {
        // Added once per frame, not scaled by the time step.
        Vector3& p = c.body.position;
        p.x = static_cast<float>(p.x + driftX.value());
        p.y = static_cast<float>(p.y + driftY.value());
        p.z = static_cast<float>(p.z + driftZ.value());
        c.body.rotation.set(static_cast<float>(turnX.value()), static_cast<float>(turnY.value()),
                            static_cast<float>(turnZ.value()));
    }
    c.applyView();
}

void pass3D() {
    updateCamera();
    Camera& camera = screenLayout.viewports[screenLayout.currentViewport].camera;
    if (starsEnabled) {
        setFog(starField.fog);
        starField.draw(camera);
    }
    if (particlesEnabled) {
        setFog(particleSystem.fog);
        glDisable(GL_LIGHTING);
        particleSystem.update(static_cast<float>(frameClock.timeStep), camera);
        particleSystem.draw(camera, screenLayout.fadeAlpha);
    }
}

void releaseStarField() {
    if (starsEnabled) starField.release();
}

}  // namespace smokedrift
