// Input on Wayland: each seat's pointer, keyboard and touch, followed as devices come and go,
// turned into the messages the host's close rules read. Keys are not decoded: any key closes, and
// a compositor may hand us a keymap of its virtual keyboard's own.
#include <unistd.h>

#include <climits>
#include <cmath>

#include "platform/wayland/wl_state.h"
#include "platform/win32/virtual_keys.h"

namespace smokedrift::wl {

namespace {

constexpr int FOCUS_GRACE_MS = 500;

void post(UINT message, WPARAM wParam, LPARAM lParam) {
    WlState& s = state();
    HWND target = s.keyboardWindow != nullptr ? s.keyboardWindow : s.pointerWindow;
    if (target == nullptr) {
        for (const WlSurface& w : s.surfaces) {
            if (w.handle != nullptr) target = w.handle;
        }
    }
    if (target != nullptr) platform::post(target, message, wParam, lParam);
}

// A compositor may send any position and output scale: what an int cannot hold is held at its
// ends, so no conversion or sum overflows.
int heldPixel(double v) {
    if (v >= INT_MAX) return INT_MAX;
    return v <= INT_MIN ? INT_MIN : static_cast<int>(v);
}

void travel(LONG& at, long long by) { at = heldPixel(static_cast<double>(at) + static_cast<double>(by)); }

LPARAM pointerLParam() {
    const WlState& s = state();
    return MAKELPARAM(heldPixel(s.pointerX), heldPixel(s.pointerY));
}

// The pointer

bool anyWindowSettled() {
    for (const WlSurface& w : state().surfaces) {
        if (w.handle != nullptr && w.settled) return true;
    }
    return false;
}

// A layer surface gets the pointer as it appears under it (wlroots' compositors move the focus
// there). When no surface of the run got it then, and it comes later to a pointer that was there
// all along, another client held it in a grab (an open menu, a drag) that input has just broken:
// on sway 1.7 the click outside a menu closes it, its press goes nowhere and this enter comes at
// its release. That click is the first input the saver could have had.
bool enterEndsGrab(const WlSurface& w, const WlSeat& seat, int memberBefore) {
    return w.layer != nullptr && w.settled && memberBefore == -1 && !seat.pointerAfterShow;
}

void pointerEnter(void* data, wl_pointer* pointer, uint32_t serial, wl_surface* surface, wl_fixed_t x, wl_fixed_t y) {
    WlState& s = state();
    const WlSurface* w = surfaceOf(surface);
    if (w == nullptr) return;
    s.pointerWindow = w->handle;
    s.pointerOfEnter = pointer;
    s.enterSerial = serial;
    s.pointerInside = true;
    s.pointerX = wl_fixed_to_double(x) * w->scale;
    s.pointerY = wl_fixed_to_double(y) * w->scale;
    if (s.cursorHidden) wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0);
    // Surface positions only compare within a surface. Arriving from another output's surface of
    // ours is travel; the first surface entered is where travel is measured from.
    if (s.group != nullptr) {
        const int before = s.group->pointerMember.exchange(s.member);
        if (before != -1 && before != s.member) {
            travel(s.cursor.x, w->width);
            platform::post(w->handle, WM_MOUSEMOVE, 0, pointerLParam());
        } else if (enterEndsGrab(*w, *static_cast<const WlSeat*>(data), before)) {
            platform::post(w->handle, WM_LBUTTONDOWN, 0, pointerLParam());
        }
    }
}

void pointerLeave(void*, wl_pointer*, uint32_t, wl_surface*) {
    state().pointerInside = false;
    state().pointerWindow = nullptr;
}

void pointerMotion(void*, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y) {
    WlState& s = state();
    const WlSurface* w = findSurface(s.pointerWindow);
    if (w == nullptr) return;
    const double nx = wl_fixed_to_double(x) * w->scale;
    const double ny = wl_fixed_to_double(y) * w->scale;
    // The Win32 position moves by the travel, rounded the way the pixels were crossed.
    travel(s.cursor.x, std::llround(nx) - std::llround(s.pointerX));
    travel(s.cursor.y, std::llround(ny) - std::llround(s.pointerY));
    s.pointerX = nx;
    s.pointerY = ny;
    platform::post(w->handle, WM_MOUSEMOVE, 0, pointerLParam());
}

void pointerButton(void*, wl_pointer*, uint32_t, uint32_t, uint32_t button, uint32_t pressed) {
    if (pressed != WL_POINTER_BUTTON_STATE_PRESSED) return;
    platform::ButtonMessage b = platform::buttonOfEvdev(button);
    // Any other button is one more side button: it ends the saver as they do.
    if (b.message == 0) b = {WM_XBUTTONDOWN, static_cast<WPARAM>(XBUTTON2) << 16};
    post(b.message, b.wParam, pointerLParam());
}

void pointerAxis(void*, wl_pointer*, uint32_t, uint32_t axis, wl_fixed_t value) {
    if (value == 0) return;
    // Wayland counts down the page as positive; Windows counts a turn away from the user.
    const WORD delta = static_cast<WORD>(value > 0 ? -WHEEL_DELTA : WHEEL_DELTA);
    post(axis == WL_POINTER_AXIS_VERTICAL_SCROLL ? WM_MOUSEWHEEL : WM_MOUSEHWHEEL, static_cast<WPARAM>(delta) << 16,
         pointerLParam());
}

void pointerFrame(void*, wl_pointer*) {}
void pointerAxisSource(void*, wl_pointer*, uint32_t) {}
void pointerAxisStop(void*, wl_pointer*, uint32_t, uint32_t) {}
void pointerAxisDiscrete(void*, wl_pointer*, uint32_t, int32_t) {}
void pointerAxisValue120(void*, wl_pointer*, uint32_t, int32_t) {}
// Wayland 1.22 (Debian 13) adds a seat version 9 event to the listener; the seat is bound at 5 at
// most, so it never comes, but the listener must still name every member the headers have.
#ifdef WL_POINTER_AXIS_RELATIVE_DIRECTION_SINCE_VERSION
void pointerAxisRelativeDirection(void*, wl_pointer*, uint32_t, uint32_t) {}
#endif

const wl_pointer_listener pointerListener = {
    pointerEnter,
    pointerLeave,
    pointerMotion,
    pointerButton,
    pointerAxis,
    pointerFrame,
    pointerAxisSource,
    pointerAxisStop,
    pointerAxisDiscrete,
    pointerAxisValue120,
#ifdef WL_POINTER_AXIS_RELATIVE_DIRECTION_SINCE_VERSION
    pointerAxisRelativeDirection,
#endif
};

// The keyboard

void keyboardKeymap(void*, wl_keyboard*, uint32_t, int32_t fd, uint32_t) { close(fd); }

void keyboardEnter(void*, wl_keyboard*, uint32_t, wl_surface* surface, wl_array*) {
    WlState& s = state();
    const WlSurface* w = surfaceOf(surface);
    if (w == nullptr || s.keyboardWindow != nullptr) return;
    s.keyboardWindow = w->handle;
    if (s.group != nullptr) s.group->keyboardHolders.fetch_or(memberBit(s.member));
}

// Our surfaces pass the focus between them as they appear: only when none of them holds it a
// moment later has it gone elsewhere.
void focusLeft() {
    WlState& s = state();
    if (s.keyboardWindow == nullptr) return;
    s.keyboardWindow = nullptr;
    if (s.group != nullptr) s.group->keyboardHolders.fetch_and(~memberBit(s.member));
}

void keyboardLeave(void*, wl_keyboard* keyboard, uint32_t, wl_surface*) {
    focusLeft();
    state().focusCheckDue = posix::nowMilliseconds() + FOCUS_GRACE_MS;
    state().keyboardOfLeave = keyboard;
}

void keyboardKey(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t key, uint32_t pressed) {
    if (pressed == WL_KEYBOARD_KEY_STATE_PRESSED) post(WM_KEYDOWN, platform::virtualKeyOfEvdevKey(key), 1);
}

void keyboardModifiers(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) {}
void keyboardRepeat(void*, wl_keyboard*, int32_t, int32_t) {}

const wl_keyboard_listener keyboardListener = {keyboardKeymap, keyboardEnter,     keyboardLeave,
                                               keyboardKey,    keyboardModifiers, keyboardRepeat};

// Touch: a finger down is a click.

void touchDown(void*, wl_touch*, uint32_t, uint32_t, wl_surface*, int32_t, wl_fixed_t x, wl_fixed_t y) {
    post(WM_LBUTTONDOWN, 0, MAKELPARAM(wl_fixed_to_int(x), wl_fixed_to_int(y)));
}
void touchUp(void*, wl_touch*, uint32_t, uint32_t, int32_t) {}
void touchMotion(void*, wl_touch*, uint32_t, int32_t, wl_fixed_t, wl_fixed_t) {}
void touchFrame(void*, wl_touch*) {}
void touchCancel(void*, wl_touch*) {}
void touchShape(void*, wl_touch*, int32_t, wl_fixed_t, wl_fixed_t) {}
void touchOrientation(void*, wl_touch*, int32_t, wl_fixed_t) {}

const wl_touch_listener touchListener = {touchDown,   touchUp,    touchMotion,     touchFrame,
                                         touchCancel, touchShape, touchOrientation};

// The seat: a device whose capability appears is listened to; one that goes is let go of.

template <typename Device>
void release(Device*& device, void (*releaseFn)(Device*), void (*destroyFn)(Device*), uint32_t version,
             uint32_t releaseSince) {
    if (device == nullptr) return;
    if (version >= releaseSince) {
        releaseFn(device);
    } else {
        destroyFn(device);
    }
    device = nullptr;
}

void seatCapabilities(void* data, wl_seat* seat, uint32_t caps) {
    auto* s = static_cast<WlSeat*>(data);
    const uint32_t version = wl_seat_get_version(seat);
    if ((caps & WL_SEAT_CAPABILITY_POINTER) && s->pointer == nullptr) {
        s->pointer = wl_seat_get_pointer(seat);
        s->pointerAfterShow = anyWindowSettled();
        wl_pointer_add_listener(s->pointer, &pointerListener, s);
    } else if (!(caps & WL_SEAT_CAPABILITY_POINTER) && s->pointer != nullptr) {
        if (state().pointerOfEnter == s->pointer) {
            state().pointerOfEnter = nullptr;
            state().pointerWindow = nullptr;
        }
        release(s->pointer, wl_pointer_release, wl_pointer_destroy, version, WL_POINTER_RELEASE_SINCE_VERSION);
    }
    if ((caps & WL_SEAT_CAPABILITY_KEYBOARD) && s->keyboard == nullptr) {
        s->keyboard = wl_seat_get_keyboard(seat);
        wl_keyboard_add_listener(s->keyboard, &keyboardListener, s);
    } else if (!(caps & WL_SEAT_CAPABILITY_KEYBOARD) && s->keyboard != nullptr) {
        // The last keyboard unplugged (or asleep, or switched away) takes the focus with it, after
        // a leave, but to nobody else: no reason to end. One that comes back enters again.
        focusLeft();
        if (state().keyboardOfLeave == s->keyboard) state().focusCheckDue = 0;
        state().keyboardOfLeave = nullptr;
        release(s->keyboard, wl_keyboard_release, wl_keyboard_destroy, version, WL_KEYBOARD_RELEASE_SINCE_VERSION);
    }
    if ((caps & WL_SEAT_CAPABILITY_TOUCH) && s->touch == nullptr) {
        s->touch = wl_seat_get_touch(seat);
        wl_touch_add_listener(s->touch, &touchListener, s);
    } else if (!(caps & WL_SEAT_CAPABILITY_TOUCH) && s->touch != nullptr) {
        release(s->touch, wl_touch_release, wl_touch_destroy, version, WL_TOUCH_RELEASE_SINCE_VERSION);
    }
}

void seatName(void*, wl_seat*, const char*) {}

const wl_seat_listener seatListener = {seatCapabilities, seatName};

}  // namespace

