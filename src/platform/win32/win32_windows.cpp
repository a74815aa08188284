// Windows, device contexts, the cursor, pixel formats and dialogs of the Win32 emulation: the
// window table and the order of messages are ours, each surface and context is the backend's.
#include <cstring>

#include "platform/win32/pixel_format_match.h"
#include "platform/win32/win32_state.h"

namespace smokedrift::platform {

Win32State& state() {
    static Win32State s;
    return s;
}

void useBackend(const WindowBackend& backend) {
    state() = Win32State{};
    state().backend = &backend;
}

const WindowBackend* connected() {
    const WindowBackend* b = state().backend;
    return b != nullptr && b->connect() ? b : nullptr;
}

Win32Window* findWindow(HWND window) {
    if (window == nullptr) return nullptr;
    for (Win32Window& w : state().windows) {
        if (w.handle == window) return &w;
    }
    return nullptr;
}

bool isOurs(HWND window) { return findWindow(window) != nullptr; }

void resized(HWND window, int width, int height) {
    Win32Window* w = findWindow(window);
    if (w == nullptr || (w->width == width && w->height == height)) return;
    w->width = width;
    w->height = height;
    w->proc(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
}

void destroyed(HWND window) {
    Win32Window* w = findWindow(window);
    if (w == nullptr) return;
    const WNDPROC proc = w->proc;
    // Gone: nothing more may be drawn into it, sent to it or timed for it.
    *w = Win32Window{};
    state().timers.dropFor(window);
    proc(window, WM_DESTROY, 0, 0);
    state().queue.dropFor(window);
}

namespace {

// As DestroyWindow: the window hears WM_DESTROY, then each of its children, every one while its
// surface still exists (a GL context is let go of before its drawable disappears).
void destroyTree(Win32Window& w) {
    Win32State& s = state();
    const HWND handle = w.handle;
    w.proc(handle, WM_DESTROY, 0, 0);
    for (Win32Window& child : s.windows) {
        if (child.handle != nullptr && child.parent == handle) destroyTree(child);
    }
    s.queue.dropFor(handle);
    s.timers.dropFor(handle);
    s.backend->destroySurface(handle);
    w = Win32Window{};
}

Win32Window* freeSlot() {
    for (Win32Window& w : state().windows) {
        if (w.handle == nullptr) return &w;
    }
    return nullptr;
}

HWND windowOf(HDC dc) { return reinterpret_cast<HWND>(dc); }

}  // namespace
}  // namespace smokedrift::platform

using namespace smokedrift::platform;

ATOM WINAPI RegisterClassA(const WNDCLASSA* windowClass) {
    return connected() != nullptr ? state().classes.add(*windowClass) : 0;
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width,
                            int height, HWND parent, HMENU, HINSTANCE, LPVOID) {
    const WindowBackend* backend = connected();
    const WNDPROC proc = backend != nullptr ? state().classes.find(className) : nullptr;
    Win32Window* w = freeSlot();
    if (proc == nullptr || w == nullptr) return nullptr;
    const bool child = (style & WS_CHILD) != 0;
    const SurfaceRole role = child                                             ? SurfaceRole::Preview
                             : (style & WS_POPUP) && (exStyle & WS_EX_TOPMOST) ? SurfaceRole::FullScreen
                                                                               : SurfaceRole::Window;
    SurfaceRequest request{exStyle, style, className, title, x, y, width, height, child ? parent : nullptr, role};
    const HWND handle = backend->createSurface(request);
    if (handle == nullptr) return nullptr;
    *w = Win32Window{handle, request.parent, proc, request.width, request.height, false};
    if (proc(handle, WM_CREATE, 0, 0) == -1) {
        state().timers.dropFor(handle);
        state().queue.dropFor(handle);
        backend->destroySurface(handle);
        *w = Win32Window{};
        return nullptr;
    }
    if (style & WS_VISIBLE) {
        proc(handle, WM_SHOWWINDOW, TRUE, 0);
        backend->showSurface(handle);
    }
    return handle;
}

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM, LPARAM) {
    Win32Window* w = findWindow(window);
    if (message == WM_CLOSE && w != nullptr) destroyTree(*w);
    return 0;
}

HWND WINAPI GetDesktopWindow() {
    const WindowBackend* backend = connected();
    return backend != nullptr ? backend->desktop() : nullptr;
}

BOOL WINAPI IsWindow(HWND window) {
    if (findWindow(window) != nullptr) return TRUE;
    const WindowBackend* backend = connected();
    OtherWindow other;
    return window != nullptr && backend != nullptr && backend->otherWindow(window, &other) ? TRUE : FALSE;
}

HWND WINAPI GetParent(HWND window) {
    if (const Win32Window* w = findWindow(window)) return w->parent;
    const WindowBackend* backend = connected();
    OtherWindow other;
    return window != nullptr && backend != nullptr && backend->otherWindow(window, &other) ? other.parent : nullptr;
}

BOOL WINAPI GetClientRect(HWND window, LPRECT rect) {
    *rect = RECT{0, 0, 0, 0};
    if (const Win32Window* w = findWindow(window)) {
        rect->right = w->width;
        rect->bottom = w->height;
        return TRUE;
    }
    const WindowBackend* backend = connected();
    OtherWindow other;
    if (window == nullptr || backend == nullptr || !backend->otherWindow(window, &other)) return FALSE;
    rect->right = other.width;
    rect->bottom = other.height;
    return TRUE;
}

