#include "base/session_environment.h"

#include <cstdlib>

namespace smokedrift {

namespace {

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

bool SessionEnvironment::namesDesktop(std::string_view desktop) const { return listHas(currentDesktop, desktop); }

SessionEnvironment readSessionEnvironment() {
    SessionEnvironment e;
    e.waylandDisplay = variable("WAYLAND_DISPLAY");
    e.x11Display = variable("DISPLAY");
    e.runtimeDir = variable("XDG_RUNTIME_DIR");
    e.tmpDir = variable("TMPDIR");
    e.sessionBus = variable("DBUS_SESSION_BUS_ADDRESS");
    e.currentDesktop = variable("XDG_CURRENT_DESKTOP");
    e.kdeSessionVersion = variable("KDE_SESSION_VERSION");
    e.configHome = variable("XDG_CONFIG_HOME");
    e.configDirs = variable("XDG_CONFIG_DIRS");
    e.home = variable("HOME");
    e.xscreensaverWindow = variable("XSCREENSAVER_WINDOW");
    return e;
}

}  // namespace smokedrift
