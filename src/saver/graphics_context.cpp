#include "saver/graphics_context.h"
#include "app/startup_trace.h"
#include "platform/win32/pixel_format_match.h"

namespace smokedrift {

// Colour and alpha bits without shifts, a depth buffer, no accumulation, stencil or auxiliary buffers.
constinit const PIXELFORMATDESCRIPTOR pixelFormatDescriptor = {
    .nSize = 40,
    .nVersion = 1,
    .dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER,
    .iPixelType = PFD_TYPE_RGBA,
    .cColorBits = 24,
    .cRedBits = 0,
    .cRedShift = 0,
    .cGreenBits = 0,
    .cGreenShift = 0,
    .cBlueBits = 0,
    .cBlueShift = 0,
    .cAlphaBits = 16,
    .cAlphaShift = 0,
    .cAccumBits = 0,
    .cAccumRedBits = 0,
    .cAccumGreenBits = 0,
    .cAccumBlueBits = 0,
    .cAccumAlphaBits = 0,
    .cDepthBits = 16,
    .cStencilBits = 0,
    .cAuxBuffers = 0,
    .iLayerType = PFD_MAIN_PLANE,
    .bReserved = 0,
    .dwLayerMask = 0,
    .dwVisibleMask = 0,
    .dwDamageMask = 0,
};

namespace {

constexpr DWORD REQUIRED_FLAGS = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;

bool usable(const PIXELFORMATDESCRIPTOR& f) {
    return (f.dwFlags & REQUIRED_FLAGS) == REQUIRED_FLAGS && f.iPixelType == PFD_TYPE_RGBA && f.cAlphaBits > 0;
}

}  // namespace

int choosePixelFormatWithAlpha(HDC dc) {
    const int chosen = ChoosePixelFormat(dc, &pixelFormatDescriptor);
    PIXELFORMATDESCRIPTOR described = {};
    const int count = DescribePixelFormat(dc, chosen > 0 ? chosen : 1, sizeof(described), &described);
    if (chosen > 0 && described.cAlphaBits > 0) return chosen;
    int best = chosen;
    int bestDistance = -1;
    for (int format = 1; format <= count; ++format) {
        PIXELFORMATDESCRIPTOR f = {};
        if (DescribePixelFormat(dc, format, sizeof(f), &f) == 0 || !usable(f)) continue;
        // The request asks for no stencil or accumulation bits: every one a format has is surplus.
        const int distance = pixelFormatDistance(f, pixelFormatDescriptor);
        if (bestDistance < 0 || distance < bestDistance) {
            best = format;
            bestDistance = distance;
        }
    }
    return best;
}

namespace {

// One frame per display refresh where the platform can wait for it: the animation is driven by
// elapsed time, so drawing on every timer tick would change nothing but burn a core and the GPU.
void requestSwapInterval() {
    using SwapIntervalFn = BOOL(WINAPI*)(int);
    const PROC entry = wglGetProcAddress("wglSwapIntervalEXT");
    if (entry != nullptr) {
        reinterpret_cast<SwapIntervalFn>(reinterpret_cast<void (*)()>(entry))(1);
    }
}

}  // namespace

bool initGraphics(HWND window, HDC& deviceContext, HGLRC& renderContext) {
    deviceContext = GetDC(window);
    const int format = choosePixelFormatWithAlpha(deviceContext);
    SetPixelFormat(deviceContext, format, &pixelFormatDescriptor);
    renderContext = wglCreateContext(deviceContext);
    if (renderContext == nullptr || !wglMakeCurrent(deviceContext, renderContext)) return false;
    requestSwapInterval();
    markStartup(StartupMark::ContextReady);
    return true;
}

void releaseGraphics(HWND window, HDC deviceContext, HGLRC renderContext) {
    wglMakeCurrent(nullptr, nullptr);
    if (renderContext != nullptr) wglDeleteContext(renderContext);
    ReleaseDC(window, deviceContext);
}

}  // namespace smokedrift
