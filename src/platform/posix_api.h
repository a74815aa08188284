#pragma once
// The Win32 calls that talk to the window system, listed once. Each POSIX backend defines them in
// its own namespace (x11::api, wl::api); posix_dispatch.cpp defines the real names and hands each
// call to the backend chosen for this run.
#include "platform/win32_api.h"

// X(result, name, parameters, arguments)
#define SMOKEDRIFT_WINDOW_SYSTEM_CALLS(X)                                                                       \
    X(ATOM, RegisterClassA, (const WNDCLASSA* c), (c))                                                            \
    X(HWND, CreateWindowExA,                                                                                      \
      (DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width, int height,          \
       HWND parent, HMENU menu, HINSTANCE instance, LPVOID param),                                                \
      (exStyle, className, title, style, x, y, width, height, parent, menu, instance, param))                    \
    X(HWND, GetDesktopWindow, (), ())                                                                             \
    X(BOOL, IsWindow, (HWND w), (w))                                                                              \
    X(HWND, GetParent, (HWND w), (w))                                                                             \
    X(BOOL, GetClientRect, (HWND w, LPRECT r), (w, r))                                                            \
    X(HWND, FindWindowA, (LPCSTR className, LPCSTR title), (className, title))                                   \
    X(HWND, GetForegroundWindow, (), ())                                                                          \
    X(BOOL, SetForegroundWindow, (HWND w), (w))                                                                   \
    X(UINT, RegisterWindowMessageA, (LPCSTR name), (name))                                                        \
    X(BOOL, GetMessageA, (LPMSG m, HWND w, UINT low, UINT high), (m, w, low, high))                               \
    X(BOOL, PeekMessageA, (LPMSG m, HWND w, UINT low, UINT high, UINT flags), (m, w, low, high, flags))           \
    X(BOOL, TranslateMessage, (const MSG* m), (m))                                                                \
    X(LRESULT, DispatchMessageA, (const MSG* m), (m))                                                             \
    X(LRESULT, SendMessageA, (HWND w, UINT m, WPARAM wp, LPARAM lp), (w, m, wp, lp))                              \
    X(BOOL, PostMessageA, (HWND w, UINT m, WPARAM wp, LPARAM lp), (w, m, wp, lp))                                 \
    X(void, PostQuitMessage, (int code), (code))                                                                  \
    X(LRESULT, DefWindowProcA, (HWND w, UINT m, WPARAM wp, LPARAM lp), (w, m, wp, lp))                            \
    X(HCURSOR, SetCursor, (HCURSOR c), (c))                                                                       \
    X(BOOL, GetCursorPos, (LPPOINT p), (p))                                                                       \
    X(UINT_PTR, SetTimer, (HWND w, UINT_PTR id, UINT elapse, TIMERPROC f), (w, id, elapse, f))                    \
    X(BOOL, KillTimer, (HWND w, UINT_PTR id), (w, id))                                                            \
    X(INT_PTR, DialogBoxParamA, (HINSTANCE i, LPCSTR t, HWND o, DLGPROC p, LPARAM l), (i, t, o, p, l))            \
    X(BOOL, EndDialog, (HWND d, INT_PTR r), (d, r))                                                               \
    X(HDC, GetDC, (HWND w), (w))                                                                                  \
    X(int, ReleaseDC, (HWND w, HDC dc), (w, dc))                                                                  \
    X(int, GetClipBox, (HDC dc, LPRECT r), (dc, r))                                                               \
    X(int, ChoosePixelFormat, (HDC dc, const PIXELFORMATDESCRIPTOR* p), (dc, p))                                  \
    X(int, DescribePixelFormat, (HDC dc, int f, UINT n, LPPIXELFORMATDESCRIPTOR p), (dc, f, n, p))                \
    X(BOOL, SetPixelFormat, (HDC dc, int f, const PIXELFORMATDESCRIPTOR* p), (dc, f, p))                          \
    X(BOOL, SwapBuffers, (HDC dc), (dc))                                                                          \
    X(HGLRC, wglCreateContext, (HDC dc), (dc))                                                                    \
    X(BOOL, wglMakeCurrent, (HDC dc, HGLRC c), (dc, c))                                                           \
    X(BOOL, wglDeleteContext, (HGLRC c), (c))                                                                     \
    X(PROC, wglGetProcAddress, (LPCSTR name), (name))                                                             \
    X(BOOL, wglUseFontBitmapsA, (HDC dc, DWORD first, DWORD count, DWORD base), (dc, first, count, base))

#define SMOKEDRIFT_DECLARE_CALL(result, name, parameters, arguments) result WINAPI name parameters;

namespace smokedrift::x11::api {
SMOKEDRIFT_WINDOW_SYSTEM_CALLS(SMOKEDRIFT_DECLARE_CALL)
}
namespace smokedrift::wl::api {
SMOKEDRIFT_WINDOW_SYSTEM_CALLS(SMOKEDRIFT_DECLARE_CALL)
}
