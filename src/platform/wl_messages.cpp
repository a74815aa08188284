// The message queue over Wayland events: posted and sent messages, timers, stop signals.
#include "platform/posix_api.h"
#include "platform/wl_state.h"

namespace smokedrift::wl {

namespace {

void postCloseToOurWindows() {
    for (WlWindow& w : state().windows) {
        if (w.handle != nullptr) state().queue.post(w.handle, WM_CLOSE, 0, 0);
    }
}

// How long the wait may last: until the next timer, or the look at where the keyboard went.
int waitLimit(int timerWait) {
    const std::uint64_t due = state().focusCheckDue;
    if (due == 0) return timerWait;
    const std::uint64_t now = posix::nowMilliseconds();
    const int focusWait = due > now ? static_cast<int>(due - now) : 0;
    return timerWait < 0 || focusWait < timerWait ? focusWait : timerWait;
}

}  // namespace

namespace api {

// Nobody else could send us one: a number of our own for each name.
UINT WINAPI RegisterWindowMessageA(LPCSTR) {
    static UINT next = 0xC000;
    return next++;
}

BOOL WINAPI GetMessageA(LPMSG msg, HWND, UINT, UINT) {
    WlState& s = state();
    for (;;) {
        if (posix::takeStopRequest()) postCloseToOurWindows();
        if (s.queue.takeQuit(msg)) {
            // The output went away under the window: the run goes on without this process.
            if (s.outputGone) msg->wParam = OUTPUT_GONE_CODE;
            return FALSE;
        }
        if (s.focusCheckDue != 0 && posix::nowMilliseconds() >= s.focusCheckDue) checkFocus();
        if (s.queue.count == 0) dispatchPending();
        if (s.queue.quitPosted) continue;
        if (s.queue.pop(msg)) return TRUE;
        // Timers come last, as on Windows: only when nothing else is waiting.
        int timeout = -1;
        if (s.timers.take(msg, timeout)) return TRUE;
        waitForInput(waitLimit(timeout));
    }
}

BOOL WINAPI PeekMessageA(LPMSG msg, HWND window, UINT low, UINT high, UINT flags) {
    if (state().display != nullptr) dispatchPending();
    return state().queue.peek(msg, window, low, high, (flags & PM_REMOVE) != 0) ? TRUE : FALSE;
}

BOOL WINAPI TranslateMessage(const MSG*) { return FALSE; }

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    const WlWindow* w = findWindow(msg->hwnd);
    return w != nullptr ? w->proc(msg->hwnd, msg->message, msg->wParam, msg->lParam) : 0;
}

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const WlWindow* w = findWindow(window);
    return w != nullptr ? w->proc(window, message, wParam, lParam) : 0;
}

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (findWindow(window) == nullptr) return FALSE;
    return state().queue.post(window, message, wParam, lParam) ? TRUE : FALSE;
}

void WINAPI PostQuitMessage(int exitCode) {
    state().queue.quitPosted = true;
    state().queue.quitCode = exitCode;
}

UINT_PTR WINAPI SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC) {
    if (findWindow(window) == nullptr) return 0;
    return state().timers.set(window, id, elapse);
}

BOOL WINAPI KillTimer(HWND window, UINT_PTR id) { return state().timers.kill(window, id) ? TRUE : FALSE; }

}  // namespace api
}  // namespace smokedrift::wl
