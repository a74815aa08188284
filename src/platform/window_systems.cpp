// The window system of this run: chosen once, before the host starts, and never changed.
#include "platform/window_systems.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "platform/wayland/wl_state.h"
#include "platform/x11/x11_state.h"

namespace smokedrift {

namespace {

// In the order a session's own is looked for; the last is the one that needs no session of its own.
const BackendRow* const rows[] = {&wl::row, &x11::row};

}  // namespace

const BackendRow* chooseBackend(const char* wanted, bool fullScreen) {
    const BackendRow* const last = rows[std::size(rows) - 1];
    const BackendRow* chosen = nullptr;
    for (const BackendRow* row : rows) {
        if (wanted != nullptr) {
            if (std::strcmp(row->name, wanted) != 0) continue;
            // The last resort is asked later, and only by the modes that need its display.
            if (row != last && !row->probe(true)) return nullptr;
        } else if (row != last) {
            const char* session = std::getenv(row->sessionVariable);
            if (session == nullptr || *session == '\0' || (row->fullScreenOnly && !fullScreen)) continue;
            if (!row->probe(false)) {
                std::fprintf(stderr, "smokedrift: the %s compositor \"%s\" does not answer; drawing on %s\n", row->name,
                             session, last->name);
                continue;
            }
        }
        chosen = row;
        break;
    }
    if (chosen != nullptr) platform::useBackend(*chosen->table);
    return chosen;
}

}  // namespace smokedrift
