// The window system of this run: chosen once, before the host starts, and never changed.
#include "platform/window_systems.h"

#include <array>
#include <cstdio>
#include <iterator>

#include "platform/wayland/wl_state.h"
#include "platform/x11/x11_state.h"

namespace smokedrift {

namespace {

// In the order a session's own is looked for; the last is the one that needs no session of its own.
const BackendRow* const rows[] = {&wl::row, &x11::row};
const BackendRow* const last = rows[std::size(rows) - 1];

bool inSession(const BackendRow& row, const SessionEnvironment& session) {
    return row.sessionValue != nullptr && !(session.*row.sessionValue).empty();
}

// The row of the session the user is in, answering or not.
const BackendRow* sessionRow(const SessionEnvironment& env) {
    for (const BackendRow* row : rows)
        if (row != last && inSession(*row, env)) return row;
    return last;
}

// A run the row does not draw: its line, and no row.
const BackendRow* refuse(const char* line) {
    std::fprintf(stderr, "smokedrift: %s\n", line);
    return nullptr;
}

}  // namespace

std::span<const char* const> windowSystemSwitches() {
    static const auto switches = [] {
        std::array<const char*, std::size(rows)> names{};
        for (std::size_t i = 0; i < std::size(rows); ++i) names[i] = rows[i]->switchName;
        return names;
    }();
    return switches;
}

const BackendRow* chooseBackend(WindowSystem asked, platform::SurfaceRole role, bool onDesktop,
                                const SessionEnvironment& env) {
    const BackendRow* wanted = asked == WindowSystem::Session ? nullptr : rows[static_cast<int>(asked)];
    const bool fullScreen = role == platform::SurfaceRole::FullScreen;
    const BackendRow* session = wanted != nullptr ? wanted : sessionRow(env);
    if (onDesktop && session->desktopRefusal != nullptr) return refuse(session->desktopRefusal);
    if (wanted != nullptr && wanted->fullScreenOnly && !fullScreen) return refuse(wanted->refusal);
    const BackendRow* chosen = nullptr;
    for (const BackendRow* row : rows) {
        if (wanted != nullptr) {
            if (row != wanted) continue;
            // The last resort is asked later, and only by the modes that need its display.
            if (row != last && !row->probe(true)) return nullptr;
        } else if (row != last) {
            if (!inSession(*row, env) || (row->fullScreenOnly && !fullScreen)) continue;
            if (!row->probe(false)) {
                std::fprintf(stderr, "smokedrift: the %s compositor \"%s\" does not answer; drawing on %s\n", row->name,
                             (env.*row->sessionValue).c_str(), last->name);
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
