#include "offscreen/render_options.h"

#include "app/scene_switches.h"
#include "offscreen/arguments.h"

namespace smokedrift {

namespace {

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

}  // namespace

bool parseRenderOptions(const std::vector<std::string>& args, RenderOptions& options, std::string& error) {
    std::string option, value;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (!takeOption(args, i, {"--render", "--size", "--frames", "--seed", "--enable"}, option, value, error)) {
            return false;
        }
        if (option == "--render") {
            if (value.empty()) {
                error = "--render needs a file name";
                return false;
            }
            options.output = value;
        } else if (option == "--size") {
            if (!parseSize(value, options.width, options.height) || options.width > MAX_RENDER_SIDE ||
                options.height > MAX_RENDER_SIDE) {
                error = "--size '" + printable(value) + "': expected WxH, each from 1 to " + std::to_string(MAX_RENDER_SIDE);
                return false;
            }
        } else if (option == "--frames") {
            if (!parseNumber(value, options.frames) || options.frames < 1) {
                error = "--frames '" + printable(value) + "': expected a positive number";
                return false;
            }
        } else if (option == "--seed") {
            if (!parseNumber(value, options.seed)) {
                error = "--seed '" + printable(value) + "': expected a number from 0 to 4294967295";
                return false;
            }
        } else if (!parseEnableList(value, options.switches, error)) {
            return false;
        }
    }
    if (options.output.empty()) {
        error = "--render needs a file name";
        return false;
    }
    return true;
}

}  // namespace smokedrift
