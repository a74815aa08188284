// The three-dimensional pass: the camera, the star field and the particles.
#include "app/scene.h"
#include "base/gl.h"

namespace smokedrift {

namespace {

void setFog(int sceneFog, int objectFog) {
    if (sceneFog && objectFog) {
        glEnable(GL_FOG);
    } else {
        glDisable(GL_FOG);
    }
}

}  // namespace

void Scene::updateCamera() {
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

void Scene::pass3D() {
    updateCamera();
    Camera& camera = screenLayout.viewports[screenLayout.currentViewport].camera;
    if (settings.starsEnabled) {
        setFog(settings.fogEnabled, starField.fog);
        starField.draw(camera);
    }
    if (settings.particlesEnabled) {
        setFog(settings.fogEnabled, particleSystem.fog);
        glDisable(GL_LIGHTING);
        particleSystem.update(static_cast<float>(frameClock.timeStep), camera);
        particleSystem.draw(camera, screenLayout.fadeAlpha);
    }
    // Fog is the fly-through's: the fade and the smoke of the next frame are drawn without it.
    glDisable(GL_FOG);
}

}  // namespace smokedrift
