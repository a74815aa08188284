// The Wayland backend's books, driven without a compositor: what it keeps of outputs and of the
// processes of a run as they come, go and end.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include "platform/window_backend.h"
#include "platform/wl_state.h"

namespace smokedrift::wl {
namespace {

// Proxies are only compared, never called through.
wl_output* const LISTED = reinterpret_cast<wl_output*>(0x7001);
wl_surface* const SURFACE = reinterpret_cast<wl_surface*>(0x7002);
wl_keyboard* const KEYBOARD = reinterpret_cast<wl_keyboard*>(0x7003);
const int OUTPUT_GONE = W_EXITCODE(OUTPUT_GONE_CODE, 0);

// A window in the Win32 emulation's table, so that what is posted to it is queued: a window
// system of no more than its handle.
HWND windowOfOurs() {
    static const HWND handle = reinterpret_cast<HWND>(0x1001);
    static const platform::WindowBackend handleOnly = [] {
        platform::WindowBackend b{};
        b.name = "handle";
        b.connect = [] { return true; };
        b.pumpEvents = [] {};
        b.now = []() -> std::uint64_t { return 0; };
        b.createSurface = [](platform::SurfaceRequest&) { return handle; };
        return b;
    }();
    static const bool made = [] {
        platform::useBackend(handleOnly);
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = [](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return 0; };
        windowClass.lpszClassName = "books";
        RegisterClassA(&windowClass);
        return CreateWindowExA(0, "books", "", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr, nullptr, nullptr) == handle;
    }();
    EXPECT_TRUE(made);
    return handle;
}

bool posted(HWND window, UINT message, WPARAM wParam) {
    MSG m;
    bool found = false;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
        found = found || (m.hwnd == window && m.message == message && m.wParam == wParam);
    return found;
}

// A monitor that keeps dropping off while the saver runs: each time the compositor closes our
// surface on it before it says the output went. However many went so, the next output whose
// surface is closed is abandoned, not forked again and again.
TEST(WaylandRun, AnOutputIsAbandonedHoweverManyWentBefore) {
    WlState& s = state();
    s = WlState{};
    Group group;
    for (std::uint32_t name = 1; name <= 2 * MAX_OUTPUTS; ++name) {
        s.outputs[0] = WlOutput{.name = name, .output = LISTED};
        s.members[0] = Member{.pid = 100, .output = name};
        EXPECT_EQ(memberEnded(group, 100, OUTPUT_GONE), -1);
        ASSERT_TRUE(outputAbandoned(name)) << "output " << name;
        s.outputs[0] = WlOutput{};
    }
}

// The process of one output holds the keyboard focus when its output goes, and ends with it. The
// focus then moves from another of our surfaces to another client: that ends the saver.
TEST(WaylandRun, TheFocusOfAProcessThatEndedIsNotOurs) {
    WlState& s = state();
    s = WlState{};
    Group group;
    s.group = &group;
    s.surfaces[0] = WlSurface{.handle = windowOfOurs(), .surface = SURFACE};
    const wl_keyboard_listener& keyboard = keyboardEvents();
    s.member = 1;
    keyboard.enter(nullptr, KEYBOARD, 1, SURFACE, nullptr);
    s.keyboardWindow = nullptr;  // the rest of that process is gone with it
    s.members[1] = Member{.pid = 101, .output = 2};
    EXPECT_EQ(memberEnded(group, 101, OUTPUT_GONE), -1);

    s.member = 0;
    keyboard.enter(nullptr, KEYBOARD, 2, SURFACE, nullptr);
    keyboard.leave(nullptr, KEYBOARD, 3, SURFACE);
    checkFocus();
    EXPECT_TRUE(posted(s.surfaces[0].handle, WM_ACTIVATEAPP, FALSE));
    s.group = nullptr;
}

}  // namespace
}  // namespace smokedrift::wl
