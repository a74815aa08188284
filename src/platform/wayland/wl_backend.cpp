// The Wayland backend as the Win32 emulation sees it: one table of its calls.
#include "platform/wayland/wl_state.h"

namespace smokedrift::wl {

namespace {

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

const platform::WindowBackend table = {
    "Wayland",
    connect,
    pumpEvents,
    waitEvents,
    posix::nowMilliseconds,
    exitCode,
    createSurface,
    showSurface,
    destroySurface,
    clipBox,
    desktop,
    otherWindow,
    findOtherWindow,
    postToOther,
    foreground,
    setForeground,
    registerMessage,
    hideCursor,
    cursorPos,
    choosePixelFormat,
    describePixelFormat,
    setPixelFormat,
    createContext,
    makeCurrent,
    deleteContext,
    swapBuffers,
    procAddress,
    fontBitmaps,
    dialogBox,
    endDialog,
};

}  // namespace

const platform::WindowBackend& backend() { return table; }

}  // namespace smokedrift::wl
