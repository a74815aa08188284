// The Win32 window-system calls, each handed to the backend this run uses. The choice is made once,
// before the host starts, and never changes: one window system per process.
#include "platform/posix_api.h"
#include "platform/posix_backend.h"

namespace smokedrift {

namespace {
WindowSystem chosen = WindowSystem::X11;
}

void useWindowSystem(WindowSystem system) { chosen = system; }
WindowSystem windowSystem() { return chosen; }

}  // namespace smokedrift

#define SMOKEDRIFT_DISPATCH_CALL(result, name, parameters, arguments)                   \
    result WINAPI name parameters {                                                    \
        if (smokedrift::chosen == smokedrift::WindowSystem::Wayland)                     \
            return smokedrift::wl::api::name arguments;                                  \
        return smokedrift::x11::api::name arguments;                                     \
    }

SMOKEDRIFT_WINDOW_SYSTEM_CALLS(SMOKEDRIFT_DISPATCH_CALL)
