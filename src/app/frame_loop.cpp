// The frame routine and its two-dimensional passes.
#include "app/scene.h"
#include "base/blend_mode.h"
#include "base/gl.h"
#include "base/textured_quad.h"

namespace smokedrift {

bool Scene::renderFrame() {
    applyPendingSize();
    // Drawn smaller, the frame goes into the block the window's pixels are scaled down to; at 1
    // nothing of this makes an OpenGL call.
    renderScale.begin(drawDivisor, static_cast<int>(screenLayout.windowWidth),
                      static_cast<int>(screenLayout.windowHeight));
    screenLayout.drawScaleX = renderScale.scaleX;
    screenLayout.drawScaleY = renderScale.scaleY;
    drawScene();
    return renderScale.end(interrupted);
}

void Scene::drawScene() {
    const int n = frameCounter;
    frameCounter = n + 1;
    // The colour buffer is cleared only here; every later picture is built on the last one.
    if (n < CLEARING_FRAMES) {
        glDepthMask(GL_TRUE);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        return;
    }
    frameClock.update();
    // The user's speed scales the step everything animated receives (1 changes no bit).
    frameClock.timeStep *= options.speed;
    updateAnimation();

    glDepthMask(GL_FALSE);
    glDisable(GL_LIGHTING);
    screenLayout.useViewport(0);
    screenLayout.beginOverlay(0);
    screenLayout.drawFade();
    if (screenLayout.effectMode == 1) {
        feedbackEffect.fitLayoutToTexture();
    }

    if (settings.spritesEnabled) {
        spritePass();
    }
    if (settings.pass3DEnabled) {
        screenLayout.bandFraction = static_cast<float>(settings.bandLevel);
        screenLayout.layoutViewports();
        // Every 3D viewport takes fov and planes from viewport 1's camera, with its own aspect.
        for (int i = 1; i < screenLayout.viewportCount; ++i) {
            screenLayout.useViewport(i);
            if (screenLayout.effectMode == 1) feedbackEffect.fitLayoutToTexture();
            screenLayout.viewports[1].camera.applyProjection(screenLayout);
            pass3D();
        }
    }
    if (settings.backgroundEnabled) {
        screenLayout.useViewport(0);
        screenLayout.beginOverlay(0);
        backgroundPass();
    }
    if (screenLayout.effectMode == 1) {
        feedbackEffect.capture();
    } else if (screenLayout.effectMode == 2) {
        feedbackEffect.drawExploded(static_cast<float>(frameClock.timeStep));
    }
}

void Scene::updateAnimation() {
    const double dt = frameClock.timeStep;
    driftX.update(dt);
    driftY.update(dt);
    driftZ.update(dt);
    turnX.update(dt);
    turnY.update(dt);
    turnZ.update(dt);
    screenLayout.fadeAlpha = 0.04f;
    bandOscillator.update(dt);
    settings.bandLevel = bandOscillator.value();
    screenLayout.bandFraction = static_cast<float>(settings.bandLevel);
    screenLayout.layoutViewports();
}

void Scene::spritePass() {
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.0f);
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    textures[0].bind();
    const double dt = frameClock.timeStep;
    // Sprite oscillators run at a fifth of real time; their rotation runs in real time.
    const float step = static_cast<float>(dt * settings.overlaySpeed * 0.2);
    for (int i = 0; i < settings.spriteCount && i < MAX_SPRITES; ++i) {
        sprites[i].update(step);
        sprites[i].draw(screenLayout.width, screenLayout.height, static_cast<float>(dt));
    }
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}

void Scene::backgroundPass() {
    // Multiplies the frame by the sprite texture.
    glBlendFunc(GL_ZERO, GL_SRC_COLOR);
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    glDisable(GL_LIGHTING);
    textures[0].bind();
    glEnable(GL_TEXTURE_2D);
    glColor3f(1, 1, 1);
    drawTexturedQuad(0, 0, screenLayout.width, screenLayout.height);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}

namespace {

struct StateSwitch {
    int SceneSettings::*enabled;
    GLenum capability;
};

// In the order the switches are applied and cleared.
const StateSwitch stateSwitches[] = {
    {&SceneSettings::blendEnabled, GL_BLEND},          {&SceneSettings::cullingEnabled, GL_CULL_FACE},
    {&SceneSettings::depthTestEnabled, GL_DEPTH_TEST}, {&SceneSettings::fogEnabled, GL_FOG},
    {&SceneSettings::lightingEnabled, GL_LIGHTING},    {&SceneSettings::texturingEnabled, GL_TEXTURE_2D},
};

}  // namespace

void Scene::applyStateSwitches() {
    for (const StateSwitch& s : stateSwitches) {
        if (!(settings.*s.enabled)) {
            glDisable(s.capability);
            continue;
        }
        if (s.capability == GL_BLEND) {
            setBlendMode(settings.blendSourceIndex, settings.blendDestIndex);
        }
        glEnable(s.capability);
        if (s.capability == GL_DEPTH_TEST) {
            glDepthMask(GL_TRUE);
        }
    }
}

void Scene::clearStateSwitches() {
    for (const StateSwitch& s : stateSwitches) {
        if (settings.*s.enabled) {
            glDisable(s.capability);
        }
    }
}

}  // namespace smokedrift
