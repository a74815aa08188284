#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "app/scene_options.h"
#include "base/arguments.h"

namespace smokedrift {

struct RenderOptions {
    std::string output;
    int width = 1280;
    int height = 720;
    int frames = 300;
    std::uint32_t seed = 1;
    SceneOptions scene;
};

constexpr int MAX_RENDER_SIDE = 16384;

// Parses the arguments that follow the program name, the first of them "--render".
// False with a one-line reason when an option is unknown, a value is missing or malformed.
bool parseRenderOptions(const std::vector<std::string>& args, RenderOptions& options, std::string& error);

}  // namespace smokedrift
