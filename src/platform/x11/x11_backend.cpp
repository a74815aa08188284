// The X11 backend as the Win32 emulation sees it: one table of its calls.
#include "platform/win32/posix_process.h"
#include "platform/x11/x11_state.h"

namespace smokedrift::x11 {

namespace {

bool connect() { return display() != nullptr; }

// Other clients' windows have no queue of ours to post to.
bool postToOther(HWND, UINT, WPARAM, LPARAM) { return false; }

int exitCode(int quitCode) { return quitCode; }

// Opening the display says why it failed in any case.
bool probe(bool) { return display() != nullptr; }

const platform::WindowBackend table = {
    .name = "X11",
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

// The last resort: no session variable of its own, since XWayland and remote displays serve it too.
const platform::BackendRow row = {
    .name = "X11",
    .sessionVariable = nullptr,
    .fullScreenOnly = false,
    .probe = probe,
    .table = &table,
    .processPerOutput = false,
};

}  // namespace smokedrift::x11
