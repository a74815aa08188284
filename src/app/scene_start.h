#pragma once
// The one way a scene starts, for the saver window and headless rendering alike.
#include <cstdint>

#include "app/scene.h"

namespace smokedrift {

struct SceneStart {
    int width = 0;  // the window's client size
    int height = 0;
    std::uint32_t seed = 0;  // the saver passes the tick count
    SceneOptions options;
};

// The fixed OpenGL state, set once per context.
void setupGlState();

// With the context current: a fresh scene in place of `s` (so every start draws the same start
// values), then the one seeding, the fixed state and the scene's set-up at the given size.
void startScene(Scene& s, const SceneStart& start);

}  // namespace smokedrift
