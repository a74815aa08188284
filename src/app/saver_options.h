#pragma once
#include "app/scene_options.h"

namespace smokedrift {

// The options the saver window starts its scene with; the Linux command line sets them before
// the host runs. Windows has none to give: the shipped scene.
void setSaverOptions(const SceneOptions& options);

}  // namespace smokedrift