const wl_pointer_listener& pointerEvents() { return pointerListener; }
const wl_keyboard_listener& keyboardEvents() { return keyboardListener; }
const wl_touch_listener& touchEvents() { return touchListener; }

void addSeat(std::uint32_t name, std::uint32_t version) {
    for (WlSeat& s : state().seats) {
        if (s.seat != nullptr) continue;
        s = WlSeat{};
        s.name = name;
        s.seat = static_cast<wl_seat*>(
            wl_registry_bind(state().registry, name, &wl_seat_interface, version < 5 ? version : 5));
        wl_seat_add_listener(s.seat, &seatListener, &s);
        return;
    }
}

void removeSeat(std::uint32_t name) {
    for (WlSeat& s : state().seats) {
        if (s.seat == nullptr || s.name != name) continue;
        seatCapabilities(&s, s.seat, 0);
        wl_seat_destroy(s.seat);
        s = WlSeat{};
    }
}

// Wayland shows the pointer again only when a surface asks for a picture of it; ours never do.
void hideCursor(bool hidden) {
    WlState& s = state();
    if (!hidden) return;
    s.cursorHidden = true;
    if (s.pointerOfEnter != nullptr && s.pointerInside)
        wl_pointer_set_cursor(s.pointerOfEnter, s.enterSerial, nullptr, 0, 0);
}

void checkFocus() {
    WlState& s = state();
    s.focusCheckDue = 0;
    const bool ours = s.group != nullptr ? s.group->keyboardHolders.load() != 0 : s.keyboardWindow != nullptr;
    if (ours) return;
    for (const WlSurface& w : s.surfaces) {
        if (w.handle != nullptr) platform::post(w.handle, WM_ACTIVATEAPP, FALSE, 0);
    }
}

}  // namespace smokedrift::wl
