// The screens of the display: their root windows, and the full-screen windows that cover them.
#include "platform/x11_state.h"

namespace smokedrift::x11 {

int screenOfRoot(Window xid) {
    Display* d = state().display;
    if (d == nullptr || xid == 0) return -1;
    const int count = ScreenCount(d) < MAX_SCREENS ? ScreenCount(d) : MAX_SCREENS;
    for (int i = 0; i < count; ++i) {
        if (RootWindow(d, i) == xid) return i;
    }
    return -1;
}

void listenTo(Window xid, long mask) {
    X11State& s = state();
    const int screen = screenOfRoot(xid);
    if (screen < 0) {
        XSelectInput(s.display, xid, mask);
        return;
    }
    // A selection replaces the last one: a root keeps the union of what every caller asked for.
    s.rootInput[screen] |= mask;
    XSelectInput(s.display, xid, s.rootInput[screen]);
}

void coverScreen(X11Window& w) {
    X11State& s = state();
    w.fullScreen = true;
    // The root's structure for its size; its substructure for other windows coming above ours.
    listenTo(s.root, StructureNotifyMask | SubstructureNotifyMask);
    // A size change between the caller's look at the screen and our listening is caught up here.
    XWindowAttributes root;
    if (XGetWindowAttributes(s.display, s.root, &root) != 0) screenResized(s.root, root.width, root.height);
}

void screenResized(Window root, int width, int height) {
    X11State& s = state();
    if (root != s.root) return;
    for (const X11Window& w : s.windows) {
        if (w.xid == 0 || !w.fullScreen || (w.width == width && w.height == height)) continue;
        // Its ConfigureNotify then resizes the GL child and sends WM_SIZE, as for any window of ours.
        XResizeWindow(s.display, w.xid, static_cast<unsigned>(width), static_cast<unsigned>(height));
    }
}

void topLevelChanged(const XEvent& e) {
    Window changed = 0;
    if (e.type == MapNotify) changed = e.xmap.window;
    if (e.type == ConfigureNotify) changed = e.xconfigure.window;
    if (e.type == CirculateNotify) changed = e.xcirculate.window;
    // A notification or any other window mapped over the saver would stay above it: what a
    // topmost window is on Windows, the saver stays here by raising itself after each such change.
    // Changes of our own windows (our raise among them) call for nothing.
    if (changed != 0 && findWindow(changed) == nullptr) state().raisePending = true;
}

void keepOnTop() {
    X11State& s = state();
    if (!s.raisePending) return;
    s.raisePending = false;
    for (const X11Window& w : s.windows) {
        if (w.xid != 0 && w.fullScreen) XRaiseWindow(s.display, w.xid);
    }
}

}  // namespace smokedrift::x11
