// The message queue over X events: posted and sent messages, timers, input, destruction.
#include "platform/posix_api.h"
#include "platform/x11_input.h"
#include "platform/x11_state.h"

namespace smokedrift::x11 {

namespace {

bool enqueue(Window xid, UINT message, WPARAM wParam, LPARAM lParam) {
    return state().queue.post(handleOf(xid), message, wParam, lParam);
}

void dropQueuedFor(Window xid) { state().queue.dropFor(handleOf(xid)); }

void destroyedUnderUs(X11Window& w) {
    const Window xid = w.xid;
    const WNDPROC proc = w.proc;
    forgetWindow(w);  // gone: nothing more may be drawn into it, sent to it or timed for it
    proc(handleOf(xid), WM_DESTROY, 0, 0);
    dropQueuedFor(xid);
}

// As DestroyWindow: the window hears WM_DESTROY, then each of its children, every one while its X
// window still exists (a GL context is let go of before its drawable disappears).
void retireTree(X11Window& w) {
    const Window xid = w.xid;
    w.proc(handleOf(xid), WM_DESTROY, 0, 0);
    for (X11Window& child : state().windows) {
        if (child.xid != 0 && child.parent == xid) retireTree(child);
    }
    dropQueuedFor(xid);
    forgetWindow(w);
}

// Windows sends WM_SIZE from inside the call that resized the window: straight to the procedure.
// The format's child is the drawable, so it takes the new size first.
void resized(X11Window& w, int width, int height) {
    if (width == w.width && height == w.height) return;
    w.width = width;
    w.height = height;
    if (w.glChild != 0) {
        XResizeWindow(state().display, w.glChild, static_cast<unsigned>(width), static_cast<unsigned>(height));
    }
    w.proc(handleOf(w.xid), WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
}

// A preview fills the foreign window it was given, at whatever size that window takes later.
void followParent(Window parent, int width, int height) {
    for (const X11Window& child : state().windows) {
        if (child.xid == 0 || child.parent != parent || (child.width == width && child.height == height)) continue;
        XResizeWindow(state().display, child.xid, static_cast<unsigned>(width), static_cast<unsigned>(height));
    }
}

void translate(const XEvent& e) {
    X11Window* w = findWindow(e.xany.window);
    if (e.type == DestroyNotify) {
        if (X11Window* gone = findWindow(e.xdestroywindow.window)) destroyedUnderUs(*gone);
        return;
    }
    // Heard on a root: the screen's own size, or what other clients do with their windows there.
    if (screenOfRoot(e.xany.window) >= 0) {
        if (e.type == ConfigureNotify && e.xconfigure.window == e.xany.window) {
            followParent(e.xconfigure.window, e.xconfigure.width, e.xconfigure.height);
            screenResized(e.xconfigure.window, e.xconfigure.width, e.xconfigure.height);
        } else {
            topLevelChanged(e);
        }
        return;
    }
    if (e.type == ConfigureNotify) {
        if (X11Window* ours = findWindow(e.xconfigure.window)) {
            resized(*ours, e.xconfigure.width, e.xconfigure.height);
        } else {
            followParent(e.xconfigure.window, e.xconfigure.width, e.xconfigure.height);
        }
        return;
    }
    // Input on another screen's cover is input to the full-screen window it belongs to.
    if (w == nullptr && (e.type == KeyPress || e.type == ButtonPress || e.type == MotionNotify)) {
        w = coveredBy(e.xany.window);
    }
    if (w == nullptr) return;
    switch (e.type) {
    case KeyPress:
    case ButtonPress:
    case MotionNotify:
    case FocusOut:
    case ClientMessage: {
        const KeySym sym = e.type == KeyPress ? XLookupKeysym(const_cast<XKeyEvent*>(&e.xkey), 0) : NoSymbol;
        const InputMessage m = inputMessage(e, sym, w->topLevel, state().wmDeleteWindow);
        if (m.message != 0) enqueue(w->xid, m.message, m.wParam, m.lParam);
        break;
    }
    case Expose:
        if (e.xexpose.count == 0 && !w->paintPending) {
            w->paintPending = true;
            enqueue(w->xid, WM_PAINT, 0, 0);
        }
        break;
    case VisibilityNotify:
        w->obscured = e.xvisibility.state == VisibilityFullyObscured;
        break;
    case MapNotify:
        w->mapped = true;
        if (w->focusOnMap) {
            w->focusOnMap = false;
            XSetInputFocus(state().display, w->xid, RevertToParent, CurrentTime);
        }
        holdInput(*w);
        break;
    default:
        break;
    }
}

void pumpEvents() {
    Display* d = state().display;
    if (d == nullptr) return;
    while (XPending(d) > 0) {
        XEvent e;
        XNextEvent(d, &e);
        if (e.type == GenericEvent && !keyFromDevice(e)) continue;
        translate(e);
    }
    keepOnTop();
    keepInputHeld();
}

void postCloseToOurWindows() {
    for (const X11Window& w : state().windows) {
        if (w.xid != 0 && w.proc != nullptr) enqueue(w.xid, WM_CLOSE, 0, 0);
    }
}

void forgetPendingPaint(Window xid) {
    if (X11Window* w = findWindow(xid)) w->paintPending = false;
}

}  // namespace
}  // namespace smokedrift::x11

namespace smokedrift::x11::api {

UINT WINAPI RegisterWindowMessageA(LPCSTR name) {
    Display* d = display();
    if (d == nullptr) return 0;
    return 0xC000u + static_cast<UINT>(XInternAtom(d, name, False) & 0x3FFF);
}

BOOL WINAPI GetMessageA(LPMSG msg, HWND, UINT, UINT) {
    X11State& s = state();
    for (;;) {
        if (posix::takeStopRequest()) postCloseToOurWindows();
        if (s.queue.takeQuit(msg)) return FALSE;
        if (s.queue.count == 0) {
            pumpEvents();
            // A window destroyed under us has just posted the quit message.
            if (s.queue.quitPosted) continue;
        }
        if (s.queue.pop(msg)) {
            if (msg->message == WM_PAINT) forgetPendingPaint(xidOf(msg->hwnd));
            return TRUE;
        }
        // Timers come last, as on Windows: only when nothing else is waiting.
        int timeout = -1;
        if (s.timers.take(msg, timeout)) return TRUE;
        waitForInput(timeout);
    }
}

BOOL WINAPI PeekMessageA(LPMSG msg, HWND window, UINT low, UINT high, UINT flags) {
    pumpEvents();
    return state().queue.peek(msg, window, low, high, (flags & PM_REMOVE) != 0) ? TRUE : FALSE;
}

BOOL WINAPI TranslateMessage(const MSG*) { return FALSE; }

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    const X11Window* w = findWindow(xidOf(msg->hwnd));
    return w != nullptr ? w->proc(msg->hwnd, msg->message, msg->wParam, msg->lParam) : 0;
}

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const X11Window* w = findWindow(xidOf(window));
    return w != nullptr ? w->proc(window, message, wParam, lParam) : 0;
}

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Windows of other programs have no queue of ours to post to.
    if (findWindow(xidOf(window)) == nullptr) return FALSE;
    return enqueue(xidOf(window), message, wParam, lParam) ? TRUE : FALSE;
}

void WINAPI PostQuitMessage(int exitCode) {
    state().queue.quitPosted = true;
    state().queue.quitCode = exitCode;
}

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM, LPARAM) {
    X11Window* w = findWindow(xidOf(window));
    if (message != WM_CLOSE || w == nullptr) return 0;
    const Window xid = w->xid;
    retireTree(*w);
    X11State& s = state();
    XDestroyWindow(s.display, xid);
    XFlush(s.display);
    return 0;
}

UINT_PTR WINAPI SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC) {
    if (findWindow(xidOf(window)) == nullptr) return 0;
    return state().timers.set(window, id, elapse);
}

BOOL WINAPI KillTimer(HWND window, UINT_PTR id) { return state().timers.kill(window, id) ? TRUE : FALSE; }

}  // namespace smokedrift::x11::api
