#pragma once
// What a user may choose of the scene: the optional parts, the sprite count, the speed and the
// feedback effect's style. One reader for every mode's command line; the defaults are the shipped
// scene.
#include <string>
#include <vector>

#include "animation/sprite.h"

namespace smokedrift {

enum class FeedbackStyle { Tiles, Slide };

constexpr int MIN_SPRITES = 1;
constexpr int SHIPPED_SPRITES = 25;
constexpr double MIN_SPEED = 0.1;
constexpr double MAX_SPEED = 10;

struct SceneOptions {
    unsigned switches = 0;  // bits of sceneSwitches
    int sprites = SHIPPED_SPRITES;
    double speed = 1;                               // a factor on the time step
    FeedbackStyle feedback = FeedbackStyle::Tiles;  // with SWITCH_FEEDBACK
    // The frame drawn at 1/K of the window's size and scaled up; 0 (auto): the saver picks K on a
    // software renderer and draws at full size elsewhere, a render draws at full size.
    int renderScale = 0;
    unsigned given = 0;  // which value options were given, so a second, different value is caught
};

// The options with a value, for --help and the manual page: name, what the value is, what it
// does and, for a number, its range and default (low == high: not a number).
struct SceneValueOption {
    const char* name;
    const char* value;
    const char* meaning;
    double low = 0, high = 0, fallback = 0;
};
extern const SceneValueOption sceneValueOptions[5];

// The meaning with the range and default of a number: "how many smoke sprites, 1 to 30 (default 25)".
std::string describeSceneValueOption(const SceneValueOption& option);

// A number as the options write it: the shortest form that reads back the same (0.1, 10).
std::string formatNumber(double value);

// Reads args[i] as a scene option: `--NAME` of a switch, `--enable LIST`, `--feedback STYLE`,
// `--sprites N`, `--speed X`, `--render-scale K`. Returns the words it took (0: not a scene option), or -1 with a
// one-line reason naming the option and what it accepts.
int takeSceneOption(const std::vector<std::string>& args, std::size_t i, SceneOptions& options, std::string& error);

}  // namespace smokedrift
