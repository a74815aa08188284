// The saver window's application procedure: context and scene at creation, a frame per timer tick.
#include "app/graphics_context.h"
#include "app/saver_pacing.h"
#include "app/scene_start.h"
#include "app/startup_trace.h"
#include "host/saver_host.h"

namespace smokedrift {

namespace {

constexpr UINT_PTR FRAME_TIMER_ID = 1;
constexpr UINT FRAME_INTERVAL_MS = 5;

constinit HDC deviceContext = nullptr;
constinit HGLRC renderContext = nullptr;
constinit FramePacer framePacer;

// Nothing of the window can be seen (unmapped, minimised, covered): a frame would be wasted.
bool windowHidden() {
    RECT visible = {};
    return GetClipBox(deviceContext, &visible) == NULLREGION;
}

}  // namespace

LRESULT saverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        RECT client = {};
        GetClientRect(window, &client);
        // Without a context there is nothing to draw with: failing the creation ends the mode with
        // -1, so whoever started the saver can tell it from a saver that ran.
        if (!initGraphics(window, deviceContext, renderContext)) {
            releaseGraphics(window, deviceContext, renderContext);
            renderContext = nullptr;
            return -1;
        }
        startScene(scene, {client.right, client.bottom, GetTickCount(), 0});
        framePacer.restart();
        SetTimer(window, FRAME_TIMER_ID, FRAME_INTERVAL_MS, nullptr);
        return 0;
    }
    case WM_SIZE:
        scene.resize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_DESTROY:
        KillTimer(window, FRAME_TIMER_ID);
        scene.release();  // while the context is still current
        releaseGraphics(window, deviceContext, renderContext);
        return 0;
    case WM_TIMER:
        if (!framePacer.frameDue(GetTickCount()) || windowHidden()) return 0;
        scene.renderFrame();
        SwapBuffers(deviceContext);
        if (scene.frameCounter == FIRST_DRAWN_FRAME) markStartup(StartupMark::FirstFrame);
        return 0;
    default:
        return defaultSaverProc(window, message, wParam, lParam);
    }
}

}  // namespace smokedrift
