// The Wayland backend as the Win32 emulation sees it: one table of its calls.
#include "platform/wayland/wl_state.h"

namespace smokedrift::wl {

bool connect() { return display() != nullptr; }

HWND desktop() { return desktopHandle(); }

// Another run's surfaces are not ours to find: compositors keep clients apart.
HWND findOtherWindow(LPCSTR, LPCSTR) { return nullptr; }
bool postToOther(HWND, UINT, WPARAM, LPARAM) { return false; }

// Nobody else could send us one: a number of our own for each name.
UINT registerMessage(LPCSTR) { return state().nextMessage++; }

// The output went away under the window: the run goes on without this process.
int exitCode(int quitCode) { return state().outputGone ? OUTPUT_GONE_CODE : quitCode; }

// Previews and the settings dialog are X11's.
INT_PTR dialogBox(WORD, HWND, DLGPROC, LPARAM) { return -1; }
bool endDialog(HWND, INT_PTR) { return false; }

std::uint64_t now() { return posix::nowMilliseconds(); }

namespace {

bool probe(bool report) { return wl::connect(report) != nullptr; }

const platform::WindowBackend table = SMOKEDRIFT_BACKEND_TABLE("Wayland");

}  // namespace

const platform::BackendRow row = {
    .name = "Wayland",
    .switchName = "--wayland",
    .sessionVariable = "WAYLAND_DISPLAY",
    .sessionValue = &SessionEnvironment::waylandDisplay,
    .fullScreenOnly = true,
    .refusal = "--wayland runs the screen saver (/s) only; the dialog, previews, --window and -root need X11",
    .desktopRefusal =
        "-root draws on the X11 root window, which a Wayland session does not show; run "
        "smokedrift /s, or add --x11 to draw on XWayland's root anyway",
    .probe = probe,
    .table = &table,
    .processPerOutput = true,
};

}  // namespace smokedrift::wl
