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
    {"3d", "a three-dimensional fly-through past stars and particles", &SceneSettings::pass3DEnabled},
    {"stars", "a star field in the fly-through", &SceneSettings::starsEnabled},
    {"particles", "a particle cloud in the fly-through", &SceneSettings::particlesEnabled},
    {"fog", "fog over what the fly-through shows", &SceneSettings::fogEnabled},
    {"background", "the picture multiplied by the smoke texture", &SceneSettings::backgroundEnabled},
    {"feedback", "the picture captured and broken into flying tiles", nullptr},
};

constexpr unsigned switchBit(SceneSwitchIndex index) { return 1u << index; }

// The fly-through's switches read together, so that each one asked for alone shows what it says:
// any of them switches the fly-through on, which shows stars and particles unless one of the two
// is named.
inline constexpr const char* flyThroughRule =
    "--3d, --stars, --particles or --fog starts the fly-through: stars and particles unless one is named";

constexpr unsigned switchesInEffect(unsigned asked) {
    const unsigned content = switchBit(SWITCH_STARS) | switchBit(SWITCH_PARTICLES);
    if ((asked & (content | switchBit(SWITCH_3D) | switchBit(SWITCH_FOG))) == 0) return asked;
    const unsigned on = asked | switchBit(SWITCH_3D);
    return (asked & content) != 0 ? on : on | content;
}

// The index of a switch name, or -1.
constexpr int findSceneSwitch(std::string_view name) {
    for (int i = 0; i < SCENE_SWITCH_COUNT; ++i)
        if (name == sceneSwitches[i].name) return i;
    return -1;
}

}  // namespace smokedrift
