// An output past the scene limit: covered black, without OpenGL, by a process of the run that
// still ends it on input. Each process that draws the scene costs what the driver takes for a
// context (on llvmpipe at 640x480 about 25 MiB of its own, 93 MiB resident with the libraries it
// shares); this one costs a shared-memory buffer that it never touches, zeros being black in XRGB.
//   - the same surface as the others (wl_window.cpp: layer surface or full-screen toplevel), the
//     same input (wl_input.cpp) and the same share of the run's focus and pointer bookkeeping;
//   - ends with 0 on a key, a button, a wheel, a touch, a travel of more than four pixels (the
//     host's close rules, which this process does not run) or the focus gone from the run.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/wl_state.h"

namespace smokedrift::wl {

namespace {

constexpr char BLACK_CLASS[] = "smokedrift black cover";
constexpr LONG TRAVEL_THRESHOLD = 4;

// A buffer of zeros the window's size: black and opaque in XRGB.
wl_buffer* blackBuffer(int width, int height) {
    const int stride = width * 4;
    const off_t size = static_cast<off_t>(stride) * height;
    const int fd = memfd_create("smokedrift-black", MFD_CLOEXEC);
    if (fd < 0) return nullptr;
    wl_buffer* buffer = nullptr;
    if (ftruncate(fd, size) == 0) {
        wl_shm_pool* pool = wl_shm_create_pool(state().shm, fd, static_cast<int32_t>(size));
        buffer = wl_shm_pool_create_buffer(pool, 0, width, height, stride, WL_SHM_FORMAT_XRGB8888);
        wl_shm_pool_destroy(pool);
    }
    close(fd);
    return buffer;
}

void showBlack(HWND window) {
    WlSurface* w = findSurface(window);
    if (w == nullptr || w->width <= 0 || w->height <= 0) return;
    wl_buffer* buffer = blackBuffer(w->width, w->height);
    if (buffer == nullptr) return;
    wl_surface_attach(w->surface, buffer, 0, 0);
    wl_surface_damage(w->surface, 0, 0, INT32_MAX, INT32_MAX);
    wl_surface_commit(w->surface);
    // The compositor keeps what it was shown; the old buffer is not needed any more.
    WlState& s = state();
    if (s.blackShown != nullptr) wl_buffer_destroy(s.blackShown);
    s.blackShown = buffer;
    surfaceShown(*w);
}

LRESULT CALLBACK blackProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        GetCursorPos(&state().travelFrom);
        showBlack(window);
        return 0;
    case WM_SIZE:
        showBlack(window);
        return 0;
    case WM_SHOWWINDOW:
        SetCursor(nullptr);
        return 0;
    case WM_ACTIVATEAPP:
        if (wParam == FALSE) PostMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        PostMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    case WM_MOUSEMOVE: {
        POINT now = {};
        GetCursorPos(&now);
        if (std::labs(now.x - state().travelFrom.x) + std::labs(now.y - state().travelFrom.y) > TRAVEL_THRESHOLD) {
            PostMessageA(window, WM_CLOSE, 0, 0);
        }
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int coverBlack() {
    if (display() == nullptr) return 255;
    if (state().shm == nullptr) {
        std::fprintf(stderr, "Wayland: the compositor offers no shared memory to cover an output with\n");
        return 255;
    }
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = &blackProc;
    windowClass.lpszClassName = BLACK_CLASS;
    if (RegisterClassA(&windowClass) == 0) return 255;
    const HWND window = CreateWindowExA(0, BLACK_CLASS, "smokedrift", WS_POPUP | WS_VISIBLE, 0, 0, 0, 0, nullptr,
                                             nullptr, nullptr, nullptr);
    // No window: the output went before it could be covered, or the compositor refused it.
    if (window == nullptr) return state().outputGone ? OUTPUT_GONE_CODE : 255;
    MSG msg = {};
    while (GetMessageA(&msg, nullptr, 0, 0)) DispatchMessageA(&msg);
    return static_cast<int>(msg.wParam);
}

}  // namespace smokedrift::wl
