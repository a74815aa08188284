// The Wayland backend as the Win32 emulation sees it: one table of its calls.
#include "platform/wayland/wl_state.h"

namespace smokedrift::wl {

namespace {

bool connect() { return display() != nullptr; }

bool probe(bool report) { return wl::connect(report) != nullptr; }

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

const platform::WindowBackend table = {
    .name = "Wayland",
    .connect = connect,
    .pumpEvents = pumpEvents,
    .waitEvents = waitEvents,
    .now = posix::nowMilliseconds,
    .exitCode = exitCode,
    .createSurface = createSurface,
    .showSurface = showSurface,
    .destroySurface = destroySurface,
    .clipBox = clipBox,
    .desktop = desktop,
    .otherWindow = otherWindow,
    .findOtherWindow = findOtherWindow,
    .postToOther = postToOther,
    .foreground = foreground,
    .setForeground = setForeground,
    .registerMessage = registerMessage,
    .hideCursor = hideCursor,
    .cursorPos = cursorPos,
    .choosePixelFormat = choosePixelFormat,
    .describePixelFormat = describePixelFormat,
    .setPixelFormat = setPixelFormat,
    .createContext = createContext,
    .makeCurrent = makeCurrent,
    .deleteContext = deleteContext,
    .swapBuffers = swapBuffers,
    .procAddress = procAddress,
    .fontBitmaps = fontBitmaps,
    .dialogBox = dialogBox,
    .endDialog = endDialog,
};

}  // namespace

const platform::BackendRow row = {
    .name = "Wayland",
    .sessionVariable = "WAYLAND_DISPLAY",
    .fullScreenOnly = true,
    .probe = probe,
    .table = &table,
    .processPerOutput = true,
};

}  // namespace smokedrift::wl
