// The full-screen saver's hold on the keyboard and the pointer. Covering the screen, it must hear
// every key and move, and no key typed at it may reach a window it hides, whoever held the input
// before: once mapped it grabs both.
//
// - Another client may hold a grab already (an open menu, a virtual-machine viewer). The grabs are
//   then tried again at each pass of the event loop (the frame timer wakes it) until they succeed.
// - Meanwhile each keyboard device is grabbed on its own through XInput 2: a grabbed device leaves
//   the grabbed core keyboard for as long as its grab lasts, so its keys come here and not to the
//   client holding the core grab.
// - Meanwhile the pointer is read at each pass: its travel and its buttons still end the saver
//   (the clicks themselves still reach the grab's owner).
// Limits: without XInput 2 on the server, keys are not heard while another client holds the
// keyboard; at most MAX_GRABBED_DEVICES keyboard devices are taken that way.
#include <X11/extensions/XInput2.h>

#include "platform/x11/x11_state.h"

namespace smokedrift::x11 {

namespace {

// XInput 2's opcode, or 0 where the server has no version 2.
int inputExtension() {
    InputGrab& g = state().grab;
    if (g.xiOpcode >= 0) return g.xiOpcode;
    g.xiOpcode = 0;
    int opcode = 0;
    int event = 0;
    int error = 0;
    int major = 2;
    int minor = 0;
    if (XQueryExtension(state().display, "XInputExtension", &opcode, &event, &error) &&
        XIQueryVersion(state().display, &major, &minor) == Success) {
        g.xiOpcode = opcode;
    }
    return g.xiOpcode;
}

void grabKeyboardDevices() {
    X11State& s = state();
    InputGrab& g = s.grab;
    if (g.deviceCount > 0 || inputExtension() == 0) return;
    unsigned char bits[XIMaskLen(XI_KeyPress)] = {};
    XISetMask(bits, XI_KeyPress);
    XIEventMask mask = {XIAllDevices, sizeof(bits), bits};
    int count = 0;
    XIDeviceInfo* devices = XIQueryDevice(s.display, XIAllDevices, &count);
    for (int i = 0; i < count && g.deviceCount < MAX_GRABBED_DEVICES; ++i) {
        if (devices[i].use != XISlaveKeyboard) continue;
        mask.deviceid = devices[i].deviceid;
        if (XIGrabDevice(s.display, devices[i].deviceid, g.window, CurrentTime, None, XIGrabModeAsync, XIGrabModeAsync,
                         False, &mask) == Success) {
            g.devices[g.deviceCount++] = devices[i].deviceid;
        }
    }
    if (devices != nullptr) XIFreeDeviceInfo(devices);
}

void releaseKeyboardDevices() {
    InputGrab& g = state().grab;
    for (int i = 0; i < g.deviceCount; ++i) XIUngrabDevice(state().display, g.devices[i], CurrentTime);
    g.deviceCount = 0;
}

void post(UINT message, LPARAM lParam) { platform::post(handleOf(state().grab.window), message, 0, lParam); }

// Under another client's pointer grab no motion or button event comes here: the pointer is read.
void watchPointer() {
    X11State& s = state();
    InputGrab& g = s.grab;
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int x = 0;
    int y = 0;
    unsigned int buttons = 0;
    XQueryPointer(s.display, s.root, &root, &child, &rootX, &rootY, &x, &y, &buttons);
    buttons &= Button1Mask | Button2Mask | Button3Mask | Button4Mask | Button5Mask;
    // The first reading reports too: the pointer may have moved before the window was mapped.
    if (root != g.pointerRoot || rootX != g.pointerX || rootY != g.pointerY)
        post(WM_MOUSEMOVE, MAKELPARAM(rootX, rootY));
    if ((buttons & ~g.buttons) != 0) post(WM_LBUTTONDOWN, MAKELPARAM(rootX, rootY));
    g.pointerRoot = root;
    g.pointerX = rootX;
    g.pointerY = rootY;
    g.buttons = buttons;
}

}  // namespace

void holdInput(const X11Surface& w) {
    InputGrab& g = state().grab;
    if (!w.fullScreen || g.window != 0) return;
    const int opcode = g.xiOpcode;
    g = InputGrab{};
    g.xiOpcode = opcode;
    g.window = w.xid;
    keepInputHeld();
}

void keepInputHeld() {
    X11State& s = state();
    InputGrab& g = s.grab;
    if (g.window == 0) return;
    if (!g.keyboard) {
        g.keyboard =
            XGrabKeyboard(s.display, g.window, False, GrabModeAsync, GrabModeAsync, CurrentTime) == GrabSuccess;
        if (g.keyboard) {
            releaseKeyboardDevices();
        } else {
            grabKeyboardDevices();
        }
    }
    if (!g.pointer) {
        g.pointer = XGrabPointer(s.display, g.window, False, ButtonPressMask | PointerMotionMask, GrabModeAsync,
                                 GrabModeAsync, None, None, CurrentTime) == GrabSuccess;
        if (!g.pointer) watchPointer();
    }
}

void releaseInput(Window xid) {
    X11State& s = state();
    InputGrab& g = s.grab;
    if (g.window == 0 || g.window != xid) return;
    releaseKeyboardDevices();
    if (g.keyboard) XUngrabKeyboard(s.display, CurrentTime);
    if (g.pointer) XUngrabPointer(s.display, CurrentTime);
    const int opcode = g.xiOpcode;
    g = InputGrab{};
    g.xiOpcode = opcode;
}

bool keyFromDevice(XEvent& e) {
    X11State& s = state();
    XGenericEventCookie& cookie = e.xcookie;
    if (e.type != GenericEvent || s.grab.deviceCount == 0 || cookie.extension != s.grab.xiOpcode ||
        cookie.evtype != XI_KeyPress || !XGetEventData(s.display, &cookie)) {
        return false;
    }
    const XIDeviceEvent device = *static_cast<const XIDeviceEvent*>(cookie.data);
    XFreeEventData(s.display, &cookie);
    XKeyEvent key = {};
    key.type = KeyPress;
    key.display = s.display;
    key.window = s.grab.window;
    key.root = device.root;
    key.time = device.time;
    key.state = static_cast<unsigned int>(device.mods.effective);
    key.keycode = static_cast<unsigned int>(device.detail);
    key.same_screen = True;
    e.xkey = key;
    return true;
}

}  // namespace smokedrift::x11
