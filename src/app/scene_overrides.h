#pragma once

namespace smokedrift {

// Switches a user may turn on for a headless render. The configuration applies them right where
// it writes its own switches, so whatever the switches build (stars, particles) is built as
// configured. The saver itself never sets them.
struct SceneOverrides {
    bool pass3D = false;
    bool stars = false;
    bool particles = false;
    bool fog = false;
    bool background = false;
    bool feedback = false;
};

extern SceneOverrides sceneOverrides;

// Turns on the switches named in sceneOverrides; called by the configuration.
void applySceneOverrides();

}  // namespace smokedrift