HWND WINAPI FindWindowA(LPCSTR className, LPCSTR title) {
    const WindowBackend* backend = connected();
    return backend != nullptr ? backend->findOtherWindow(className, title) : nullptr;
}

HWND WINAPI GetForegroundWindow() {
    const WindowBackend* backend = connected();
    return backend != nullptr ? backend->foreground() : nullptr;
}

BOOL WINAPI SetForegroundWindow(HWND window) {
    const WindowBackend* backend = connected();
    return backend != nullptr && backend->setForeground(window) ? TRUE : FALSE;
}

UINT WINAPI RegisterWindowMessageA(LPCSTR name) {
    const WindowBackend* backend = connected();
    return backend != nullptr ? backend->registerMessage(name) : 0;
}

HCURSOR WINAPI SetCursor(HCURSOR cursor) {
    Win32State& s = state();
    const HCURSOR previous = s.cursorHidden ? nullptr : reinterpret_cast<HCURSOR>(1);
    const WindowBackend* backend = connected();
    if (backend == nullptr) return previous;
    s.cursorHidden = cursor == nullptr;
    backend->hideCursor(s.cursorHidden);
    return previous;
}

BOOL WINAPI GetCursorPos(LPPOINT point) {
    *point = POINT{0, 0};
    const WindowBackend* backend = connected();
    return backend != nullptr && backend->cursorPos(point) ? TRUE : FALSE;
}

// A device context is its window: each window has its own (CS_OWNDC), the desktop's is null's.
HDC WINAPI GetDC(HWND window) {
    const WindowBackend* backend = connected();
    if (backend == nullptr) return nullptr;
    return reinterpret_cast<HDC>(window != nullptr ? window : backend->desktop());
}

int WINAPI ReleaseDC(HWND, HDC) { return 1; }

int WINAPI GetClipBox(HDC dc, LPRECT rect) {
    *rect = RECT{0, 0, 0, 0};
    const WindowBackend* backend = connected();
    return backend != nullptr && dc != nullptr ? backend->clipBox(windowOf(dc), rect) : ERROR;
}

int WINAPI ChoosePixelFormat(HDC, const PIXELFORMATDESCRIPTOR* want) {
    const WindowBackend* backend = connected();
    return backend != nullptr ? backend->choosePixelFormat(*want) : 0;
}

int WINAPI DescribePixelFormat(HDC, int format, UINT size, LPPIXELFORMATDESCRIPTOR descriptor) {
    const WindowBackend* backend = connected();
    if (backend == nullptr) return 0;
    const auto describe = [backend](int i) {
        PIXELFORMATDESCRIPTOR f = {};
        backend->describePixelFormat(i + 1, &f);
        return f;
    };
    return smokedrift::describePixelFormat(backend->describePixelFormat(0, nullptr), describe, format, size,
                                           descriptor);
}

BOOL WINAPI SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR*) {
    const WindowBackend* backend = connected();
    return backend != nullptr && backend->setPixelFormat(windowOf(dc), format) ? TRUE : FALSE;
}

HGLRC WINAPI wglCreateContext(HDC dc) {
    const WindowBackend* backend = connected();
    return backend != nullptr ? backend->createContext(windowOf(dc)) : nullptr;
}

BOOL WINAPI wglMakeCurrent(HDC dc, HGLRC context) {
    const WindowBackend* backend = connected();
    return backend != nullptr && backend->makeCurrent(windowOf(dc), context) ? TRUE : FALSE;
}

BOOL WINAPI wglDeleteContext(HGLRC context) {
    const WindowBackend* backend = connected();
    return backend != nullptr && backend->deleteContext(context) ? TRUE : FALSE;
}

PROC WINAPI wglGetProcAddress(LPCSTR name) {
    const WindowBackend* backend = connected();
    return backend != nullptr && name != nullptr ? backend->procAddress(name) : nullptr;
}

BOOL WINAPI wglUseFontBitmapsA(HDC, DWORD first, DWORD count, DWORD listBase) {
    const WindowBackend* backend = connected();
    return backend != nullptr && backend->fontBitmaps(first, count, listBase) ? TRUE : FALSE;
}

BOOL WINAPI SwapBuffers(HDC dc) {
    const WindowBackend* backend = connected();
    return backend != nullptr && backend->swapBuffers(windowOf(dc)) ? TRUE : FALSE;
}

INT_PTR WINAPI DialogBoxParamA(HINSTANCE, LPCSTR templateName, HWND owner, DLGPROC dialogProc, LPARAM param) {
    // Only templates named by number (MAKEINTRESOURCEA) exist here.
    const std::uintptr_t name = reinterpret_cast<std::uintptr_t>(templateName);
    const WindowBackend* backend = connected();
    if ((name >> 16) != 0 || backend == nullptr) return -1;
    return backend->dialogBox(static_cast<WORD>(name), owner, dialogProc, param);
}

BOOL WINAPI EndDialog(HWND dialog, INT_PTR result) {
    const WindowBackend* backend = state().backend;
    return backend != nullptr && backend->endDialog(dialog, result) ? TRUE : FALSE;
}
