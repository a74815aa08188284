// The window system of this run: chosen once, before the host starts, and never changed.
#include "platform/posix_backend.h"
#include "platform/wayland/wl_state.h"
#include "platform/x11/x11_state.h"

namespace smokedrift {

namespace {
WindowSystem chosen = WindowSystem::X11;
}

void useWindowSystem(WindowSystem system) {
    chosen = system;
    platform::useBackend(system == WindowSystem::Wayland ? wl::backend() : x11::backend());
}

WindowSystem windowSystem() { return chosen; }

}  // namespace smokedrift
