#include "main/xscreensaver_args.h"

#include <cstdint>

namespace smokedrift {

namespace {

int digitValue(char c, bool hex) {
    if (c >= '0' && c <= '9') return c - '0';
    if (hex && c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
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

bool xscreensaverTail(const std::vector<std::string>& args, const char* xscreensaverWindow, unsigned long rootWindow,
                      std::string& tail) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "-root" || a == "--root") {
            unsigned long id = parseWindowId(xscreensaverWindow);
            if (id == 0) id = rootWindow;
            tail = "/p " + std::to_string(id);
            return true;
        }
        if (a == "-window-id" || a == "--window-id") {
            const unsigned long id = i + 1 < args.size() ? parseWindowId(args[i + 1].c_str()) : 0;
            tail = "/p " + std::to_string(id);
            return true;
        }
    }
    return false;
}

std::string hostCommandLine(const std::vector<std::string>& args, const char* xscreensaverWindow,
                            unsigned long rootWindow) {
    std::string tail;
    if (!xscreensaverTail(args, xscreensaverWindow, rootWindow, tail)) {
        for (const std::string& a : args) tail += (tail.empty() ? "" : " ") + a;
    }
    return tail.empty() ? std::string("smokedrift") : "smokedrift " + tail;
}

}  // namespace smokedrift
