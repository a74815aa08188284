// The Wayland backend's input: any sequence of pointer, keyboard and touch events, as a
// compositor may send them, through the seat's listeners onto two windows of ours (one process
// of a run covering two outputs, or alone). The output scales, positions, buttons, keys and
// surfaces named come from the input. Every message lands on one of our windows; every press
// and every move over our surface reaches the queue, so input always ends the saver.
#include <linux/input-event-codes.h>

#include <cstddef>
#include <cstdint>

#include "fuzz_input.h"
#include "platform/wayland/wl_state.h"
#include "platform/win32/window_backend.h"

namespace {

using namespace smokedrift;

const HWND WINDOWS[] = {reinterpret_cast<HWND>(0x1001), reinterpret_cast<HWND>(0x1002)};
// Proxies are only compared and handed back, never called through (the cursor stays shown).
wl_surface* const SURFACES[] = {reinterpret_cast<wl_surface*>(0x5001), reinterpret_cast<wl_surface*>(0x5002),
                                reinterpret_cast<wl_surface*>(0x5003)};  // the last is not ours
wl_pointer* const POINTER = reinterpret_cast<wl_pointer*>(0x6001);
wl_keyboard* const KEYBOARD = reinterpret_cast<wl_keyboard*>(0x6002);
wl_touch* const TOUCH = reinterpret_cast<wl_touch*>(0x6003);
const std::uint32_t BUTTONS[] = {BTN_LEFT,    BTN_RIGHT, BTN_MIDDLE, BTN_SIDE, BTN_EXTRA,
                                 BTN_FORWARD, BTN_BACK,  BTN_TASK,   0};
const std::uint32_t KEYS[] = {KEY_ESC, KEY_ENTER, KEY_SPACE, KEY_TAB, KEY_BACKSPACE, KEY_A, KEY_LEFTMETA, 0};
constexpr std::size_t MAX_EVENTS = 64;

template <typename T, std::size_t N>
T pick(const T (&table)[N], std::uint32_t word) {
    return table[word % N];
}

bool ours(HWND h) { return h == WINDOWS[0] || h == WINDOWS[1]; }

wl::Group group;

// The two windows in the Win32 emulation's table, so that the input posted to them is queued: a
// window system of no more than their handles.
int made = 0;
HWND createSurface(platform::SurfaceRequest&) { return WINDOWS[made++ % 2]; }
bool connect() { return true; }
void nothing() {}
std::uint64_t now() { return 0; }
const platform::WindowBackend handlesOnly = {
    .name = "handles", .connect = connect, .pumpEvents = nothing, .now = now, .createSurface = createSurface};
LRESULT CALLBACK ignore(HWND, UINT, WPARAM, LPARAM) { return 0; }

void makeWindows() {
    platform::useBackend(handlesOnly);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ignore;
    windowClass.lpszClassName = "fuzz";
    RegisterClassA(&windowClass);
    for (int i = 0; i < 2; ++i)
        CreateWindowExA(0, "fuzz", "", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr, nullptr, nullptr);
}

// Empties the queue: true when it held at least one message; traps on one for a stranger.
bool drained() {
    MSG m;
    bool any = false;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (!ours(m.hwnd)) __builtin_trap();
        any = true;
    }
    return any;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    wl::WlState& s = wl::state();
    s = wl::WlState{};
    makeWindows();
    const std::uint32_t world = static_cast<std::uint32_t>(takeInt(data, size));
    for (int i = 0; i < 2; ++i) {
        wl::WlSurface& w = s.surfaces[i];
        w.handle = WINDOWS[i];
        w.surface = SURFACES[i];
        // An output's scale: mostly what monitors use, now and then any the protocol allows.
        const std::uint32_t scaleWord = world >> (8 * i);
        w.scale = (scaleWord & 0x80) ? static_cast<int>(static_cast<std::uint32_t>(takeInt(data, size)) & 0x7fffffff)
                                     : static_cast<int>(1 + scaleWord % 4);
        if (w.scale == 0) w.scale = 1;
        w.width = 640;
        w.height = 480;
    }
    if (world & 0x10000) {
        group.keyboardHolders = 0;
        group.pointerMember = -1;
        s.group = &group;
        s.member = static_cast<int>((world >> 17) & 1);
    }

    // The seat the listeners belong to, as the compositor announced it; whether its pointer came
    // before or after our surfaces decides what a first enter means.
    wl::WlSeat seat;
    seat.pointer = POINTER;
    seat.keyboard = KEYBOARD;
    seat.touch = TOUCH;
    seat.pointerAfterShow = (world & 0x40000) != 0;
    void* const owner = &seat;

    const wl_pointer_listener& pointer = wl::pointerEvents();
    const wl_keyboard_listener& keyboard = wl::keyboardEvents();
    const wl_touch_listener& touch = wl::touchEvents();
    for (std::size_t n = 0; n < MAX_EVENTS && size > 0; ++n) {
        const std::uint32_t op = static_cast<std::uint32_t>(takeInt(data, size));
        const std::uint32_t a = static_cast<std::uint32_t>(takeInt(data, size));
        const wl_fixed_t x = takeInt(data, size);
        const wl_fixed_t y = takeInt(data, size);
        wl_surface* surface = pick(SURFACES, a);
        bool input = false;  // an event that must reach the queue
        switch (op % 10) {
        case 0: pointer.enter(owner, POINTER, a, surface, x, y); break;
        case 1: pointer.leave(owner, POINTER, a, surface); break;
        case 2:
            input = s.pointerWindow != nullptr;
            pointer.motion(owner, POINTER, a, x, y);
            break;
        case 3: {
            const bool pressed = (op >> 8) & 1;
            pointer.button(owner, POINTER, a, 0, (op & 0x10000) ? a : pick(BUTTONS, a), pressed);
            input = pressed;
            break;
        }
        case 4:
            pointer.axis(owner, POINTER, a, (op >> 8) % 3, x);
            input = x != 0;
            break;
        case 5: keyboard.enter(owner, KEYBOARD, a, surface, nullptr); break;
        case 6: keyboard.leave(owner, KEYBOARD, a, surface); break;
        case 7: {
            const bool pressed = (op >> 8) & 1;
            keyboard.key(owner, KEYBOARD, a, 0, (op & 0x10000) ? a : pick(KEYS, a), pressed);
            input = pressed;
            break;
        }
        case 8:
            touch.down(owner, TOUCH, a, 0, surface, static_cast<int32_t>(op >> 8), x, y);
            input = true;
            break;
        default: wl::checkFocus(); break;
        }
        const bool queued = drained();
        if (input && !queued) __builtin_trap();
        // Whatever the pointer and keyboard were told, they point at our windows or at none.
        if ((s.pointerWindow != nullptr && !ours(s.pointerWindow)) ||
            (s.keyboardWindow != nullptr && !ours(s.keyboardWindow)))
            __builtin_trap();
    }
    s.group = nullptr;
    return 0;
}
