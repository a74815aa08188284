#pragma once
// The window systems a POSIX run can draw on, one row each. A row is all the entry needs to know
// of a backend: whether it answers here, its table for the emulation, and what it does before the
// host starts. Adding a backend is a folder of its own plus one row in window_systems.cpp.
#include "platform/win32/window_backend.h"

namespace smokedrift {

struct BackendRow {
    const char* name;  // as the command line and messages name it: "X11", "Wayland"
    // The variable a session of this window system sets, or null for the last resort.
    const char* sessionVariable;
    // Draws the full-screen saver (/s) only: no previews, dialog or windows of its own.
    bool fullScreenOnly;
    // Does this window system answer here? Connects on the way. With `report` (X11: always), a
    // failure is told in one line on stderr.
    bool (*probe)(bool report);
    const platform::WindowBackend* table;
    // Run before the host, once the table is in use: -1 to go on to the host in this process;
    // otherwise the run is over, with that exit code. Null: go on.
    int (*startRun)();
    // In a process that draws no scene (its window black). Null: never.
    bool (*coversBlack)();
};

// Picks a row and installs its table. `wanted` names one (it must answer: null after its line on
// stderr when it does not); null asks for the session's own: the first row whose session variable
// is set, that can draw this mode and answers, else the last row, which is not probed here.
const BackendRow* chooseBackend(const char* wanted, bool fullScreen);

}  // namespace smokedrift
