// Scene set-up: the whole scene is configured here, in code, in one fixed order.
#include "app/scene.h"
#include "app/scene_switches.h"
#include "app/startup_trace.h"
#include "base/gl.h"

namespace smokedrift {

namespace {

void setOscillator(Oscillator& o, const double* speed, double frequency, double scale, double offset) {
    o.speedSource = speed;
    o.frequency = frequency;
    o.scale = scale;
    o.offset = offset;
}

}  // namespace

void Scene::initScene(int width, int height) {
    screenLayout.setSize(static_cast<float>(width), static_cast<float>(height));
    configureScene();
    glDepthMask(GL_FALSE);
    glDisable(GL_LIGHTING);
    screenLayout.useViewport(0);
    screenLayout.beginOverlay(0);
    screenLayout.drawFade();
    markStartup(StartupMark::SceneReady);
}

void Scene::configureScene() {
    // Screen layout and the three-dimensional viewport.
    settings.sceneScale = 1.0;
    settings.bandLevel = 0.2;
    screenLayout.fadeAlpha = 0.2f;
    screenLayout.bandFraction = static_cast<float>(settings.bandLevel);
    screenLayout.setFadeColor(0, 0, 0, 1);
    screenLayout.viewportCount = 2;
    Viewport& view3D = screenLayout.viewports[1];
    view3D.setRelativeRect(0, 0, 1, 1);
    view3D.letterboxed = 1;
    view3D.camera.fieldOfView = 80;
    view3D.camera.eyeDistance = 0;
    view3D.camera.nearPlane = static_cast<float>(settings.sceneScale * 0.01);
    view3D.camera.farPlane = static_cast<float>(settings.sceneScale * 6.0);
    screenLayout.layoutViewports();

    // The layout the feedback effect reads and writes.
    feedbackEffect.layout = &screenLayout;
    feedbackEffect.scale = &renderScale;

    // Fog: the parameters are loaded now; the three-dimensional pass switches it per object.
    fogSettings.start = static_cast<float>(settings.sceneScale * 0.2);
    fogSettings.end = static_cast<float>(settings.sceneScale * 0.6);
    fogSettings.setColor(0, 0, 0.075f, 0);
    fogSettings.apply();

    // Light and material, loaded once; no frame step touches them again.
    sceneLight.color.red = 1.0f;
    sceneLight.color.green = 1.0f;
    sceneLight.color.blue = 1.0f;
    sceneLight.size = 0.05f;
    sceneLight.enable();
    glowQuad.halfWidth = sceneLight.size;
    glowQuad.halfHeight = sceneLight.size;
    materialSettings.setIntensities(0.4f, 0.7f, 0.99f, 1.0f);
    materialSettings.shininess = 10;
    materialSettings.color.red = 1.0f;
    materialSettings.color.green = 1.0f;
    materialSettings.color.blue = 1.0f;
    materialSettings.apply(sceneLight);

    // Switches: only the sprite animation runs in the shipped scene.
    settings.spritesEnabled = 1;
    settings.pass3DEnabled = 0;
    settings.backgroundEnabled = 0;
    settings.blendEnabled = 1;
    settings.cullingEnabled = 0;
    settings.depthTestEnabled = 0;
    settings.fogEnabled = 0;
    settings.lightingEnabled = 0;
    settings.starsEnabled = 0;
    settings.particlesEnabled = 0;
    settings.texturingEnabled = 1;
    // The optional parts a user asked for, before anything is built from the switches.
    const unsigned switches = switchesInEffect(options.switches);
    for (int i = 0; i < SCENE_SWITCH_COUNT; ++i) {
        if ((switches & switchBit(static_cast<SceneSwitchIndex>(i))) && sceneSwitches[i].flag != nullptr) {
            settings.*sceneSwitches[i].flag = 1;
        }
    }

    settings.spriteCount = options.sprites;

    // Speeds and the scene oscillators.
    settings.cameraDriftSpeed = 1.0;
    settings.cameraTurnSpeed = 1.0;
    settings.overlaySpeed = 1.0;
    setOscillator(driftX, &settings.cameraDriftSpeed, 0.1, 2.0, -1.0);
    setOscillator(driftY, &settings.cameraDriftSpeed, 0.11, 2.0, -1.0);
    setOscillator(driftZ, &settings.cameraDriftSpeed, 0.14, 2.0, -1.0);
    setOscillator(turnX, &settings.cameraTurnSpeed, 0.02, 60.0, -30.0);
    setOscillator(turnY, &settings.cameraTurnSpeed, 0.022, 60.0, -30.0);
    setOscillator(turnZ, &settings.cameraTurnSpeed, 0.028, 180.0, -90.0);
    setOscillator(bandOscillator, &settings.overlaySpeed, 0.05, 0.2, 0.0);

    // Start the clock: the first animated frame measures its step from here.
    frameClock.update();

    // Star field: the count depends on the fade alpha, still the configured 0.2 here.
    if (settings.starsEnabled) {
        starField.count = 2000;
        if (screenLayout.fadeAlpha < 1.0f) starField.count = starField.count / 3;
        starField.layers = 2;
        starField.outerSize = 2 * settings.sceneScale;
        starField.innerSize = 0.0 * starField.outerSize;
        starField.blend = 1;
        starField.depthTest = 0;
        starField.depthWrite = 0;
        starField.shape = 1;
        starField.followCamera = 1;
        // The pass fogs an object only when both the scene and the object ask for it.
        starField.fog = settings.fogEnabled;
        starField.colorLow = 0.2;
        starField.colorHigh = 0.7;
        starField.build();
    }

    // Particle system. Slot 5 is never generated: the particles bind a texture without an image.
    if (settings.particlesEnabled) {
        particleSystem.count = 400;
        particleSystem.boxSize = static_cast<float>(settings.sceneScale * 4.0);
        particleSystem.innerSize = static_cast<float>(0.0 * particleSystem.boxSize);
        particleSystem.opacity = 0.99f;
        particleSystem.alphaTest = 1;
        particleSystem.alphaThreshold = 0;
        particleSystem.blend = 0;
        particleSystem.blendSource = 2;
        particleSystem.blendDest = 3;
        particleSystem.depthTest = 0;
        particleSystem.depthWrite = 0;
        particleSystem.fog = settings.fogEnabled;
        particleSystem.shape = 1;
        particleSystem.texture = &textures[5];
        particleSystem.particleSize = 0.005f;
        particleSystem.colorLow = 0.5f;
        particleSystem.colorHigh = 0.99f;
        particleSystem.init();
    }

    // The sprite texture, shared by every sprite and the background pass.
    markStartup(StartupMark::TextureStart);
    textures[0].generate(SMOKE, 256, 256, GL_RGBA, 0);
    markStartup(StartupMark::TextureDone);
}

}  // namespace smokedrift
