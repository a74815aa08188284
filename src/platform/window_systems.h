#pragma once
// The window systems a POSIX run can draw on: the one list of their rows (BackendRow, in
// window_backend.h) and the choice among them. It sits above the backends, which know nothing of
// each other. Adding a backend is a folder of its own plus one row in window_systems.cpp.
#include "platform/win32/window_backend.h"

namespace smokedrift {

using platform::BackendRow;

// Picks a row and installs its table. `wanted` names one (it must answer: null after its line on
// stderr when it does not); null asks for the session's own: the first row whose session variable
// is set, that can draw this mode and answers, else the last row, which is not probed here.
const BackendRow* chooseBackend(const char* wanted, bool fullScreen);

}  // namespace smokedrift
