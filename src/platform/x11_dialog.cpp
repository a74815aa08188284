// Dialog template 2003 as a small Xlib window: the saver's name and version, one line of text,
// OK and Cancel. Enter is OK, Escape and the window manager's close are Cancel.
#include <X11/keysym.h>

#include <cstring>

#include "platform/x11_state.h"

#ifndef SMOKEDRIFT_VERSION
#define SMOKEDRIFT_VERSION "0"
#endif

namespace smokedrift::x11 {

namespace {

constexpr WORD CONFIGURE_TEMPLATE = 2003;
constexpr int WIDTH = 320;
constexpr int HEIGHT = 120;

struct Button {
    int x, y, width, height;
    const char* label;
    WORD id;
};

constexpr Button BUTTONS[] = {{140, 80, 76, 26, "OK", IDOK}, {228, 80, 76, 26, "Cancel", IDCANCEL}};
constexpr char TITLE_LINE[] = "smokedrift " SMOKEDRIFT_VERSION;
constexpr char TEXT_LINE[] = "This screen saver has no options.";

void drawText(Display* d, Window w, GC gc, int x, int y, const char* text) {
    XDrawString(d, w, gc, x, y, text, static_cast<int>(std::strlen(text)));
}

void draw(Display* d, Window w, GC gc) {
    XClearWindow(d, w);
    drawText(d, w, gc, 16, 26, TITLE_LINE);
    drawText(d, w, gc, 16, 50, TEXT_LINE);
    for (const Button& b : BUTTONS) {
        XDrawRectangle(d, w, gc, b.x, b.y, static_cast<unsigned>(b.width), static_cast<unsigned>(b.height));
        const int textWidth = 6 * static_cast<int>(std::strlen(b.label));
        drawText(d, w, gc, b.x + (b.width - textWidth) / 2, b.y + 17, b.label);
    }
}

WORD buttonAt(int x, int y) {
    for (const Button& b : BUTTONS) {
        if (x >= b.x && x < b.x + b.width && y >= b.y && y < b.y + b.height) return b.id;
    }
    return 0;
}

WORD commandFor(const XEvent& e, Atom deleteWindow) {
    switch (e.type) {
    case ButtonPress:
        return e.xbutton.button == Button1 ? buttonAt(e.xbutton.x, e.xbutton.y) : 0;
    case KeyPress: {
        const KeySym sym = XLookupKeysym(const_cast<XKeyEvent*>(&e.xkey), 0);
        if (sym == XK_Return || sym == XK_KP_Enter) return IDOK;
        if (sym == XK_Escape) return IDCANCEL;
        return 0;
    }
    case ClientMessage:
        return static_cast<Atom>(e.xclient.data.l[0]) == deleteWindow ? IDCANCEL : 0;
    default:
        return 0;
    }
}

}  // namespace
}  // namespace smokedrift::x11

using namespace smokedrift::x11;

INT_PTR WINAPI DialogBoxParamA(HINSTANCE, LPCSTR templateName, HWND owner, DLGPROC dialogProc, LPARAM initParam) {
    if (reinterpret_cast<std::uintptr_t>(templateName) != CONFIGURE_TEMPLATE) return -1;
    Display* d = display();
    if (d == nullptr) return -1;
    X11State& s = state();
    const int x = (DisplayWidth(d, s.screen) - WIDTH) / 2;
    const int y = (DisplayHeight(d, s.screen) - HEIGHT) / 2;
    const Window w = XCreateSimpleWindow(d, s.root, x, y, WIDTH, HEIGHT, 1, BlackPixel(d, s.screen),
                                         WhitePixel(d, s.screen));
    if (w == 0) return -1;
    XStoreName(d, w, "smokedrift");
    XClassHint hint = {const_cast<char*>("smokedrift"), const_cast<char*>("SmokedriftSettings")};
    XSetClassHint(d, w, &hint);
    XSetWMProtocols(d, w, &s.wmDeleteWindow, 1);
    if (owner != nullptr && IsWindow(owner)) XSetTransientForHint(d, w, xidOf(owner));
    XSelectInput(d, w, ExposureMask | KeyPressMask | ButtonPressMask | StructureNotifyMask);
    GC gc = XCreateGC(d, w, 0, nullptr);
    XSetForeground(d, gc, BlackPixel(d, s.screen));

    const HWND dialog = handleOf(w);
    s.dialogEnded = false;
    s.dialogResult = 0;
    dialogProc(dialog, WM_INITDIALOG, 0, initParam);
    XMapRaised(d, w);
    while (!s.dialogEnded) {
        if (takeStopRequest()) {
            dialogProc(dialog, WM_COMMAND, IDCANCEL, 0);
            continue;
        }
        if (XPending(d) == 0) {
            waitForInput(-1);
            continue;
        }
        XEvent e;
        XNextEvent(d, &e);
        if (e.xany.window != w) continue;
        if (e.type == Expose && e.xexpose.count == 0) draw(d, w, gc);
        // Nobody else hands out the focus when no window manager runs.
        if (e.type == MapNotify) XSetInputFocus(d, w, RevertToParent, CurrentTime);
        if (e.type == DestroyNotify) break;
        if (const WORD command = commandFor(e, s.wmDeleteWindow)) dialogProc(dialog, WM_COMMAND, command, 0);
    }
    XFreeGC(d, gc);
    XDestroyWindow(d, w);
    XFlush(d);
    return s.dialogEnded ? s.dialogResult : -1;
}

BOOL WINAPI EndDialog(HWND, INT_PTR result) {
    state().dialogEnded = true;
    state().dialogResult = result;
    return TRUE;
}
