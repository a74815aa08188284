// A dialog template the application supplies, as a small Xlib window: its caption, its lines of
// text, OK and Cancel. Enter is OK, Escape and the window manager's close are Cancel.
#include <X11/keysym.h>

#include <cstring>

#include "platform/win32/posix_resources.h"
#include "platform/x11/x11_state.h"

namespace smokedrift::x11 {

namespace {

constexpr int WIDTH = 320;
constexpr int FIRST_LINE_Y = 26;
constexpr int LINE_SPACING = 24;

struct Button {
    int x, width, height;
    const char* label;
    WORD id;
};

constexpr Button BUTTONS[] = {{140, 76, 26, "OK", IDOK}, {228, 76, 26, "Cancel", IDCANCEL}};

// The buttons sit a little below the last line of text, and the window ends a little below them.
int buttonsTop(const DialogResource& r) { return FIRST_LINE_Y + 6 + LINE_SPACING * r.lineCount; }
int heightOf(const DialogResource& r) { return buttonsTop(r) + 40; }

void drawText(Display* d, Window w, GC gc, int x, int y, const char* text) {
    XDrawString(d, w, gc, x, y, text, static_cast<int>(std::strlen(text)));
}

void draw(Display* d, Window w, GC gc, const DialogResource& r) {
    XClearWindow(d, w);
    for (int i = 0; i < r.lineCount; ++i) drawText(d, w, gc, 16, FIRST_LINE_Y + LINE_SPACING * i, r.lines[i]);
    const int top = buttonsTop(r);
    for (const Button& b : BUTTONS) {
        XDrawRectangle(d, w, gc, b.x, top, static_cast<unsigned>(b.width), static_cast<unsigned>(b.height));
        const int textWidth = 6 * static_cast<int>(std::strlen(b.label));
        drawText(d, w, gc, b.x + (b.width - textWidth) / 2, top + 17, b.label);
    }
}

WORD buttonAt(int x, int y, int top) {
    for (const Button& b : BUTTONS) {
        if (x >= b.x && x < b.x + b.width && y >= top && y < top + b.height) return b.id;
    }
    return 0;
}

WORD commandFor(const XEvent& e, Atom deleteWindow, int top) {
    switch (e.type) {
    case ButtonPress: return e.xbutton.button == Button1 ? buttonAt(e.xbutton.x, e.xbutton.y, top) : 0;
    case KeyPress: {
        const KeySym sym = XLookupKeysym(const_cast<XKeyEvent*>(&e.xkey), 0);
        if (sym == XK_Return || sym == XK_KP_Enter) return IDOK;
        if (sym == XK_Escape) return IDCANCEL;
        return 0;
    }
    case ClientMessage: return static_cast<Atom>(e.xclient.data.l[0]) == deleteWindow ? IDCANCEL : 0;
    default: return 0;
    }
}

}  // namespace

INT_PTR dialogBox(WORD templateId, HWND owner, DLGPROC dialogProc, LPARAM initParam) {
    const smokedrift::DialogResource* resource = smokedrift::findDialogResource(templateId);
    Display* d = display();
    if (resource == nullptr || d == nullptr) return -1;
    X11State& s = state();
    const int height = heightOf(*resource);
    const int top = buttonsTop(*resource);
    const int x = (DisplayWidth(d, s.screen) - WIDTH) / 2;
    const int y = (DisplayHeight(d, s.screen) - height) / 2;
    const Window w = XCreateSimpleWindow(d, s.root, x, y, WIDTH, static_cast<unsigned>(height), 1,
                                         BlackPixel(d, s.screen), WhitePixel(d, s.screen));
    if (w == 0) return -1;
    XStoreName(d, w, resource->caption);
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
        if (posix::takeStopRequest()) {
            dialogProc(dialog, WM_COMMAND, IDCANCEL, 0);
            continue;
        }
        if (XPending(d) == 0) {
            waitEvents(-1);
            continue;
        }
        XEvent e;
        XNextEvent(d, &e);
        if (e.xany.window != w) continue;
        if (e.type == Expose && e.xexpose.count == 0) draw(d, w, gc, *resource);
        // Nobody else hands out the focus when no window manager runs.
        if (e.type == MapNotify) XSetInputFocus(d, w, RevertToParent, CurrentTime);
        if (e.type == DestroyNotify) break;
        if (const WORD command = commandFor(e, s.wmDeleteWindow, top)) dialogProc(dialog, WM_COMMAND, command, 0);
    }
    XFreeGC(d, gc);
    XDestroyWindow(d, w);
    XFlush(d);
    return s.dialogEnded ? s.dialogResult : -1;
}

bool endDialog(HWND, INT_PTR result) {
    state().dialogEnded = true;
    state().dialogResult = result;
    return true;
}

}  // namespace smokedrift::x11
