#include "app/scene_config.h"

#include "app/scene_objects.h"
#include "app/scene_overrides.h"
#include "app/scene_settings.h"
#include "view/gl.h"

namespace smokedrift {

namespace {

void setOscillator(Oscillator& o, const double* speed, double frequency, double scale, double offset) {
    o.speedSource = speed;
    o.frequency = frequency;
    o.scale = scale;
    o.offset = offset;
}

}  // namespace

void initScene(int width, int height) {
    screenLayout.setSize(static_cast<float>(width), static_cast<float>(height));
    configureScene();
    glDepthMask(GL_FALSE);
    glDisable(GL_LIGHTING);
    screenLayout.useViewport(0);
    screenLayout.beginOverlay(0);
    screenLayout.drawFade();
}

void configureScene() {
    // Screen layout and the three-dimensional viewport.
    sceneScale = 1.0;
    bandLevel = 0.2;
    screenLayout.fadeAlpha = 0.2f;
    screenLayout.bandFraction = static_cast<float>(bandLevel);
    screenLayout.setFadeColor(0, 0, 0, 1);
    screenLayout.viewportCount = 2;
    Viewport& view3D = screenLayout.viewports[1];
    view3D.setRelativeRect(0, 0, 1, 1);
    view3D.letterboxed = 1;
    view3D.camera.fieldOfView = 80;
    view3D.camera.eyeDistance = 0;
    view3D.camera.nearPlane = static_cast<float>(sceneScale * 0.01);
    view3D.camera.farPlane = static_cast<float>(sceneScale * 6.0);
    screenLayout.layoutViewports();

    // The layout the feedback effect reads and writes.
    feedbackEffect.layout = &screenLayout;

    // Switches: only the sprite animation runs in the shipped scene.
    spritesEnabled = 1;
    pass3DEnabled = 0;
    backgroundEnabled = 0;
    blendEnabled = 1;
    cullingEnabled = 0;
    depthTestEnabled = 0;
    fogEnabled = 0;
    lightingEnabled = 0;
    starsEnabled = 0;
    particlesEnabled = 0;
    texturingEnabled = 1;
    applySceneOverrides();

    // Speeds and the scene oscillators.
    cameraDriftSpeed = 1.0;
    cameraTurnSpeed = 1.0;
    overlaySpeed = 1.0;
    setOscillator(driftX, &cameraDriftSpeed, 0.1, 2.0, -1.0);
    setOscillator(driftY, &cameraDriftSpeed, 0.11, 2.0, -1.0);
    setOscillator(driftZ, &cameraDriftSpeed, 0.14, 2.0, -1.0);
    setOscillator(turnX, &cameraTurnSpeed, 0.02, 60.0, -30.0);
    setOscillator(turnY, &cameraTurnSpeed, 0.022, 60.0, -30.0);
    setOscillator(turnZ, &cameraTurnSpeed, 0.028, 180.0, -90.0);
    setOscillator(bandOscillator, &overlaySpeed, 0.05, 0.2, 0.0);

    // Start the clock: the first animated frame measures its step from here.
    frameClock.update();

    // The sprite texture, shared by every sprite and the background pass.
    textures[0].generate(SMOKE, 256, 256, GL_RGBA, 0);
}

}  // namespace smokedrift
