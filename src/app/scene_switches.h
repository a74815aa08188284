#pragma once
// The optional parts of the scene a user can switch on (`--enable NAME,...`). This table is the
// one list that the option parser, --help and the docs' checks read.
#include <string_view>

#include "app/scene_settings.h"

namespace smokedrift {

enum SceneSwitchIndex : int {
    SWITCH_3D,
    SWITCH_STARS,
    SWITCH_PARTICLES,
    SWITCH_FOG,
    SWITCH_BACKGROUND,
    SWITCH_FEEDBACK,
    SCENE_SWITCH_COUNT,
};

struct SceneSwitch {
    const char* name;
    const char* meaning;  // a few words for --help
    // The setting the configuration turns on; null where whoever drives the frames acts on the
    // request itself (the feedback effect is scheduled, not switched).
    int SceneSettings::*flag;
};

inline constexpr SceneSwitch sceneSwitches[SCENE_SWITCH_COUNT] = {
    {"3d", "the three-dimensional pass through a drifting camera", &SceneSettings::pass3DEnabled},
    {"stars", "a star field in the 3d pass", &SceneSettings::starsEnabled},
    {"particles", "a particle cloud in the 3d pass", &SceneSettings::particlesEnabled},
    {"fog", "fog in the 3d pass", &SceneSettings::fogEnabled},
    {"background", "the picture multiplied by the smoke texture", &SceneSettings::backgroundEnabled},
    {"feedback", "the picture captured and broken into flying tiles", nullptr},
};

constexpr unsigned switchBit(SceneSwitchIndex index) { return 1u << index; }

// The index of a switch name, or -1.
constexpr int findSceneSwitch(std::string_view name) {
    for (int i = 0; i < SCENE_SWITCH_COUNT; ++i)
        if (name == sceneSwitches[i].name) return i;
    return -1;
}

}  // namespace smokedrift
