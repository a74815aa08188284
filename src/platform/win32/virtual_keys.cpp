#include "platform/win32/virtual_keys.h"

#include <X11/keysym.h>
#include <linux/input-event-codes.h>

namespace smokedrift::platform {

namespace {

struct Key {
    WPARAM virtualKey;
    unsigned long keysym;
    std::uint32_t evdev;
};

// Letters and digits are their own character; the rest have codes of their own.
constexpr Key KEYS[] = {
    {'A', XK_a, KEY_A},
    {'B', XK_b, KEY_B},
    {'C', XK_c, KEY_C},
    {'D', XK_d, KEY_D},
    {'E', XK_e, KEY_E},
    {'F', XK_f, KEY_F},
    {'G', XK_g, KEY_G},
    {'H', XK_h, KEY_H},
    {'I', XK_i, KEY_I},
    {'J', XK_j, KEY_J},
    {'K', XK_k, KEY_K},
    {'L', XK_l, KEY_L},
    {'M', XK_m, KEY_M},
    {'N', XK_n, KEY_N},
    {'O', XK_o, KEY_O},
    {'P', XK_p, KEY_P},
    {'Q', XK_q, KEY_Q},
    {'R', XK_r, KEY_R},
    {'S', XK_s, KEY_S},
    {'T', XK_t, KEY_T},
    {'U', XK_u, KEY_U},
    {'V', XK_v, KEY_V},
    {'W', XK_w, KEY_W},
    {'X', XK_x, KEY_X},
    {'Y', XK_y, KEY_Y},
    {'Z', XK_z, KEY_Z},
    {'0', XK_0, KEY_0},
    {'1', XK_1, KEY_1},
    {'2', XK_2, KEY_2},
    {'3', XK_3, KEY_3},
    {'4', XK_4, KEY_4},
    {'5', XK_5, KEY_5},
    {'6', XK_6, KEY_6},
    {'7', XK_7, KEY_7},
    {'8', XK_8, KEY_8},
    {'9', XK_9, KEY_9},
    {0x20, XK_space, KEY_SPACE},
    {0x0D, XK_Return, KEY_ENTER},
    {0x1B, XK_Escape, KEY_ESC},
    {0x09, XK_Tab, KEY_TAB},
    {0x08, XK_BackSpace, KEY_BACKSPACE},
    {0x10, XK_Shift_L, KEY_LEFTSHIFT},
    {0x10, XK_Shift_R, KEY_RIGHTSHIFT},
    {0x11, XK_Control_L, KEY_LEFTCTRL},
    {0x11, XK_Control_R, KEY_RIGHTCTRL},
    {0x12, XK_Alt_L, KEY_LEFTALT},
    {0x12, XK_Alt_R, KEY_RIGHTALT},
};

constexpr WPARAM UNNAMED_KEY = 0xFF;
constexpr std::uint32_t NO_EVDEV = 0;

struct Button {
    ButtonMessage message;
    unsigned int x11;
    std::uint32_t evdev;  // NO_EVDEV: Wayland tells the wheel as an axis, not a button
};

constexpr WPARAM WHEEL_FORWARD = static_cast<WPARAM>(WHEEL_DELTA) << 16;
constexpr WPARAM WHEEL_BACK = static_cast<WPARAM>(static_cast<WORD>(-WHEEL_DELTA)) << 16;
constexpr WPARAM SIDE_1 = static_cast<WPARAM>(XBUTTON1) << 16;
constexpr WPARAM SIDE_2 = static_cast<WPARAM>(XBUTTON2) << 16;

constexpr Button BUTTONS[] = {
    {{WM_LBUTTONDOWN, 0}, 1, BTN_LEFT},
    {{WM_MBUTTONDOWN, 0}, 2, BTN_MIDDLE},
    {{WM_RBUTTONDOWN, 0}, 3, BTN_RIGHT},
    {{WM_MOUSEWHEEL, WHEEL_FORWARD}, 4, NO_EVDEV},
    {{WM_MOUSEWHEEL, WHEEL_BACK}, 5, NO_EVDEV},
    {{WM_MOUSEHWHEEL, WHEEL_BACK}, 6, NO_EVDEV},
    {{WM_MOUSEHWHEEL, WHEEL_FORWARD}, 7, NO_EVDEV},
    {{WM_XBUTTONDOWN, SIDE_1}, 8, BTN_SIDE},
    {{WM_XBUTTONDOWN, SIDE_1}, 0, BTN_BACK},
    {{WM_XBUTTONDOWN, SIDE_2}, 9, BTN_EXTRA},
    {{WM_XBUTTONDOWN, SIDE_2}, 0, BTN_FORWARD},
};

}  // namespace

WPARAM virtualKeyOfKeysym(unsigned long keysym) {
    // A keysym looked up without modifiers is lower case; an upper-case one means the same key.
    if (keysym >= XK_A && keysym <= XK_Z) keysym += XK_a - XK_A;
    for (const Key& k : KEYS) {
        if (k.keysym == keysym) return k.virtualKey;
    }
    return UNNAMED_KEY;
}

WPARAM virtualKeyOfEvdevKey(std::uint32_t code) {
    for (const Key& k : KEYS) {
        if (k.evdev == code) return k.virtualKey;
    }
    return UNNAMED_KEY;
}

ButtonMessage buttonOfX11(unsigned int button) {
    for (const Button& b : BUTTONS) {
        if (b.x11 != 0 && b.x11 == button) return b.message;
    }
    return {};
}

ButtonMessage buttonOfEvdev(std::uint32_t code) {
    for (const Button& b : BUTTONS) {
        if (b.evdev != NO_EVDEV && b.evdev == code) return b.message;
    }
    return {};
}

}  // namespace smokedrift::platform
