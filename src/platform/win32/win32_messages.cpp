// The message loop of the Win32 emulation: posting, sending, dispatching, timers and the quit
// message, over whichever backend feeds the queue.
#include "platform/win32/posix_process.h"
#include "platform/win32/win32_state.h"

namespace smokedrift::platform {

bool post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Win32State& s = state();
    if (findWindow(window) == nullptr || s.backend == nullptr) return false;
    return s.queue.post(makeMsg(window, message, wParam, lParam, s.backend->now()));
}

void invalidate(HWND window) {
    Win32Window* w = findWindow(window);
    if (w == nullptr || w->paintPending) return;
    w->paintPending = post(window, WM_PAINT, 0, 0);
}

namespace {

void postCloseToOurWindows() {
    for (const Win32Window& w : state().windows) {
        if (w.handle != nullptr) post(w.handle, WM_CLOSE, 0, 0);
    }
}

// A WM_PAINT taken from the queue may be posted again.
void taken(const MSG& msg) {
    if (msg.message != WM_PAINT) return;
    if (Win32Window* w = findWindow(msg.hwnd)) w->paintPending = false;
}

}  // namespace
}  // namespace smokedrift::platform

using namespace smokedrift::platform;

BOOL WINAPI GetMessageA(LPMSG msg, HWND, UINT, UINT) {
    Win32State& s = state();
    const WindowBackend* backend = s.backend;
    for (;;) {
        if (smokedrift::posix::takeStopRequest()) postCloseToOurWindows();
        if (s.queue.takeQuit(msg)) {
            if (backend != nullptr) msg->wParam = static_cast<WPARAM>(backend->exitCode(static_cast<int>(msg->wParam)));
            return FALSE;
        }
        if (backend == nullptr) {
            // No window system: nothing will ever arrive.
            *msg = MSG{};
            msg->message = WM_QUIT;
            return FALSE;
        }
        if (s.queue.count == 0) {
            backend->pumpEvents();
            // A window destroyed under us has just posted the quit message.
            if (s.queue.quitPosted) continue;
        }
        if (s.queue.pop(msg)) {
            taken(*msg);
            return TRUE;
        }
        // Timers come last, as on Windows: only when nothing else is waiting.
        int timeout = -1;
        if (s.timers.take(msg, backend->now(), timeout)) return TRUE;
        backend->waitEvents(timeout);
    }
}

BOOL WINAPI PeekMessageA(LPMSG msg, HWND window, UINT low, UINT high, UINT flags) {
    Win32State& s = state();
    if (connected() != nullptr) s.backend->pumpEvents();
    const bool remove = (flags & PM_REMOVE) != 0;
    if (!s.queue.peek(msg, window, low, high, remove)) return FALSE;
    if (remove) taken(*msg);
    return TRUE;
}

BOOL WINAPI TranslateMessage(const MSG*) { return FALSE; }

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    const Win32Window* w = findWindow(msg->hwnd);
    return w != nullptr ? w->proc(msg->hwnd, msg->message, msg->wParam, msg->lParam) : 0;
}

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const Win32Window* w = findWindow(window);
    return w != nullptr ? w->proc(window, message, wParam, lParam) : 0;
}

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (findWindow(window) != nullptr) return post(window, message, wParam, lParam) ? TRUE : FALSE;
    const WindowBackend* backend = connected();
    return window != nullptr && backend != nullptr && backend->postToOther(window, message, wParam, lParam) ? TRUE
                                                                                                            : FALSE;
}

void WINAPI PostQuitMessage(int exitCode) {
    state().queue.quitPosted = true;
    state().queue.quitCode = exitCode;
}

UINT_PTR WINAPI SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC) {
    Win32State& s = state();
    if (findWindow(window) == nullptr) return 0;
    return s.timers.set(window, id, elapse, s.backend->now());
}

BOOL WINAPI KillTimer(HWND window, UINT_PTR id) { return state().timers.kill(window, id) ? TRUE : FALSE; }
