// The X11 backend's translation of input and focus events into window messages, on any event:
// type, coordinates, modifier state, button, focus mode and detail, client-message data and
// keysym all come from the input. Checked against the rules the host's close logic relies on.
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "fuzz_input.h"
#include "platform/x11/x11_input.h"

namespace {

using namespace smokedrift;

const int TYPES[] = {KeyPress, KeyRelease, ButtonPress,   ButtonRelease, MotionNotify,    FocusIn,
                     FocusOut, Expose,     ClientMessage, MapNotify,     ConfigureNotify, 0};
const KeySym KEYS[] = {XK_a,         XK_z,      XK_A,      XK_Z,        XK_0,         XK_9,
                       XK_space,     XK_Return, XK_Escape, XK_Tab,      XK_BackSpace, XK_Shift_L,
                       XK_Control_R, XK_Alt_L,  XK_F1,     XK_KP_Enter, NoSymbol,     XK_Super_L};
constexpr Atom DELETE_WINDOW = 301;

bool positionIs(LPARAM lParam, int x, int y) {
    return LOWORD(lParam) == static_cast<WORD>(x) && HIWORD(lParam) == static_cast<WORD>(y);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    XEvent e;
    std::memset(&e, 0, sizeof e);
    const unsigned choice = static_cast<unsigned>(takeInt(data, size));
    e.type = TYPES[choice % (sizeof(TYPES) / sizeof(TYPES[0]))];
    const bool topLevel = choice & 0x100;
    // Keysyms from the table, now and then any value.
    const int keyWord = takeInt(data, size);
    const KeySym sym = (keyWord & 0x40000000) ? static_cast<KeySym>(static_cast<unsigned>(keyWord))
                                              : KEYS[static_cast<unsigned>(keyWord) % (sizeof(KEYS) / sizeof(KEYS[0]))];
    const int x = takeInt(data, size);
    const int y = takeInt(data, size);
    const unsigned word = static_cast<unsigned>(takeInt(data, size));
    switch (e.type) {
    case KeyPress:
    case KeyRelease:
        e.xkey.x = x;
        e.xkey.y = y;
        e.xkey.state = word;
        e.xkey.keycode = word >> 16;
        break;
    case ButtonPress:
    case ButtonRelease:
        e.xbutton.x = x;
        e.xbutton.y = y;
        e.xbutton.button = word % 16 == 15 ? word : word % 16;  // now and then any number
        break;
    case MotionNotify:
        e.xmotion.x = x;
        e.xmotion.y = y;
        break;
    case FocusIn:
    case FocusOut:
        e.xfocus.mode = static_cast<int>(word % 5);
        e.xfocus.detail = static_cast<int>((word >> 8) % 9);
        break;
    case ClientMessage:
        e.xclient.data.l[0] = (word & 1) ? static_cast<long>(DELETE_WINDOW) : static_cast<long>(x);
        break;
    default: break;
    }

    const x11::InputMessage m = x11::inputMessage(e, sym, topLevel, DELETE_WINDOW);
    switch (e.type) {
    case KeyPress: {
        // Every key reaches the window, Alt making it a system key; letters as their capitals.
        if (m.message != ((e.xkey.state & Mod1Mask) ? WM_SYSKEYDOWN : WM_KEYDOWN) || m.lParam != 1) __builtin_trap();
        if (m.wParam == 0 || m.wParam > 0xFF) __builtin_trap();
        if (sym >= XK_a && sym <= XK_z && m.wParam != sym - XK_a + 'A') __builtin_trap();
        if (sym == XK_Escape && m.wParam != 0x1B) __builtin_trap();
        break;
    }
    case ButtonPress: {
        const unsigned b = e.xbutton.button;
        const bool known = b >= 1 && b <= 9;
        if ((m.message != 0) != known) __builtin_trap();
        if (known && !positionIs(m.lParam, x, y)) __builtin_trap();
        // Clicks carry no wParam; the wheel its distance and the side buttons their number.
        if (b <= 3 && m.wParam != 0) __builtin_trap();
        if (b >= 4 && b <= 7 && (m.message != WM_MOUSEWHEEL && m.message != WM_MOUSEHWHEEL)) __builtin_trap();
        if (b >= 4 && b <= 7 &&
            static_cast<short>(HIWORD(m.wParam)) != ((b == 4 || b == 7) ? WHEEL_DELTA : -WHEEL_DELTA))
            __builtin_trap();
        if (b >= 8 && b <= 9 && (m.message != WM_XBUTTONDOWN || HIWORD(m.wParam) != b - 7)) __builtin_trap();
        break;
    }
    case MotionNotify:
        if (m.message != WM_MOUSEMOVE || m.wParam != 0 || !positionIs(m.lParam, x, y)) __builtin_trap();
        break;
    case FocusOut: {
        // Only the keyboard going to another window deactivates (also while we hold the keyboard),
        // and only a top-level window.
        const bool away = topLevel && (e.xfocus.mode == NotifyNormal || e.xfocus.mode == NotifyWhileGrabbed) &&
                          e.xfocus.detail != NotifyInferior && e.xfocus.detail != NotifyPointer;
        if (away ? (m.message != WM_ACTIVATEAPP || m.wParam != FALSE) : m.message != 0) __builtin_trap();
        break;
    }
    case ClientMessage:
        if ((m.message == WM_CLOSE) != (static_cast<Atom>(e.xclient.data.l[0]) == DELETE_WINDOW)) __builtin_trap();
        if (m.message != 0 && m.message != WM_CLOSE) __builtin_trap();
        break;
    default:
        if (m.message != 0) __builtin_trap();  // releases, focus coming in, exposure: nothing queued
        break;
    }
    return 0;
}
