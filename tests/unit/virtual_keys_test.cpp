// One key table for both window systems: a key or button means the same on X11 and Wayland.
#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include "platform/win32/virtual_keys.h"

namespace {

using namespace smokedrift::platform;

struct Key {
    unsigned long keysym;
    std::uint32_t evdev;
    WPARAM virtualKey;
};

const Key KEYS[] = {
    {XK_q, KEY_Q, 'Q'},
    {XK_Q, KEY_Q, 'Q'},
    {XK_0, KEY_0, '0'},
    {XK_space, KEY_SPACE, 0x20},
    {XK_Return, KEY_ENTER, 0x0D},
    {XK_Escape, KEY_ESC, 0x1B},
    {XK_Shift_R, KEY_RIGHTSHIFT, 0x10},
    {XK_Control_L, KEY_LEFTCTRL, 0x11},
    {XK_Alt_L, KEY_LEFTALT, 0x12},
    {XK_F1, KEY_F1, 0xFF},
};

TEST(VirtualKeys, AKeyHasOneCodeOnEitherWindowSystem) {
    for (const Key& k : KEYS) {
        EXPECT_EQ(virtualKeyOfKeysym(k.keysym), k.virtualKey) << std::hex << k.keysym;
        EXPECT_EQ(virtualKeyOfEvdevKey(k.evdev), k.virtualKey) << k.evdev;
    }
}

struct Button {
    unsigned int x11;
    std::uint32_t evdev;  // 0: Wayland has no such button (the wheel is an axis there)
    UINT message;
    WPARAM wParam;
};

const Button BUTTONS[] = {
    {1, BTN_LEFT, WM_LBUTTONDOWN, 0},
    {3, BTN_RIGHT, WM_RBUTTONDOWN, 0},
    {8, BTN_SIDE, WM_XBUTTONDOWN, static_cast<WPARAM>(XBUTTON1) << 16},
    {9, BTN_EXTRA, WM_XBUTTONDOWN, static_cast<WPARAM>(XBUTTON2) << 16},
    {0, BTN_BACK, WM_XBUTTONDOWN, static_cast<WPARAM>(XBUTTON1) << 16},
    {5, 0, WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<WORD>(-WHEEL_DELTA)) << 16},
    {10, BTN_TASK, 0, 0},
};

TEST(VirtualKeys, AButtonPostsTheSameMessageOnEitherWindowSystem) {
    for (const Button& b : BUTTONS) {
        if (b.x11 != 0) {
            EXPECT_EQ(buttonOfX11(b.x11).message, b.message) << b.x11;
            EXPECT_EQ(buttonOfX11(b.x11).wParam, b.wParam) << b.x11;
        }
        if (b.evdev != 0) {
            EXPECT_EQ(buttonOfEvdev(b.evdev).message, b.message) << b.evdev;
            EXPECT_EQ(buttonOfEvdev(b.evdev).wParam, b.wParam) << b.evdev;
        }
    }
}

}  // namespace
