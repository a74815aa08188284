#pragma once
// xscreensaver's options for a hack, each taken with one dash or two: the one list of their words,
// the values they take, their defaults and ranges. The command-line reader, the host's tail and
// the entry match words against it; --help and the manual page print from it.
#include <string_view>

#include "saver/saver_options.h"

namespace smokedrift {

enum class HackValue { None, WindowId, Microseconds };

struct HackOption {
    const char* word;  // without its dashes
    HackValue value;
    // xscreensaver gives it to every hack: it names no window of its own, and with nothing but
    // these $XSCREENSAVER_WINDOW names the window to draw into.
    bool everyHack;
    long low = 0, high = 0, fallback = 0;  // a number's range and its default
};

enum HackOptionIndex : int { HACK_ROOT, HACK_WINDOW_ID, HACK_WINDOW, HACK_FPS, HACK_DELAY, HACK_OPTION_COUNT };

inline constexpr HackOption hackOptions[HACK_OPTION_COUNT] = {
    {"root", HackValue::None, false},
    {"window-id", HackValue::WindowId, false},
    {"window", HackValue::None, true},
    {"fps", HackValue::None, true},
    {"delay", HackValue::Microseconds, true, 0, MAX_DELAY_MICROSECONDS, SaverOptions{}.delayMicroseconds},
};

// The size of --window's own window.
constexpr int OWN_WINDOW_WIDTH = 640;
constexpr int OWN_WINDOW_HEIGHT = 480;

// The option `arg` spells, "-word" or "--word"; -1 for any other word.
constexpr int findHackOption(std::string_view arg) {
    if (arg.starts_with("--")) {
        arg.remove_prefix(2);
    } else if (arg.starts_with("-")) {
        arg.remove_prefix(1);
    } else {
        return -1;
    }
    for (int i = 0; i < HACK_OPTION_COUNT; ++i)
        if (arg == hackOptions[i].word) return i;
    return -1;
}

constexpr bool isHackOption(std::string_view arg, HackOptionIndex option) { return findHackOption(arg) == option; }

}  // namespace smokedrift
