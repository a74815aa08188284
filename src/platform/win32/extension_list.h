#pragma once
// Extension strings, as GLX and EGL give them: names separated by blanks.
#include <cstring>

namespace smokedrift::platform {

// Whether `list` (may be null) names `name` as a whole word, not only as the start of a longer one.
inline bool listsExtension(const char* list, const char* name) {
    const std::size_t length = std::strlen(name);
    for (const char* p = list; p != nullptr && (p = std::strstr(p, name)) != nullptr; p += length) {
        if ((p == list || p[-1] == ' ') && (p[length] == ' ' || p[length] == '\0')) return true;
    }
    return false;
}

}  // namespace smokedrift::platform
