#include "main/xscreensaver_args.h"

#include <cstdint>

#include "main/hack_options.h"

namespace smokedrift {

namespace {

int digitValue(char c, bool hex) {
    if (c >= '0' && c <= '9') return c - '0';
    if (hex && c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// xscreensaver's flags for every hack: the number of words the one at i takes, 0 when it is not
// one of them. They change nothing here (the saver paces itself by the display).
std::size_t hackFlagWords(const std::vector<std::string>& args, std::size_t i) {
    const int k = findHackOption(args[i]);
    if (k < 0 || !hackOptions[k].everyHack) return 0;
    return hackOptions[k].value != HackValue::None && i + 1 < args.size() ? 2 : 1;
}

bool onlyHackFlags(const std::vector<std::string>& args) {
    for (std::size_t i = 0; i < args.size();) {
        const std::size_t words = hackFlagWords(args, i);
        if (words == 0) return false;
        i += words;
    }
    return true;
}

}  // namespace

// By hand rather than strtoull, which would also take blanks, a sign or a second "0x".
unsigned long parseWindowId(const char* text) {
    if (text == nullptr || *text == '\0') return 0;
    const bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* p = hex ? text + 2 : text;
    if (*p == '\0') return 0;
    const std::uint64_t base = hex ? 16 : 10;
    std::uint64_t value = 0;
    for (; *p != '\0'; ++p) {
        const int digit = digitValue(*p, hex);
        if (digit < 0) return 0;
        value = value * base + static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFull) return 0;
    }
    return static_cast<unsigned long>(value);
}

NamedWindow namedWindow(const std::vector<std::string>& args, const char* xscreensaverWindow) {
    NamedWindow found;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        // The word after -delay is its value, whatever it looks like, as onlyHackFlags reads it.
        if (hackFlagWords(args, i) == 2) {
            ++i;
            continue;
        }
        if (isHackOption(a, HACK_ROOT)) {
            found.named = true;
            found.id = parseWindowId(xscreensaverWindow);
            found.desktop = found.id == 0;
            return found;
        }
        if (isHackOption(a, HACK_WINDOW_ID)) {
            found.named = true;
            found.id = i + 1 < args.size() ? parseWindowId(args[i + 1].c_str()) : 0;
            return found;
        }
    }
    // xscreensaver names the window in the environment alone, too.
    found.id = parseWindowId(xscreensaverWindow);
    found.named = found.id != 0 && onlyHackFlags(args);
    if (!found.named) found.id = 0;
    return found;
}

bool readsXscreensaverWindow(const std::vector<std::string>& args) { return onlyHackFlags(args); }

bool wantsOwnWindow(const std::vector<std::string>& args, const char* xscreensaverWindow) {
    return !args.empty() && onlyHackFlags(args) && parseWindowId(xscreensaverWindow) == 0;
}

}  // namespace smokedrift
