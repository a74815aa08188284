#include "app/scene_options.h"

#include <cmath>
#include <cstdio>

#include "app/scene_switches.h"
#include "base/arguments.h"
#include "view/render_scale.h"

namespace smokedrift {

const SceneValueOption sceneValueOptions[5] = {
    {"--enable", "LIST", "parts to switch on, comma-separated: the names above, or feedback"},
    {"--feedback", "STYLE", "the feedback effect, as tiles or slide"},
    {"--sprites", "N", "how many smoke sprites", MIN_SPRITES, MAX_SPRITES, SceneOptions{}.sprites},
    {"--speed", "X", "a factor on the animation's speed", MIN_SPEED, MAX_SPEED, SceneOptions{}.speed},
    {"--render-scale", "K",
     "draw at 1/K of the size, scaled up: 1 to 4, or auto (default: picked on a software renderer)"},
};

// %.15g gives the table's numbers as written (0.1, not 0.1000000000000000055); std::to_chars would
// too, but its tables add a sixth to the size of the statically linked .scr.
std::string formatNumber(double value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%.15g", value);
    return text;
}

std::string describeSceneValueOption(const SceneValueOption& o) {
    if (o.low == o.high) return o.meaning;
    // One format string: short pieces joined by + become immediates in the code, where a package
    // checker reads a misspelt "defaul" followed by an instruction byte.
    char text[256];
    std::snprintf(text, sizeof(text), "%s, %s to %s (default %s)", o.meaning, formatNumber(o.low).c_str(),
                  formatNumber(o.high).c_str(), formatNumber(o.fallback).c_str());
    return text;
}

namespace {

enum Given : unsigned { GIVEN_FEEDBACK = 1, GIVEN_SPRITES = 2, GIVEN_SPEED = 4, GIVEN_RENDER_SCALE = 8 };

bool parseEnableList(const std::string& text, unsigned& switches, std::string& error) {
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = text.find(',', start);
        const std::string name = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        const int index = findSceneSwitch(name);
        if (index < 0) {
            std::string list;
            for (const SceneSwitch& k : sceneSwitches) list += (list.empty() ? "" : ", ") + std::string(k.name);
            error = "--enable: unknown switch '" + printable(name) + "' (known: " + list + ")";
            return false;
        }
        switches |= switchBit(static_cast<SceneSwitchIndex>(index));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return true;
}

bool parseSpeed(const std::string& text, double& value) {
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && std::isfinite(value) && value >= MIN_SPEED && value <= MAX_SPEED;
}

// A value option given twice must say the same both times.
bool giveOnce(SceneOptions& o, unsigned bit, bool same, const std::string& option, std::string& error) {
    if ((o.given & bit) && !same) {
        error = option + " given twice with different values";
        return false;
    }
    o.given |= bit;
    return true;
}

}  // namespace

int takeSceneOption(const std::vector<std::string>& args, std::size_t i, SceneOptions& o, std::string& error) {
    const std::string& a = args[i];
    if (a.rfind("--", 0) != 0) return 0;
    const int index = findSceneSwitch(a.substr(2));
    if (index >= 0 && index != SWITCH_FEEDBACK) {
        o.switches |= switchBit(static_cast<SceneSwitchIndex>(index));
        return 1;
    }
    const bool valued =
        a == "--enable" || a == "--feedback" || a == "--sprites" || a == "--speed" || a == "--render-scale";
    if (!valued) return 0;
    if (i + 1 >= args.size()) {
        error = a + " needs a value";
        return -1;
    }
    const std::string& v = args[i + 1];
    if (a == "--enable") return parseEnableList(v, o.switches, error) ? 2 : -1;
    if (a == "--feedback") {
        if (v != "tiles" && v != "slide") {
            error = "--feedback '" + printable(v) + "': expected tiles or slide";
            return -1;
        }
        const FeedbackStyle style = v == "tiles" ? FeedbackStyle::Tiles : FeedbackStyle::Slide;
        if (!giveOnce(o, GIVEN_FEEDBACK, o.feedback == style, a, error)) return -1;
        o.feedback = style;
        o.switches |= switchBit(SWITCH_FEEDBACK);
        return 2;
    }
    if (a == "--render-scale") {
        int k = 0;
        if (v != "auto" && (!parseNumber(v, k) || k < 1 || k > MAX_RENDER_SCALE)) {
            error = "--render-scale '" + printable(v) + "': expected auto or a whole number from 1 to " +
                    std::to_string(MAX_RENDER_SCALE);
            return -1;
        }
        if (!giveOnce(o, GIVEN_RENDER_SCALE, o.renderScale == k, a, error)) return -1;
        o.renderScale = k;
        return 2;
    }
    if (a == "--sprites") {
        int n = 0;
        if (!parseNumber(v, n) || n < MIN_SPRITES || n > MAX_SPRITES) {
            error = "--sprites '" + printable(v) + "': expected a whole number from " + std::to_string(MIN_SPRITES) +
                    " to " + std::to_string(MAX_SPRITES);
            return -1;
        }
        if (!giveOnce(o, GIVEN_SPRITES, o.sprites == n, a, error)) return -1;
        o.sprites = n;
        return 2;
    }
    double x = 0;
    if (!parseSpeed(v, x)) {
        error = "--speed '" + printable(v) + "': expected a number from " + formatNumber(MIN_SPEED) + " to " +
                formatNumber(MAX_SPEED);
        return -1;
    }
    if (!giveOnce(o, GIVEN_SPEED, o.speed == x, a, error)) return -1;
    o.speed = x;
    return 2;
}

}  // namespace smokedrift
