#pragma once
// What an X event of input or focus on one of our windows becomes in its message queue. No Xlib
// call and no state: the caller looks the key up and posts the message.
#include <X11/Xlib.h>

#include "platform/win32/win32_api.h"

namespace smokedrift::x11 {

struct InputMessage {
    UINT message = 0;  // 0: nothing for the queue
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// `sym`: a key press's keysym without modifiers. `topLevel`: the window is one of our top-level
// windows (only those are deactivated). `deleteWindow`: the WM_DELETE_WINDOW atom.
InputMessage inputMessage(const XEvent& e, KeySym sym, bool topLevel, Atom deleteWindow);

}  // namespace smokedrift::x11
