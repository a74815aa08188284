// The X windows under ours: creation, stacking and focus; windows of other clients; the cursor.
#include <X11/Xatom.h>

#include <cstdio>
#include <cstring>

#include "platform/x11/x11_state.h"

namespace smokedrift::x11 {

X11Surface* findSurface(Window xid) {
    if (xid == 0) return nullptr;
    for (X11Surface& w : state().surfaces) {
        if (w.xid == xid) return &w;
    }
    return nullptr;
}

void forgetSurface(X11Surface& w) {
    releaseInput(w.xid);
    dropCovers(w);
    // The server keeps a colormap until its client leaves, however many windows came and went.
    if (w.colormap != 0 && state().display != nullptr) XFreeColormap(state().display, w.colormap);
    w = X11Surface{};
}

namespace {

X11Surface* freeSlot() {
    for (X11Surface& w : state().surfaces) {
        if (w.xid == 0) return &w;
    }
    return nullptr;
}

bool attributesOf(Window xid, XWindowAttributes& attributes) {
    Display* d = display();
    return d != nullptr && xid != 0 && XGetWindowAttributes(d, xid, &attributes) != 0;
}

Cursor blankCursor() {
    X11State& s = state();
    if (s.blankCursor == 0) {
        static const char empty[1] = {0};
        const Pixmap pixmap = XCreateBitmapFromData(s.display, s.root, empty, 1, 1);
        XColor black = {};
        s.blankCursor = XCreatePixmapCursor(s.display, pixmap, pixmap, &black, &black, 0, 0);
        XFreePixmap(s.display, pixmap);
    }
    return s.blankCursor;
}

bool hasClassAndTitle(Display* d, Window xid, LPCSTR className, LPCSTR title) {
    XClassHint hint = {};
    if (XGetClassHint(d, xid, &hint) == 0) return false;
    const bool classMatches = hint.res_class != nullptr && std::strcmp(hint.res_class, className) == 0;
    if (hint.res_name != nullptr) XFree(hint.res_name);
    if (hint.res_class != nullptr) XFree(hint.res_class);
    if (!classMatches) return false;
    char* name = nullptr;
    if (XFetchName(d, xid, &name) == 0 || name == nullptr) return false;
    const bool titleMatches = std::strcmp(name, title) == 0;
    XFree(name);
    return titleMatches;
}

// A foreign parent's size changes reach us as its ConfigureNotify (the message loop resizes the
// child then); one it took before we listened is caught up with here.
void followForeignParent(const X11Surface& w) {
    Display* d = state().display;
    listenTo(w.parent, StructureNotifyMask);
    XWindowAttributes parent;
    if (attributesOf(w.parent, parent) && (parent.width != w.width || parent.height != w.height)) {
        XResizeWindow(d, w.xid, static_cast<unsigned>(parent.width), static_cast<unsigned>(parent.height));
    }
}

}  // namespace

HWND createSurface(platform::SurfaceRequest& request) {
    Display* d = display();
    X11Surface* w = freeSlot();
    const DWORD style = request.style;
    const int width = request.width;
    const int height = request.height;
    if (d == nullptr || w == nullptr || width <= 0 || height <= 0) return nullptr;
    X11State& s = state();
    const bool child = request.parent != nullptr;
    const Window parentXid = child ? xidOf(request.parent) : s.root;

    XSetWindowAttributes attributes = {};
    attributes.background_pixel = BlackPixel(d, s.screen);
    attributes.event_mask = KeyPressMask | ButtonPressMask | PointerMotionMask | FocusChangeMask | ExposureMask |
                            StructureNotifyMask | VisibilityChangeMask;
    unsigned long mask = CWBackPixel | CWEventMask;
    const bool fullScreen = request.role == platform::SurfaceRole::FullScreen;
    // A full-screen surface is no window manager's business: it covers everything, frameless.
    if (fullScreen) {
        attributes.override_redirect = True;
        mask |= CWOverrideRedirect;
    }
    // A child of a root window is a top-level window to X, which a window manager frames and places.
    // Drawing on the desktop (-root) wants none of that: override-redirect keeps the manager out,
    // the bottom of the stack keeps it under the desktop's windows as the root's own picture is,
    // and input goes on to the root, where the manager hears it (a preview takes none). A window
    // of ours rather than the root itself: the GL drawable needs the format's visual (the root's
    // has no alpha), and the host one window it owns.
    const bool onDesktop = child && screenOfRoot(parentXid) >= 0;
    if (onDesktop) {
        attributes.override_redirect = True;
        attributes.event_mask = ExposureMask | StructureNotifyMask | VisibilityChangeMask;
        mask |= CWOverrideRedirect;
    }
    const Window xid =
        XCreateWindow(d, parentXid, request.x, request.y, static_cast<unsigned>(width), static_cast<unsigned>(height),
                      0, CopyFromParent, InputOutput, CopyFromParent, mask, &attributes);
    if (xid == 0) return nullptr;
    if (onDesktop) XLowerWindow(d, xid);
    XStoreName(d, xid, request.title);
    XClassHint hint = {const_cast<char*>("smokedrift"), const_cast<char*>(request.className)};
    XSetClassHint(d, xid, &hint);
    if (!child) XSetWMProtocols(d, xid, &s.wmDeleteWindow, 1);
    // Without a sizing frame a window keeps the size it was made with, as on Windows.
    if (!child && !(style & WS_POPUP) && !(style & WS_THICKFRAME)) {
        XSizeHints size = {};
        size.flags = PMinSize | PMaxSize;
        size.min_width = size.max_width = width;
        size.min_height = size.max_height = height;
        XSetWMNormalHints(d, xid, &size);
    }

    *w = X11Surface{};
    w->xid = xid;
    w->parent = child ? parentXid : 0;
    w->width = width;
    w->height = height;
    w->topLevel = !child;
    if (child && findSurface(parentXid) == nullptr) followForeignParent(*w);
    if (fullScreen) coverScreen(*w);
    XFlush(d);
    return handleOf(xid);
}

void showSurface(HWND window) {
    X11Surface* w = findSurface(xidOf(window));
    if (w == nullptr) return;
    if (w->topLevel) {
        XMapRaised(state().display, w->xid);
        showCovers(*w);
    } else {
        XMapWindow(state().display, w->xid);
    }
    XFlush(state().display);
}

void destroySurface(HWND window) {
    X11Surface* w = findSurface(xidOf(window));
    if (w == nullptr) return;
    const Window xid = w->xid;
    forgetSurface(*w);
    XDestroyWindow(state().display, xid);
    XFlush(state().display);
}

HWND desktop() { return handleOf(state().root); }

bool otherWindow(HWND window, platform::OtherWindow* info) {
    Display* d = display();
    XWindowAttributes attributes;
    if (d == nullptr || !attributesOf(xidOf(window), attributes)) return false;
    info->width = attributes.width;
    info->height = attributes.height;
    info->parent = nullptr;
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(d, xidOf(window), &root, &parent, &children, &count) != 0) {
        if (children != nullptr) XFree(children);
        if (parent != root) info->parent = handleOf(parent);
    }
    return true;
}

