// The screens of the display: their root windows, and the full-screen windows that cover them.
#include "platform/x11/x11_state.h"

namespace smokedrift::x11 {

namespace {

int screenCount() {
    const int count = ScreenCount(state().display);
    return count < MAX_SCREENS ? count : MAX_SCREENS;
}

// The other screens get a black window each, with the saver's name and class, that hears the
// input there for the saver: one GL context and one scene draw, on the default screen.
Window makeCover(const X11Surface& w, int screen) {
    Display* d = state().display;
    const Window root = RootWindow(d, screen);
    XWindowAttributes size;
    if (XGetWindowAttributes(d, root, &size) == 0) return 0;
    XSetWindowAttributes attributes = {};
    attributes.background_pixel = BlackPixel(d, screen);
    attributes.override_redirect = True;
    attributes.event_mask = KeyPressMask | ButtonPressMask | PointerMotionMask;
    const Window cover = XCreateWindow(d, root, 0, 0, static_cast<unsigned>(size.width),
                                       static_cast<unsigned>(size.height), 0, CopyFromParent, InputOutput,
                                       CopyFromParent, CWBackPixel | CWOverrideRedirect | CWEventMask, &attributes);
    char* name = nullptr;
    if (XFetchName(d, w.xid, &name) != 0 && name != nullptr) {
        XStoreName(d, cover, name);
        XFree(name);
    }
    XClassHint hint = {};
    if (XGetClassHint(d, w.xid, &hint) != 0) {
        XSetClassHint(d, cover, &hint);
        XFree(hint.res_name);
        XFree(hint.res_class);
    }
    return cover;
}

}  // namespace

int screenOfRoot(Window xid) {
    Display* d = state().display;
    if (d == nullptr || xid == 0) return -1;
    for (int i = 0; i < screenCount(); ++i) {
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

void coverScreen(X11Surface& w) {
    X11State& s = state();
    w.fullScreen = true;
    for (int i = 0; i < screenCount(); ++i) {
        const Window root = RootWindow(s.display, i);
        // The root's structure for its size; its substructure for other windows coming above ours.
        listenTo(root, StructureNotifyMask | SubstructureNotifyMask);
        if (i != s.screen) w.covers[i] = makeCover(w, i);
        // A size change between the caller's look at the screen and our listening is caught up here.
        XWindowAttributes attributes;
        if (XGetWindowAttributes(s.display, root, &attributes) != 0) {
            screenResized(root, attributes.width, attributes.height);
        }
    }
}

void showCovers(const X11Surface& w) {
    for (const Window cover : w.covers) {
        if (cover != 0) XMapRaised(state().display, cover);
    }
}

void dropCovers(X11Surface& w) {
    for (Window& cover : w.covers) {
        if (cover != 0) XDestroyWindow(state().display, cover);
        cover = 0;
    }
}

X11Surface* coveredBy(Window cover) {
    if (cover == 0) return nullptr;
    for (X11Surface& w : state().surfaces) {
        for (const Window c : w.covers) {
            if (w.xid != 0 && c == cover) return &w;
        }
    }
    return nullptr;
}

int screenOriginX(int screen) {
    Display* d = state().display;
    if (d == nullptr || screen < 0) return 0;
    int origin = 0;
    for (int i = 0; i < screen; ++i) origin += DisplayWidth(d, i);
    for (int i = 0; i < state().screen; ++i) origin -= DisplayWidth(d, i);
    return origin;
}

void screenResized(Window root, int width, int height) {
    X11State& s = state();
    const int screen = screenOfRoot(root);
    if (screen < 0) return;
    for (const X11Surface& w : s.surfaces) {
        if (w.xid == 0 || !w.fullScreen) continue;
        if (screen != s.screen) {
            if (w.covers[screen] != 0) {
                XResizeWindow(s.display, w.covers[screen], static_cast<unsigned>(width), static_cast<unsigned>(height));
            }
        } else if (w.width != width || w.height != height) {
            // Its ConfigureNotify resizes the GL child and sends WM_SIZE, as for any window of ours.
            XResizeWindow(s.display, w.xid, static_cast<unsigned>(width), static_cast<unsigned>(height));
        }
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
    if (changed != 0 && findSurface(changed) == nullptr && coveredBy(changed) == nullptr) state().raisePending = true;
}

void keepOnTop() {
    X11State& s = state();
    if (!s.raisePending) return;
    s.raisePending = false;
    for (const X11Surface& w : s.surfaces) {
        if (w.xid == 0 || !w.fullScreen) continue;
        XRaiseWindow(s.display, w.xid);
        for (const Window cover : w.covers) {
            if (cover != 0) XRaiseWindow(s.display, cover);
        }
    }
}

}  // namespace smokedrift::x11
