// X events as the messages of our windows: input, paint, size, destruction.
#include "platform/x11/x11_input.h"
#include "platform/x11/x11_state.h"

namespace smokedrift::x11 {

namespace {

bool enqueue(Window xid, UINT message, WPARAM wParam, LPARAM lParam) {
    return platform::post(handleOf(xid), message, wParam, lParam);
}

void destroyedUnderUs(X11Surface& w) {
    const Window xid = w.xid;
    forgetSurface(w);
    platform::destroyed(handleOf(xid));
}

// The format's child is the drawable, so it takes the new size before the window hears WM_SIZE.
void resized(X11Surface& w, int width, int height) {
    if (width == w.width && height == w.height) return;
    w.width = width;
    w.height = height;
    if (w.glChild != 0) {
        XResizeWindow(state().display, w.glChild, static_cast<unsigned>(width), static_cast<unsigned>(height));
    }
    platform::resized(handleOf(w.xid), width, height);
}

// A preview fills the foreign window it was given, at whatever size that window takes later.
void followParent(Window parent, int width, int height) {
    for (const X11Surface& child : state().surfaces) {
        if (child.xid == 0 || child.parent != parent || (child.width == width && child.height == height)) continue;
        XResizeWindow(state().display, child.xid, static_cast<unsigned>(width), static_cast<unsigned>(height));
    }
}

void translate(const XEvent& e) {
    X11Surface* w = findSurface(e.xany.window);
    if (e.type == DestroyNotify) {
        if (X11Surface* gone = findSurface(e.xdestroywindow.window)) destroyedUnderUs(*gone);
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
        if (X11Surface* ours = findSurface(e.xconfigure.window)) {
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
        if (e.xexpose.count == 0) platform::invalidate(handleOf(w->xid));
        break;
    case VisibilityNotify: w->obscured = e.xvisibility.state == VisibilityFullyObscured; break;
    case MapNotify:
        w->mapped = true;
        if (w->focusOnMap) {
            w->focusOnMap = false;
            XSetInputFocus(state().display, w->xid, RevertToParent, CurrentTime);
        }
        holdInput(*w);
        break;
    default: break;
    }
}

}  // namespace

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

}  // namespace smokedrift::x11
