#include "offscreen/render_options.h"

#include <charconv>

namespace smokedrift {

std::string printable(const std::string& text) {
    static const char hex[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : text) {
        if (c < 0x20 || c == 0x7f) {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

namespace {

template <typename T>
bool parseNumber(const std::string& text, T& value) {
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

bool parseSize(const std::string& text, int& width, int& height) {
    const auto x = text.find_first_of("xX");
    if (x == std::string::npos) return false;
    return parseNumber(text.substr(0, x), width) && parseNumber(text.substr(x + 1), height) && width > 0 &&
           height > 0 && width <= MAX_RENDER_SIDE && height <= MAX_RENDER_SIDE;
}

bool parseEnableList(const std::string& text, std::vector<std::string>& names, std::string& error) {
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = text.find(',', start);
        const std::string name = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        bool known = false;
        for (const std::string& k : knownSwitchNames()) known = known || (k == name);
        if (!known) {
            std::string list;
            for (const std::string& k : knownSwitchNames()) list += (list.empty() ? "" : ", ") + k;
            error = "--enable: unknown switch '" + printable(name) + "' (known: " + list + ")";
            return false;
        }
        names.push_back(name);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return true;
}

}  // namespace

const std::vector<std::string>& knownSwitchNames() {
    static const std::vector<std::string> names = {"3d", "stars", "particles", "fog", "background", "feedback"};
    return names;
}

bool parseRenderOptions(const std::vector<std::string>& args, RenderOptions& options, std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        const bool known = option == "--render" || option == "--size" || option == "--frames" ||
                           option == "--seed" || option == "--enable";
        if (!known) {
            error = "unknown option '" + printable(option) + "' (see --help)";
            return false;
        }
        if (i + 1 >= args.size()) {
            error = printable(option) + " needs a value";
            return false;
        }
        const std::string& value = args[++i];
        if (option == "--render") {
            if (value.empty()) {
                error = "--render needs a file name";
                return false;
            }
            options.output = value;
        } else if (option == "--size") {
            if (!parseSize(value, options.width, options.height)) {
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
        } else if (!parseEnableList(value, options.enable, error)) {
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