HWND findOtherWindow(LPCSTR className, LPCSTR title) {
    Display* d = display();
    if (d == nullptr) return nullptr;
    // Top-level windows, and one level further down for those a window manager framed.
    Window rootReturn = 0;
    Window parent = 0;
    Window* topLevels = nullptr;
    unsigned int count = 0;
    if (XQueryTree(d, state().root, &rootReturn, &parent, &topLevels, &count) == 0) return nullptr;
    HWND found = nullptr;
    for (unsigned int i = 0; found == nullptr && i < count; ++i) {
        if (hasClassAndTitle(d, topLevels[i], className, title)) {
            found = handleOf(topLevels[i]);
            break;
        }
        Window* inner = nullptr;
        unsigned int innerCount = 0;
        if (XQueryTree(d, topLevels[i], &rootReturn, &parent, &inner, &innerCount) == 0) continue;
        for (unsigned int k = 0; found == nullptr && k < innerCount; ++k) {
            if (hasClassAndTitle(d, inner[k], className, title)) found = handleOf(inner[k]);
        }
        if (inner != nullptr) XFree(inner);
    }
    if (topLevels != nullptr) XFree(topLevels);
    return found;
}

HWND foreground() {
    Display* d = display();
    if (d == nullptr) return nullptr;
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(d, &focus, &revert);
    return focus > PointerRoot ? handleOf(focus) : nullptr;
}

bool setForeground(HWND window) {
    Display* d = display();
    XWindowAttributes attributes;
    if (d == nullptr || !attributesOf(xidOf(window), attributes)) return false;
    XRaiseWindow(d, xidOf(window));
    X11Surface* w = findSurface(xidOf(window));
    if (attributes.map_state == IsViewable) {
        XSetInputFocus(d, xidOf(window), RevertToParent, CurrentTime);
    } else if (w != nullptr) {
        // Without a window manager nobody else hands out the focus: take it once mapped.
        w->focusOnMap = true;
    }
    XFlush(d);
    return true;
}

void hideCursor(bool hidden) {
    X11State& s = state();
    s.cursorHidden = hidden;
    const auto apply = [&s](Window xid) {
        if (xid == 0) return;
        if (s.cursorHidden) {
            XDefineCursor(s.display, xid, blankCursor());
        } else {
            XUndefineCursor(s.display, xid);
        }
    };
    for (const X11Surface& w : s.surfaces) {
        apply(w.xid);
        for (const Window cover : w.covers) apply(cover);
    }
    XFlush(s.display);
}

bool cursorPos(POINT* point) {
    Display* d = display();
    if (d == nullptr) return false;
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int winX = 0;
    int winY = 0;
    unsigned int buttons = 0;
    // False when the pointer is on another screen; the position on that screen's root still comes.
    XQueryPointer(d, state().root, &root, &child, &rootX, &rootY, &winX, &winY, &buttons);
    if (root == 0) return false;
    *point = POINT{screenOriginX(screenOfRoot(root)) + rootX, rootY};
    return true;
}

int clipBox(HWND window, RECT* rect) {
    XWindowAttributes attributes;
    if (!attributesOf(xidOf(window), attributes)) return ERROR;
    // A window of ours that cannot be seen clips to nothing, as on Windows: unmapped, inside an
    // unmapped window (a window manager unmaps a minimised one), or entirely covered.
    const X11Surface* w = findSurface(xidOf(window));
    if (w != nullptr && (attributes.map_state != IsViewable || w->obscured)) return NULLREGION;
    rect->right = attributes.width;
    rect->bottom = attributes.height;
    return SIMPLEREGION;
}

// Both ends of the connection agree on an atom's number: other clients could send us the message.
UINT registerMessage(LPCSTR name) {
    Display* d = display();
    if (d == nullptr) return 0;
    return 0xC000u + static_cast<UINT>(XInternAtom(d, name, False) & 0x3FFF);
}

}  // namespace smokedrift::x11
