#include "app/scene_overrides.h"

#include "app/scene_settings.h"

namespace smokedrift {

constinit SceneOverrides sceneOverrides{};

void applySceneOverrides() {
    if (sceneOverrides.pass3D) pass3DEnabled = 1;
    if (sceneOverrides.stars) starsEnabled = 1;
    if (sceneOverrides.particles) particlesEnabled = 1;
    if (sceneOverrides.fog) fogEnabled = 1;
    if (sceneOverrides.background) backgroundEnabled = 1;
}

}  // namespace smokedrift
