#pragma once
// The window systems a POSIX run can draw on: the one list of their rows (BackendRow, in
// window_backend.h) and the choice among them. It sits above the backends, which know nothing of
// each other. Adding a backend is a folder of its own plus one row in window_systems.cpp; what the
// entry knows of a backend (its switch, the modes it runs, its refusals) it learns from the row.
#include <span>

#include "platform/win32/window_backend.h"

namespace smokedrift {

using platform::BackendRow;

// The window system a command line asks for: the session's own, or a row, by its place in the list.
enum class WindowSystem : int { Session = -1 };

// The rows' switches ("--x11"), in the order of the list: the command line reads them.
std::span<const char* const> windowSystemSwitches();

// Picks a row and installs its table. A row asked for must run the `role` and answer: null after
// its line on stderr when it does not. Otherwise the session's own: the first row whose session
// variable is set, that can draw this role and answers, else the last row, which is not probed
// here. `onDesktop` (-root with no window named) is refused, with the row's line, by a session
// whose desktop cannot be drawn on. `env` says which sessions are on.
const BackendRow* chooseBackend(WindowSystem asked, platform::SurfaceRole role, bool onDesktop,
                                const SessionEnvironment& env);

}  // namespace smokedrift
