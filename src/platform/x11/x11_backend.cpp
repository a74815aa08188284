// The X11 backend as the Win32 emulation sees it: one table of its calls.
#include "platform/posix_process.h"
#include "platform/x11/x11_state.h"

namespace smokedrift::x11 {

namespace {

bool connect() { return display() != nullptr; }

// Other clients' windows have no queue of ours to post to.
bool postToOther(HWND, UINT, WPARAM, LPARAM) { return false; }

int exitCode(int quitCode) { return quitCode; }

const platform::WindowBackend table = {
    "X11",
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

}  // namespace smokedrift::x11
