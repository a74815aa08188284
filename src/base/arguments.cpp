#include "base/arguments.h"

namespace smokedrift {

bool takeOption(const std::vector<std::string>& args, std::size_t& i, std::initializer_list<const char*> known,
                std::string& option, std::string& value, std::string& error) {
    option = args[i];
    bool isKnown = false;
    for (const char* k : known) isKnown = isKnown || option == k;
    if (!isKnown) {
        error = "unknown option '" + printable(option) + "' (see --help)";
        return false;
    }
    if (i + 1 >= args.size()) {
        error = printable(option) + " needs a value";
        return false;
    }
    value = args[++i];
    return true;
}

bool parseSize(const std::string& text, int& width, int& height) {
    const auto x = text.find_first_of("xX");
    if (x == std::string::npos) return false;
    int w = 0, h = 0;
    if (!parseNumber(text.substr(0, x), w) || !parseNumber(text.substr(x + 1), h) || w < 1 || h < 1) return false;
    width = w;
    height = h;
    return true;
}

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

}  // namespace smokedrift
