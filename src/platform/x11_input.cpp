#include "platform/x11_input.h"

#include <X11/keysym.h>

namespace smokedrift::x11 {

namespace {

// Windows' virtual-key codes for the keys whose code is not their character.
WPARAM virtualKey(KeySym sym) {
    if (sym >= XK_a && sym <= XK_z) return sym - XK_a + 'A';
    if ((sym >= XK_A && sym <= XK_Z) || (sym >= XK_0 && sym <= XK_9) || sym == XK_space) return sym;
    switch (sym) {
    case XK_Return: return 0x0D;
    case XK_Escape: return 0x1B;
    case XK_Tab: return 0x09;
    case XK_BackSpace: return 0x08;
    case XK_Shift_L: case XK_Shift_R: return 0x10;
    case XK_Control_L: case XK_Control_R: return 0x11;
    case XK_Alt_L: case XK_Alt_R: return 0x12;
    default: return 0xFF;
    }
}

// X numbers the wheel's clicks as buttons 4-7 (up, down, left, right) and the side buttons 8 and
// 9; Windows has messages of their own for them, the wheel's distance and the side button's
// number in the high word.
InputMessage buttonMessage(unsigned int button) {
    constexpr WPARAM wheelForward = static_cast<WPARAM>(WHEEL_DELTA) << 16;
    constexpr WPARAM wheelBack = static_cast<WPARAM>(static_cast<WORD>(-WHEEL_DELTA)) << 16;
    switch (button) {
    case 1: return {WM_LBUTTONDOWN, 0};
    case 2: return {WM_MBUTTONDOWN, 0};
    case 3: return {WM_RBUTTONDOWN, 0};
    case 4: return {WM_MOUSEWHEEL, wheelForward};
    case 5: return {WM_MOUSEWHEEL, wheelBack};
    case 6: return {WM_MOUSEHWHEEL, wheelBack};
    case 7: return {WM_MOUSEHWHEEL, wheelForward};
    case 8: return {WM_XBUTTONDOWN, static_cast<WPARAM>(XBUTTON1) << 16};
    case 9: return {WM_XBUTTONDOWN, static_cast<WPARAM>(XBUTTON2) << 16};
    default: return {};
    }
}

}  // namespace

InputMessage inputMessage(const XEvent& e, KeySym sym, bool topLevel, Atom deleteWindow) {
    switch (e.type) {
    case KeyPress:
        return {static_cast<UINT>((e.xkey.state & Mod1Mask) ? WM_SYSKEYDOWN : WM_KEYDOWN), virtualKey(sym), 1};
    case ButtonPress: {
        InputMessage b = buttonMessage(e.xbutton.button);
        if (b.message != 0) b.lParam = MAKELPARAM(e.xbutton.x, e.xbutton.y);
        return b;
    }
    case MotionNotify:
        return {WM_MOUSEMOVE, 0, MAKELPARAM(e.xmotion.x, e.xmotion.y)};
    case FocusOut:
        // Losing the keyboard to another window deactivates us, while we hold the keyboard too;
        // focus moving inside us does not.
        if (topLevel && (e.xfocus.mode == NotifyNormal || e.xfocus.mode == NotifyWhileGrabbed) &&
            e.xfocus.detail != NotifyInferior && e.xfocus.detail != NotifyPointer) {
            return {WM_ACTIVATEAPP, FALSE, 0};
        }
        return {};
    case ClientMessage:
        if (static_cast<Atom>(e.xclient.data.l[0]) == deleteWindow) return {WM_CLOSE, 0, 0};
        return {};
    default:
        return {};
    }
}

}  // namespace smokedrift::x11
