#pragma once
// What the session says about itself through the environment: its display servers, its desktop,
// where its runtime files, bus and settings are. Read once at start and passed down, so every part
// of a run sees the same session even if something changes the environment later. An empty string
// is a variable that is unset or empty: every reader treats the two alike.
#include <string>
#include <string_view>

namespace smokedrift {

struct SessionEnvironment {
    std::string waylandDisplay;      // WAYLAND_DISPLAY
    std::string x11Display;          // DISPLAY
    std::string runtimeDir;          // XDG_RUNTIME_DIR
    std::string tmpDir;              // TMPDIR
    std::string sessionBus;          // DBUS_SESSION_BUS_ADDRESS
    std::string currentDesktop;      // XDG_CURRENT_DESKTOP, a colon list
    std::string kdeSessionVersion;   // KDE_SESSION_VERSION
    std::string configHome;          // XDG_CONFIG_HOME
    std::string configDirs;          // XDG_CONFIG_DIRS, a colon list
    std::string home;                // HOME
    std::string xscreensaverWindow;  // XSCREENSAVER_WINDOW

    bool waylandSession() const { return !waylandDisplay.empty(); }
    // XDG_CURRENT_DESKTOP names `desktop` among its entries ("ubuntu:GNOME" names GNOME).
    bool namesDesktop(std::string_view desktop) const;
};

SessionEnvironment readSessionEnvironment();

// Calls `each` with every non-empty entry of a colon list, in order, until it returns true; true
// if one did.
template <typename Each>
bool anyListEntry(std::string_view list, Each each) {
    while (!list.empty()) {
        const std::size_t colon = list.find(':');
        const std::string_view entry = list.substr(0, colon);
        if (!entry.empty() && each(entry)) return true;
        if (colon == std::string_view::npos) break;
        list.remove_prefix(colon + 1);
    }
    return false;
}

inline bool listHas(std::string_view list, std::string_view entry) {
    return anyListEntry(list, [entry](std::string_view e) { return e == entry; });
}

}  // namespace smokedrift
