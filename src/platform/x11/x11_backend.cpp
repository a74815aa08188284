// The X11 backend as the Win32 emulation sees it: one table of its calls.
#include "platform/win32/posix_process.h"
#include "platform/x11/x11_state.h"

namespace smokedrift::x11 {

bool connect() { return display() != nullptr; }

// Other clients' windows have no queue of ours to post to.
bool postToOther(HWND, UINT, WPARAM, LPARAM) { return false; }

int exitCode(int quitCode) { return quitCode; }

std::uint64_t now() { return posix::nowMilliseconds(); }

namespace {

// Opening the display says why it failed in any case.
bool probe(bool) { return display() != nullptr; }

const platform::WindowBackend table = SMOKEDRIFT_BACKEND_TABLE("X11");

}  // namespace

// The last resort: no session variable of its own, since XWayland and remote displays serve it too.
const platform::BackendRow row = {
    .name = "X11",
    .switchName = "--x11",
    .sessionVariable = nullptr,
    .sessionValue = nullptr,
    .fullScreenOnly = false,
    .refusal = nullptr,
    .desktopRefusal = nullptr,
    .probe = probe,
    .table = &table,
    .processPerOutput = false,
};

}  // namespace smokedrift::x11
