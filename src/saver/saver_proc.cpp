// The saver window's application procedure: context and scene at creation, a frame per timer tick.
#include <ctime>

#include "app/fps_overlay.h"
#include "app/scene_start.h"
#include "app/scene_switches.h"
#include "app/startup_trace.h"
#include "base/gl.h"
#include "host/saver_host.h"
#include "saver/frame_schedule.h"
#include "saver/graphics_context.h"
#include "saver/saver_options.h"

namespace smokedrift {

namespace {

constexpr UINT_PTR FRAME_TIMER_ID = 1;
// The timer only asks; the frame schedule decides which ticks draw.
constexpr UINT FRAME_INTERVAL_MS = 5;

constinit HDC deviceContext = nullptr;
constinit HGLRC renderContext = nullptr;
constinit FrameSchedule frameSchedule;

// Nothing of the window can be seen (unmapped, minimised, covered): a frame would be wasted.
bool windowHidden() {
    RECT visible = {};
    return GetClipBox(deviceContext, &visible) == NULLREGION;
}

SaverOptions saverOptions;
FpsOverlay fpsOverlay;

void startFpsOverlay() {
    const unsigned lists = glGenLists(FpsOverlay::CHAR_COUNT);
    if (lists != 0 && wglUseFontBitmapsA(deviceContext, FpsOverlay::FIRST_CHAR, FpsOverlay::CHAR_COUNT, lists)) {
        fpsOverlay.useGlyphs(lists);
    }
}

void drawFrame() {
    scene.renderFrame();
    if (!saverOptions.showFps) {
        SwapBuffers(deviceContext);
        return;
    }
    fpsOverlay.countFrame(static_cast<double>(saverMicroseconds()) * 1e-6,
                          static_cast<double>(std::clock()) / CLOCKS_PER_SEC);
    fpsOverlay.draw(static_cast<int>(scene.screenLayout.windowWidth),
                    static_cast<int>(scene.screenLayout.windowHeight));
    SwapBuffers(deviceContext);
    fpsOverlay.restore();
}

}  // namespace

void setSaverOptions(const SaverOptions& options) { saverOptions = options; }

LRESULT saverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (saverOptions.sceneless) return message == WM_CREATE ? 0 : defaultSaverProc(window, message, wParam, lParam);
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
        startScene(scene, {client.right, client.bottom, GetTickCount(), saverOptions.scene});
        if (saverOptions.showFps) startFpsOverlay();
        // A --delay sets the least time between frames; without one, at most 60 a second.
        frameSchedule =
            saverOptions.delayMicroseconds > 0 ? FrameSchedule(saverOptions.delayMicroseconds) : FrameSchedule();
        SetTimer(window, FRAME_TIMER_ID, FRAME_INTERVAL_MS, nullptr);
        return 0;
    }
    case WM_SIZE: scene.resize(LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_DESTROY:
        KillTimer(window, FRAME_TIMER_ID);
        scene.release();  // while the context is still current
        releaseGraphics(window, deviceContext, renderContext);
        return 0;
    case WM_TIMER:
        if (!frameSchedule.due(saverMicroseconds())) return 0;
        if (windowHidden()) return 0;
        if (scene.options.switches & switchBit(SWITCH_FEEDBACK)) cycleFeedback(scene);
        drawFrame();
        if (scene.frameCounter == FIRST_DRAWN_FRAME) markStartup(StartupMark::FirstFrame);
        return 0;
    default: return defaultSaverProc(window, message, wParam, lParam);
    }
}

}  // namespace smokedrift
