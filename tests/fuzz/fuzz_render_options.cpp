// Render-mode arguments: NUL-separated words, as a shell would pass them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "offscreen/render_options.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args{"--render"};
    std::string word;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.push_back(word);
            word.clear();
        } else {
            word.push_back(static_cast<char>(data[i]));
        }
    }
    args.push_back(word);
    smokedrift::RenderOptions options;
    std::string error;
    if (smokedrift::parseRenderOptions(args, options, error)) {
        // Whatever is accepted must be usable as it stands.
        if (options.width < 1 || options.height < 1 || options.width > smokedrift::MAX_RENDER_SIDE ||
            options.height > smokedrift::MAX_RENDER_SIDE || options.frames < 1 || options.output.empty())
            __builtin_trap();
    } else if (error.empty() || error.find('\n') != std::string::npos) {
        __builtin_trap();  // a refusal always says why, in one line
    }
    return 0;
}
