// The Wayland backend's books and those of the run over every output, driven without a compositor:
// what they keep of outputs and of the processes of a run as they come, go and end.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>

#include "outputs/output_processes.h"
#include "platform/wayland/wl_state.h"
#include "platform/win32/window_backend.h"

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
    outputs::books() = outputs::OutputProcesses{};
    Group group;
    for (std::uint32_t name = 1; name <= 2 * MAX_OUTPUTS; ++name) {
        s.outputs[0] = WlOutput{.name = name, .output = LISTED};
        outputs::books().members[0] = outputs::Member{.pid = 100, .output = name};
        EXPECT_EQ(outputs::memberEnded(group, 100, OUTPUT_GONE), -1);
        ASSERT_TRUE(outputs::outputAbandoned(name)) << "output " << name;
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
    outputs::books().members[1] = outputs::Member{.pid = 101, .output = 2};
    EXPECT_EQ(outputs::memberEnded(group, 101, OUTPUT_GONE), -1);

    s.member = 0;
    keyboard.enter(nullptr, KEYBOARD, 2, SURFACE, nullptr);
    keyboard.leave(nullptr, KEYBOARD, 3, SURFACE);
    checkFocus();
    EXPECT_TRUE(posted(s.surfaces[0].handle, WM_ACTIVATEAPP, FALSE));
    s.group = nullptr;
}

// A connection nobody answers: requests are only written, so the proxies they go to are real.
struct SilentConnection {
    int ends[2] = {-1, -1};
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_compositor* compositor = nullptr;
    wl_surface* surface = nullptr;

    SilentConnection() {
        if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return;
        display = wl_display_connect_to_fd(ends[0]);
        registry = wl_display_get_registry(display);
        compositor = static_cast<wl_compositor*>(wl_registry_bind(registry, 1, &wl_compositor_interface, 4));
        surface = wl_compositor_create_surface(compositor);
    }
    ~SilentConnection() {
        if (display == nullptr) return;
        wl_surface_destroy(surface);
        wl_compositor_destroy(compositor);
        wl_registry_destroy(registry);
        wl_display_disconnect(display);
        close(ends[1]);
    }
};

// An output's scale changes under a configured surface: its pixels are the compositor's logical
// size times the scale, whatever the two are, and never more than a surface can have.
TEST(WaylandWindow, AScaleChangeGivesASizeASurfaceCanHave) {
    struct Case {
        int logicalWidth, logicalHeight, scale, width, height;
    };
    const Case cases[] = {
        {1920, 1080, 2, 3840, 2160},
        {0x40000001, 1, 4, MAX_SURFACE_SIDE, 4},                  // past an int
        {100000, 100000, 2, MAX_SURFACE_SIDE, MAX_SURFACE_SIDE},  // a black buffer past a pool's int32
        {1000, 1000, INT32_MAX, MAX_SURFACE_SIDE, MAX_SURFACE_SIDE},
    };
    SilentConnection connection;
    ASSERT_NE(connection.display, nullptr);
    for (const Case& c : cases) {
        WlState& s = state();
        s = WlState{};
        s.display = connection.display;
        WlSurface& w = s.surfaces[0];
        w = WlSurface{.handle = reinterpret_cast<HWND>(0x1002),
                      .surface = connection.surface,
                      .outputName = 1,
                      .width = 640,
                      .height = 480,
                      .logicalWidth = c.logicalWidth,
                      .logicalHeight = c.logicalHeight,
                      .configured = true};
        outputChanged(WlOutput{.name = 1, .output = LISTED, .scale = c.scale});
        EXPECT_EQ(w.width, c.width) << c.logicalWidth << " at scale " << c.scale;
        EXPECT_EQ(w.height, c.height) << c.logicalHeight << " at scale " << c.scale;
    }
    state() = WlState{};
}

}  // namespace
}  // namespace smokedrift::wl
