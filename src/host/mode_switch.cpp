#include "host/mode_switch.h"

#include <string>

namespace smokedrift {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

const char* skipSpaces(const char* p) {
    while (*p == ' ') ++p;
    return p;
}

// The word at `text` as the lines that name it quote it.
void copyWord(char (&to)[HostRequest::MAX_WORD + 1], const char* text) {
    int length = 0;
    while (text[length] != '\0' && text[length] != ' ' && length < HostRequest::MAX_WORD) {
        to[length] = text[length];
        ++length;
    }
    to[length] = '\0';
}

HostRequest readPreview(HostRequest r, const char* id) {
    r.mode = HostMode::Preview;
    r.idGiven = isDigit(*id);
    r.window = readWindowNumber(id);
    copyWord(r.id, id);
    return r;
}

}  // namespace

std::uint32_t readWindowNumber(const char* text) {
    std::uint64_t value = 0;
    for (const char* p = text; isDigit(*p); ++p) {
        value = value * 10u + static_cast<std::uint64_t>(*p - '0');
        if (value > 0xFFFFFFFFu) return 0;
    }
    return static_cast<std::uint32_t>(value);
}

HostRequest readHostSwitch(const char* tail) {
    HostRequest r;
    copyWord(r.word, tail);
    for (const char* p = tail;; ++p) {
        switch (*p) {
        case '\0': return r;
        case ' ':
        case '-':
        case '/': continue;
        case 'S':
        case 's': r.mode = HostMode::Saver; return r;
        case 'P':
        case 'p':
        case 'L':
        case 'l': return readPreview(r, skipSpaces(p + 1));
        case 'C':
        case 'c':
            r.mode = HostMode::Settings;
            if (p[1] == ':') r.window = readWindowNumber(p + 2);
            return r;
        case 'A':
        case 'a':
            r.mode = HostMode::Password;
            r.window = readWindowNumber(skipSpaces(p + 1));
            return r;
        default: r.mode = HostMode::Unknown; return r;
        }
    }
}

HostRequest previewOf(std::uint64_t window) {
    HostRequest r;
    copyWord(r.word, "/p");
    return readPreview(r, std::to_string(window).c_str());
}

}  // namespace smokedrift
