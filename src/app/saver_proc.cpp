// The saver window's application procedure: context and scene at creation, a frame per timer tick.
#include "app/frame_loop.h"
#include "app/graphics_context.h"
#include "app/graphics_setup.h"
#include "app/scene_settings.h"
#include "host/saver_host.h"

namespace smokedrift {

namespace {

constexpr UINT_PTR FRAME_TIMER_ID = 1;
constexpr UINT FRAME_INTERVAL_MS = 5;

constinit HDC deviceContext = nullptr;
constinit HGLRC renderContext = nullptr;

// Scene objects that hold OpenGL names across frames give them back here, while the context is
// still current. Of the shipped objects none does; the star field's display list is the one
// candidate, and only when the stars are switched on.
void releaseSceneObjects() {
    if (starsEnabled == 0) return;
}

}  // namespace

LRESULT saverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        RECT client = {};
        GetClientRect(window, &client);
        clientWidth = client.right;
        clientHeight = client.bottom;
        initGraphics(window, deviceContext, renderContext);
        setupGlState();
        SetTimer(window, FRAME_TIMER_ID, FRAME_INTERVAL_MS, nullptr);
        return 0;
    }
    case WM_DESTROY:
        KillTimer(window, FRAME_TIMER_ID);
        releaseSceneObjects();
        releaseGraphics(window, deviceContext, renderContext);
        return 0;
    case WM_TIMER:
        renderFrame();
        SwapBuffers(deviceContext);
        return 0;
    default:
        return defaultSaverProc(window, message, wParam, lParam);
    }
}

}  // namespace smokedrift
