// The rules that end the saver, and the password check that may stand between them and the close.
#include <cstdlib>

#include "host/host_state.h"
#include "host/saver_host.h"

namespace smokedrift {

namespace {

void requestClose(HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); }

DWORD cursorTravel(const POINT& from, const POINT& to) {
    return static_cast<DWORD>(std::labs(static_cast<long>(to.x) - from.x) +
                              std::labs(static_cast<long>(to.y) - from.y));
}

// The input and system events that close a full-screen saver. Returns true when the
// message has been answered completely (WM_SETCURSOR).
bool applyCloseRules(HWND window, UINT message, WPARAM wParam, LRESULT& result) {
    switch (message) {
    case WM_SHOWWINDOW:
        if (wParam != 0) SetCursor(nullptr);
        break;
    case WM_ACTIVATEAPP:
        if (wParam == 0) requestClose(window);
        break;
    case WM_SETCURSOR:
        SetCursor(nullptr);
        result = 1;
        return true;
    case WM_POWER:
        if (wParam == PWR_CRITICALRESUME) requestClose(window);
        break;
    case WM_POWERBROADCAST:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL: requestClose(window); break;
    case WM_MOUSEMOVE: {
        POINT now = {};
        GetCursorPos(&now);
        if (cursorTravel(hostState.lastCursorPos, now) > MOUSE_MOVE_THRESHOLD) {
            requestClose(window);
            hostState.lastCursorPos = now;
        }
        break;
    }
    default: break;
    }
    return false;
}

LRESULT finish(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hostState.autoPlayMessage != 0 && message == hostState.autoPlayMessage) {
        requestClose(window);
        return hostState.verifyPasswordFn != nullptr ? 1 : 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Only the check verifyClose starts runs the verifier, and one at a time: a WM_APP sent from
// elsewhere, or arriving through the dialog's own loop, opens no second dialog and approves nothing.
LRESULT runVerifier(HWND window) {
    if (hostState.verifyPasswordFn == nullptr) return 1;
    if (!hostState.passwordDialogActive || hostState.verifierRunning) return 0;
    hostState.verifierRunning = true;
    const LRESULT accepted = hostState.verifyPasswordFn(window);
    hostState.verifierRunning = false;
    return accepted;
}

}  // namespace

LRESULT defaultSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hostState.previewMode || hostState.closeApproved) return finish(window, message, wParam, lParam);
    if (message == WM_CLOSE) {
        if (hostState.win9xPlatform && !verifyClose(window)) {
            GetCursorPos(&hostState.lastCursorPos);
            return 0;
        }
        return finish(window, message, wParam, lParam);
    }
    if (message == PASSWORD_CHECK_MESSAGE && hostState.win9xPlatform) {
        return runVerifier(window);
    }
    if (!hostState.passwordDialogActive) {
        LRESULT result = 0;
        if (applyCloseRules(window, message, wParam, result)) return result;
    }
    return finish(window, message, wParam, lParam);
}

bool verifyClose(HWND window) {
    if (hostState.passwordDialogActive || hostState.closeApproved) return false;
    if (hostState.verifyPasswordFn == nullptr) {
        hostState.closeApproved = true;
        return true;
    }
    const DWORD now = GetTickCount();
    if (hostState.lastPasswordCheck != NEVER_CHECKED && now - hostState.lastPasswordCheck < CLOSE_GUARD_MS) {
        return false;
    }
    hostState.passwordDialogActive = true;
    // Frames queued before the dialog would only pile up behind it.
    MSG dropped;
    PeekMessageA(&dropped, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    PeekMessageA(&dropped, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    hostState.closeApproved = SendMessageA(window, PASSWORD_CHECK_MESSAGE, 0, 0) != 0;
    hostState.passwordDialogActive = false;
    if (!hostState.closeApproved) SetCursor(nullptr);
    hostState.lastPasswordCheck = GetTickCount();
    return hostState.closeApproved;
}

}  // namespace smokedrift
