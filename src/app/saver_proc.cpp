// The saver window's application procedure: context and scene at creation, a frame per timer tick.
#include "app/graphics_context.h"
#include "app/saver_options.h"
#include "app/scene_start.h"
#include "app/scene_switches.h"
#include "app/startup_trace.h"
#include "host/saver_host.h"

namespace smokedrift {

namespace {

constexpr UINT_PTR FRAME_TIMER_ID = 1;
constexpr UINT FRAME_INTERVAL_MS = 5;

constinit HDC deviceContext = nullptr;
constinit HGLRC renderContext = nullptr;
SaverOptions saverOptions;

}  // namespace

void setSaverOptions(const SaverOptions& options) { saverOptions = options; }

LRESULT saverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        RECT client = {};
        GetClientRect(window, &client);
        initGraphics(window, deviceContext, renderContext);
        startScene(scene, {client.right, client.bottom, GetTickCount(), saverOptions.scene});
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
        if (scene.options.switches & switchBit(SWITCH_FEEDBACK)) cycleFeedback(scene);
        scene.renderFrame();
        SwapBuffers(deviceContext);
        if (scene.frameCounter == FIRST_DRAWN_FRAME) markStartup(StartupMark::FirstFrame);
        return 0;
    default:
        return defaultSaverProc(window, message, wParam, lParam);
    }
}

}  // namespace smokedrift
