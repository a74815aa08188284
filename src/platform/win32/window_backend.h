#pragma once
// The seam between the one Win32 emulation for POSIX (win32_windows.cpp, win32_messages.cpp) and
// a window system. The emulation owns what Win32 defines: window classes and the window table,
// the message queue, timers, sending, posting and dispatching, DefWindowProcA, and the order of
// WM_CREATE, WM_SHOWWINDOW, WM_SIZE and WM_DESTROY. A backend owns what only its window system
// knows: the surfaces under our windows, the windows of other clients, the pointer, OpenGL, and
// its events, which it hands to the emulation through the calls at the end of this file.
//
// Backends: X11 + GLX (platform/x11), Wayland + EGL (platform/wayland), and for the host tests a scripted
// one (tests/support). One is chosen per process, before the first window (useBackend).
#include <cstdint>

#include "base/session_environment.h"
#include "platform/win32/win32_api.h"

namespace smokedrift::platform {

// What a surface is for. CreateWindowExA reads it from the window's styles, in the one place
// Win32's way of saying it is read (win32_windows.cpp); a backend acts on the role and never tests
// styles or sizes for it.
enum class SurfaceRole {
    Window,      // a top-level window of ours (--window's), framed by whoever frames windows
    FullScreen,  // the saver covering the screen: a topmost pop-up
    Preview,     // a child of another window: a preview, or a drawing on the desktop
};

// What CreateWindowExA asks of the window system. The backend may change the size (a Wayland
// surface takes the size its output gives it).
struct SurfaceRequest {
    DWORD exStyle = 0;
    DWORD style = 0;
    LPCSTR className = nullptr;
    LPCSTR title = nullptr;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    HWND parent = nullptr;  // null: a top-level window
    SurfaceRole role = SurfaceRole::Window;
};

// A window that is not ours: another client's, or the desktop.
struct OtherWindow {
    HWND parent = nullptr;  // null: a top-level window
    int width = 0;
    int height = 0;
};

// The calls of a backend, written once: X(result, name, parameters) for each. This list makes the
// table's type below, each backend's declarations (SMOKEDRIFT_DECLARE_BACKEND_CALLS in its state
// header) and each backend's table (SMOKEDRIFT_BACKEND_TABLE next to its row).
//   connect: the connection, made on first use; false (after one line on stderr) when there is none.
//   pumpEvents: reads what arrived and hands it to the emulation; never waits.
//   waitEvents: sleeps until the window system or a stop signal has something, or `timeoutMs`
//     (-1: no limit).
//   now: the clock of timers, message times and GetTickCount: monotonic milliseconds.
//   exitCode: the exit code of a run whose message loop ended with `quitCode`.
//   createSurface, showSurface, destroySurface: the surface under a window of ours, named by the
//     handle the window system knows it by; null when there is none. Shown once the window has
//     heard WM_SHOWWINDOW; destroyed once it and its children have heard WM_DESTROY.
//   clipBox: GetClipBox, where a frame drawn into the window (or the desktop, null) would be seen.
//   desktop .. registerMessage: windows of other clients, the desktop, the focus; postToOther
//     posts to another client's queue, where the window system has one for us.
//   hideCursor, cursorPos: the pointer.
//   choosePixelFormat .. fontBitmaps: OpenGL. Pixel formats are numbered from 1;
//     describePixelFormat answers the count (0: none); makeCurrent with a null context makes none
//     current.
//   dialogBox, endDialog: a modal dialog from the application's templates; -1 when it cannot be
//     shown.
#define SMOKEDRIFT_BACKEND_CALLS(X)                                                  \
    X(bool, connect, ())                                                             \
    X(void, pumpEvents, ())                                                          \
    X(void, waitEvents, (int timeoutMs))                                             \
    X(std::uint64_t, now, ())                                                        \
    X(int, exitCode, (int quitCode))                                                 \
    X(HWND, createSurface, (platform::SurfaceRequest & request))                     \
    X(void, showSurface, (HWND window))                                              \
    X(void, destroySurface, (HWND window))                                           \
    X(int, clipBox, (HWND window, RECT * rect))                                      \
    X(HWND, desktop, ())                                                             \
    X(bool, otherWindow, (HWND window, platform::OtherWindow * info))                \
    X(HWND, findOtherWindow, (LPCSTR className, LPCSTR title))                       \
    X(bool, postToOther, (HWND window, UINT message, WPARAM wParam, LPARAM lParam))  \
    X(HWND, foreground, ())                                                          \
    X(bool, setForeground, (HWND window))                                            \
    X(UINT, registerMessage, (LPCSTR name))                                          \
    X(void, hideCursor, (bool hidden))                                               \
    X(bool, cursorPos, (POINT * point))                                              \
    X(int, choosePixelFormat, (const PIXELFORMATDESCRIPTOR& want))                   \
    X(int, describePixelFormat, (int format, PIXELFORMATDESCRIPTOR* descriptor))     \
    X(bool, setPixelFormat, (HWND window, int format))                               \
    X(HGLRC, createContext, (HWND window))                                           \
    X(bool, makeCurrent, (HWND window, HGLRC context))                               \
    X(bool, deleteContext, (HGLRC context))                                          \
    X(bool, swapBuffers, (HWND window))                                              \
    X(PROC, procAddress, (LPCSTR name))                                              \
    X(bool, fontBitmaps, (DWORD first, DWORD count, DWORD listBase))                 \
    X(INT_PTR, dialogBox, (WORD templateId, HWND owner, DLGPROC proc, LPARAM param)) \
    X(bool, endDialog, (HWND dialog, INT_PTR result))

// A type and a name cannot be put in parentheses; each call's are plain words in the list above.
#define SMOKEDRIFT_BACKEND_FIELD_(result, name, parameters) \
    result(*name) parameters;  // NOLINT(bugprone-macro-parentheses)
#define SMOKEDRIFT_BACKEND_DECLARATION_(result, name, parameters) result name parameters;
#define SMOKEDRIFT_BACKEND_ENTRY_(result, name, parameters) .name = (name),

struct WindowBackend {
    const char* name;  // as messages name it
    SMOKEDRIFT_BACKEND_CALLS(SMOKEDRIFT_BACKEND_FIELD_)
};

// In a backend's namespace: one declaration for each call, which the backend defines there.
#define SMOKEDRIFT_DECLARE_BACKEND_CALLS() SMOKEDRIFT_BACKEND_CALLS(SMOKEDRIFT_BACKEND_DECLARATION_)
// In the same namespace, after the declarations: the table of those calls.
#define SMOKEDRIFT_BACKEND_TABLE(backendName) \
    platform::WindowBackend { .name = (backendName), SMOKEDRIFT_BACKEND_CALLS(SMOKEDRIFT_BACKEND_ENTRY_) }

// A backend as the POSIX entry sees it: all it needs to know before the host starts, whether the
// window system answers here, and the table for the emulation. Each backend defines its row next to
// its table; platform/window_systems.cpp lists them.
struct BackendRow {
    const char* name;        // as messages name it: "X11", "Wayland"
    const char* switchName;  // the option that asks for it: "--x11", "--wayland"
    // The variable a session of this window system sets, as messages name it, and where the
    // session's environment holds its value; both null for the last resort.
    const char* sessionVariable;
    std::string SessionEnvironment::*sessionValue;
    // The modes it runs: true for the full-screen saver (/s) only, with no previews, dialog or
    // windows of its own; false for every mode.
    bool fullScreenOnly;
    // The line (exit 255) when its switch asks for a mode it does not run; null: it runs them all.
    const char* refusal;
    // The line (exit 255) for -root in its session, when no other row is asked for: its desktop is
    // not one a window can be put on. Null: -root draws here.
    const char* desktopRefusal;
    // Does this window system answer here? Connects on the way. With `report` (X11: always), a
    // failure is told in one line on stderr.
    bool (*probe)(bool report);
    const platform::WindowBackend* table;
    // The full-screen saver runs as a process per output (src/outputs), each told its output.
    bool processPerOutput;
};

// The window system of this process, from now on: the emulation starts over, with no classes,
// windows, messages or timers.
void useBackend(const WindowBackend& backend);

// What a backend tells the emulation.
// A message for the queue of a window of ours (input, WM_CLOSE, WM_ACTIVATEAPP); false when the
// window is not ours or the queue is full.
bool post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Part of the window must be drawn again: one WM_PAINT, however often this is called before it
// is taken from the queue.
void invalidate(HWND window);
// The surface took a new size: the window hears WM_SIZE at once, as from inside the call on Windows.
void resized(HWND window, int width, int height);
// The surface is gone under us (its parent died): the window hears WM_DESTROY, with nothing left
// to draw into.
void destroyed(HWND window);
// Whether the window is one of ours, and the top-level window it belongs to.
bool isOurs(HWND window);

}  // namespace smokedrift::platform
