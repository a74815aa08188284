// The Linux argument handling: NUL-separated words, the first being $XSCREENSAVER_WINDOW (a lone
// "-" for unset), the rest the arguments. Checks the window-id reading against a second reading
// done another way, and that the window the arguments name is one of the three things it can be.
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "main/xscreensaver_args.h"

namespace {

// The same rule, read with from_chars after checking every character.
unsigned long referenceId(const char* text) {
    if (text == nullptr) return 0;
    std::string s(text);
    int base = 10;
    if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.erase(0, 2);
    }
    if (s.empty()) return 0;
    for (char c : s) {
        const bool ok = base == 16 ? ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))
                                   : (c >= '0' && c <= '9');
        if (!ok) return 0;
    }
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value, base);
    if (error != std::errc() || end != s.data() + s.size() || value > 0xFFFFFFFFull) return 0;
    return static_cast<unsigned long>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> words(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            words.emplace_back();
        } else {
            words.back().push_back(static_cast<char>(data[i]));
        }
    }
    const char* environment = words[0] == "-" ? nullptr : words[0].c_str();
    const std::vector<std::string> args(words.begin() + 1, words.end());

    for (const std::string& w : words) {
        if (smokedrift::parseWindowId(w.c_str()) != referenceId(w.c_str())) __builtin_trap();
    }
    const smokedrift::NamedWindow named = smokedrift::namedWindow(args, environment);
    // The desktop only for -root, and with no id; an id only when a window is named.
    if (named.desktop && (!named.named || named.id != 0)) __builtin_trap();
    if (!named.named && named.id != 0) __builtin_trap();
    // A window of its own only when no window is named any other way.
    if (smokedrift::wantsOwnWindow(args, environment) && named.named) __builtin_trap();
    return 0;
}
