// The saver window's application procedure: context and scene at creation, a frame per timer tick.
#include <cstdio>
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
#include "saver/scale_choice.h"

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

// The render scale: given, or chosen by measuring where the renderer draws in software.
constinit bool choosingScale = false;
constinit double frameBudget = 0;                   // microseconds
constinit int scaledWidth = -1, scaledHeight = -1;  // the window size the choice is for
ScaleChooser scaleChooser;

int maxTextureSide() {
    GLint side = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &side);
    return side;
}

// Divisors whose texture this context can hold at the window's size.
unsigned allowedScales(int width, int height) {
    const int side = maxTextureSide();
    unsigned allowed = scaleBit(1);
    for (int k = 2; k <= MAX_RENDER_SCALE; ++k)
        if (scaleFits(k, width, height, side)) allowed |= scaleBit(k);
    return allowed;
}

void startChoosingScale(int width, int height) {
    scaledWidth = width;
    scaledHeight = height;
    scaleChooser.start(width, height, allowedScales(width, height), frameBudget);
    scene.drawDivisor = scaleChooser.scale();
}

void sayScale(int width, int height, const char* why) {
    if (!saverOptions.verbose) return;
    const int k = fittingScale(scene.drawDivisor, width, height, maxTextureSide());
    std::fprintf(stderr, "smokedrift: render scale %d, %dx%d drawn at %dx%d: %s\n", k, width, height,
                 drawnSide(width, k), drawnSide(height, k), why);
}

// Once the renderer is known: how often frames are due and at which scale they are drawn.
void choosePacingAndScale(int width, int height) {
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    const char* vendor = reinterpret_cast<const char*>(glGetString(GL_VENDOR));
    const bool software = softwareRenderer(renderer, vendor);
    // A --delay sets the least time between frames. Without one, at most 60 a second, or 30 where
    // the CPU draws: every frame it saves is a share of a core given back.
    long interval = 1000000 / 60;
    if (saverOptions.delayGiven && saverOptions.delayMicroseconds > 0) {
        frameSchedule = FrameSchedule(saverOptions.delayMicroseconds);
        interval = saverOptions.delayMicroseconds;
    } else if (software && !saverOptions.delayGiven) {
        frameSchedule = FrameSchedule(1000000, 30);
        interval = 1000000 / 30;
    } else {
        frameSchedule = FrameSchedule();
    }
    char why[256];
    choosingScale = software && saverOptions.scene.renderScale == 0;
    if (choosingScale) {
        frameBudget = FRAME_BUDGET_SHARE * static_cast<double>(interval);
        startChoosingScale(width, height);
        return;  // said once measured
    }
    if (saverOptions.scene.renderScale > 0) {
        std::snprintf(why, sizeof(why), "as given (--render-scale %d)", saverOptions.scene.renderScale);
    } else {
        std::snprintf(why, sizeof(why), "'%s' is no software renderer", renderer != nullptr ? renderer : "?");
    }
    sayScale(width, height, why);
}

void measuredFrame(std::int64_t start, std::int64_t end) {
    if (!choosingScale) return;
    const bool news = scaleChooser.frameDrawn(end, end - start);
    scene.drawDivisor = scaleChooser.scale();
    if (!news) return;
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    char why[256];
    std::snprintf(why, sizeof(why), "a frame took %.1f ms at scale %d, the budget is %.1f ms ('%s' draws in software)",
                  scaleChooser.lastCost() / 1000, scaleChooser.lastMeasuredScale(), scaleChooser.budget() / 1000,
                  renderer != nullptr ? renderer : "?");
    sayScale(scaledWidth, scaledHeight, why);
}

// Keys and buttons waiting for the full-screen saver: the user is back and its window is about to
// go, so the rest of a frame in flight would only keep them waiting. Motion is left to the close
// rules, which let a small one pass. Looking pumps the window system's events, which may have
// destroyed the window, and its context with it: then nothing more may be drawn either.
constinit HWND fullScreenWindow = nullptr;
bool userIsBack() {
    MSG msg;
    return PeekMessageA(&msg, fullScreenWindow, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE) ||
           PeekMessageA(&msg, fullScreenWindow, WM_SYSKEYDOWN, WM_SYSKEYDOWN, PM_NOREMOVE) ||
           PeekMessageA(&msg, fullScreenWindow, WM_LBUTTONDOWN, WM_MBUTTONDOWN, PM_NOREMOVE) ||
           renderContext == nullptr;
}

void startFpsOverlay() {
    const unsigned lists = glGenLists(FpsOverlay::CHAR_COUNT);
    if (lists != 0 && wglUseFontBitmapsA(deviceContext, FpsOverlay::FIRST_CHAR, FpsOverlay::CHAR_COUNT, lists)) {
        fpsOverlay.useGlyphs(lists);
    }
}

void drawFrame() {
    // A frame's cost runs from the first call to the end of the swap, which waits for a software
    // renderer to finish the picture.
    const std::int64_t start = saverMicroseconds();
    // Cut short, the frame is not shown, and its cost says nothing of a whole one's.
    if (!scene.renderFrame()) return;
    if (!saverOptions.showFps) {
        SwapBuffers(deviceContext);
        measuredFrame(start, saverMicroseconds());
        return;
    }
    fpsOverlay.countFrame(static_cast<double>(start) * 1e-6, static_cast<double>(std::clock()) / CLOCKS_PER_SEC);
    fpsOverlay.draw(static_cast<int>(scene.screenLayout.windowWidth),
                    static_cast<int>(scene.screenLayout.windowHeight));
    SwapBuffers(deviceContext);
    fpsOverlay.restore();
    measuredFrame(start, saverMicroseconds());
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
        // Only the full-screen saver ends on a key; a preview draws every frame whole.
        fullScreenWindow = GetParent(window) == nullptr ? window : nullptr;
        scene.interrupted = fullScreenWindow != nullptr ? userIsBack : nullptr;
        if (saverOptions.showFps) startFpsOverlay();
        choosePacingAndScale(client.right, client.bottom);
        SetTimer(window, FRAME_TIMER_ID, FRAME_INTERVAL_MS, nullptr);
        return 0;
    }
    case WM_SIZE:
        scene.resize(LOWORD(lParam), HIWORD(lParam));
        // Another size costs another fill: measured again from a first guess.
        if (choosingScale && (LOWORD(lParam) != scaledWidth || HIWORD(lParam) != scaledHeight)) {
            startChoosingScale(LOWORD(lParam), HIWORD(lParam));
        }
        return 0;
    case WM_DESTROY:
        KillTimer(window, FRAME_TIMER_ID);
        scene.release();  // while the context is still current
        releaseGraphics(window, deviceContext, renderContext);
        deviceContext = nullptr;
        renderContext = nullptr;  // a frame this came in the middle of draws no more
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
