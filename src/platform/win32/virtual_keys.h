#pragma once
// Keys and buttons as Win32 numbers them, from what X11 and Wayland (evdev) call them: one table
// that both backends read, so a key means the same on either.
#include <cstdint>

#include "platform/win32/win32_api.h"

namespace smokedrift::platform {

// A key's virtual-key code: from an X keysym (without modifiers), or from an evdev key code.
// 0xFF for a key the table does not name (it still ends the saver: any key does).
WPARAM virtualKeyOfKeysym(unsigned long keysym);
WPARAM virtualKeyOfEvdevKey(std::uint32_t code);

// What a button press posts: its message and the wParam that names it (the side button's number
// or the wheel's distance, in the high word).
struct ButtonMessage {
    UINT message = 0;  // 0: not a button we know
    WPARAM wParam = 0;
};
// From X's button numbers (1-3, the wheel as 4-7, the side buttons 8 and 9), or from evdev's.
ButtonMessage buttonOfX11(unsigned int button);
ButtonMessage buttonOfEvdev(std::uint32_t code);

}  // namespace smokedrift::platform
