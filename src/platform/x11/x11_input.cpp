#include "platform/x11/x11_input.h"

#include "platform/win32/virtual_keys.h"

namespace smokedrift::x11 {

InputMessage inputMessage(const XEvent& e, KeySym sym, bool topLevel, Atom deleteWindow) {
    switch (e.type) {
    case KeyPress: {
        const UINT message = (e.xkey.state & Mod1Mask) ? WM_SYSKEYDOWN : WM_KEYDOWN;
        return {message, platform::virtualKeyOfKeysym(sym), 1};
    }
    case ButtonPress: {
        const platform::ButtonMessage b = platform::buttonOfX11(e.xbutton.button);
        if (b.message == 0) return {};
        return {b.message, b.wParam, MAKELPARAM(e.xbutton.x, e.xbutton.y)};
    }
    case MotionNotify: return {WM_MOUSEMOVE, 0, MAKELPARAM(e.xmotion.x, e.xmotion.y)};
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
    default: return {};
    }
}

}  // namespace smokedrift::x11
