#include "offscreen/render_options.h"

#include "base/arguments.h"

namespace smokedrift {

bool parseRenderOptions(const std::vector<std::string>& args, RenderOptions& options, std::string& error) {
    std::string option, value;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const int taken = takeSceneOption(args, i, options.scene, error);
        if (taken < 0) return false;
        if (taken > 0) {
            i += static_cast<std::size_t>(taken) - 1;
            continue;
        }
        if (!takeOption(args, i, {"--render", "--size", "--frames", "--seed"}, option, value, error)) {
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
                error = "--size '" + printable(value) + "': expected WxH, each from 1 to " +
                        std::to_string(MAX_RENDER_SIDE);
                return false;
            }
        } else if (option == "--frames") {
            if (!parseNumber(value, options.frames) || options.frames < 1) {
                error = "--frames '" + printable(value) + "': expected a positive number";
                return false;
            }
        } else if (!parseNumber(value, options.seed)) {
            error = "--seed '" + printable(value) + "': expected a number from 0 to 4294967295";
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
