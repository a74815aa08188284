// Scripted device contexts, pixel formats and rendering contexts.
#include <cstring>

#include "platform/fake_state.h"

namespace smokedrift::fake {

void setPixelFormats(std::vector<PIXELFORMATDESCRIPTOR> formats, int chosen) {
    state().pixelFormats = std::move(formats);
    state().chosenFormat = chosen;
}

}  // namespace smokedrift::fake

using namespace smokedrift::fake;

namespace {

constexpr std::uintptr_t SCREEN_DC = 0xDC0000;
constexpr std::uintptr_t CONTEXT_HANDLE = 0x6C0001;

}  // namespace

HDC WINAPI GetDC(HWND window) {
    const HDC dc = reinterpret_cast<HDC>(SCREEN_DC + u(window));
    record("GetDC", u(window), u(dc));
    return dc;
}

int WINAPI ReleaseDC(HWND window, HDC dc) {
    record("ReleaseDC", u(window), u(dc));
    return 1;
}

int WINAPI GetClipBox(HDC dc, LPRECT rect) {
    record("GetClipBox", u(dc));
    if (u(dc) != SCREEN_DC && state().windowsHidden) {
        *rect = RECT{0, 0, 0, 0};
        return NULLREGION;
    }
    *rect = state().screen;
    return SIMPLEREGION;
}

int WINAPI ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor) {
    record("ChoosePixelFormat", u(dc), descriptor->dwFlags, descriptor->cAlphaBits, descriptor->cDepthBits);
    return state().chosenFormat;
}

int WINAPI DescribePixelFormat(HDC, int format, UINT size, LPPIXELFORMATDESCRIPTOR descriptor) {
    const auto& formats = state().pixelFormats;
    if (format < 1 || static_cast<std::size_t>(format) > formats.size()) return 0;
    if (descriptor != nullptr) std::memcpy(descriptor, &formats[static_cast<std::size_t>(format) - 1], size);
    return static_cast<int>(formats.size());
}

BOOL WINAPI SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR*) {
    record("SetPixelFormat", u(dc), static_cast<std::uintptr_t>(format));
    return TRUE;
}

BOOL WINAPI SwapBuffers(HDC dc) {
    record("SwapBuffers", u(dc));
    return TRUE;
}

HGLRC WINAPI wglCreateContext(HDC dc) {
    record("wglCreateContext", u(dc));
    return reinterpret_cast<HGLRC>(CONTEXT_HANDLE);
}

BOOL WINAPI wglMakeCurrent(HDC dc, HGLRC context) {
    record("wglMakeCurrent", u(dc), u(context));
    return TRUE;
}

// No extensions in the scripted world: callers must cope with a missing entry point.
PROC WINAPI wglGetProcAddress(LPCSTR name) {
    record("wglGetProcAddress", u(name));
    return nullptr;
}

BOOL WINAPI wglUseFontBitmapsA(HDC dc, DWORD first, DWORD count, DWORD listBase) {
    record("wglUseFontBitmapsA", u(dc), first, count, listBase);
    return TRUE;
}

BOOL WINAPI wglDeleteContext(HGLRC context) {
    record("wglDeleteContext", u(context));
    return TRUE;
}
