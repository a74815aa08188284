#pragma once
// State of the X11 + GLX backend, shared by its files: one struct, fixed-size tables, nothing
// allocated while the saver runs.
//
// Features: top-level windows (framed by a window manager, or an override-redirect full-screen
// pop-up that covers every screen and stays on top), child windows of other clients' windows
// (previews, xscreensaver's window, the root for -root), the keyboard and pointer grabbed per
// device while the saver shows, GLX pixel formats and contexts, the settings dialog.
// Limits: at most MAX_X11_SURFACES surfaces; the scene draws on the default screen only (the others get
// a black cover that hears input); windows are identified by their X id, which is also the HWND.
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>

#include "platform/win32/posix_process.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/window_backend.h"

namespace smokedrift::x11 {

constexpr int MAX_X11_SURFACES = 8;
constexpr int MAX_CONFIGS = 512;
constexpr int MAX_CONTEXTS = 4;
constexpr int MAX_SCREENS = 8;

// The X window under a window of ours.
struct X11Surface {
    Window xid = 0;         // also the window's HWND
    Window glChild = 0;     // created by SetPixelFormat with the format's visual
    Colormap colormap = 0;  // the child's, freed with the window
    Window parent = 0;      // 0 for a top-level window
    int width = 0;
    int height = 0;
    bool topLevel = false;
    bool mapped = false;
    bool obscured = false;  // entirely covered by other windows (VisibilityNotify)
    bool focusOnMap = false;
    bool fullScreen = false;          // made with the full-screen role: it follows the screen's size
    Window covers[MAX_SCREENS] = {};  // of a full-screen window: a black window on each other screen
    int pixelFormat = 0;
};

constexpr int MAX_GRABBED_DEVICES = 16;

// The full-screen saver's grab of the keyboard and the pointer (x11_grab.cpp).
struct InputGrab {
    Window window = 0;      // the full-screen window that holds or wants the grab; 0: none
    bool keyboard = false;  // the core grabs are ours
    bool pointer = false;
    int xiOpcode = -1;                      // XInput 2's opcode; 0: the server has none; -1: not asked yet
    int devices[MAX_GRABBED_DEVICES] = {};  // keyboard devices grabbed one by one meanwhile
    int deviceCount = 0;
    Window pointerRoot = 0;  // the pointer as last read while another client holds it
    int pointerX = 0;
    int pointerY = 0;
    unsigned int buttons = 0;
};

struct X11State {
    Display* display = nullptr;
    bool connectFailed = false;
    int screen = 0;
    Window root = 0;
    Atom wmProtocols = 0;
    Atom wmDeleteWindow = 0;
    Cursor blankCursor = 0;
    bool cursorHidden = false;
    X11Surface surfaces[MAX_X11_SURFACES];
    long rootInput[MAX_SCREENS] = {};  // what we listen to on each root window, for all callers
    bool raisePending = false;         // another top-level window was mapped or restacked
    InputGrab grab;
    GLXFBConfig configs[MAX_CONFIGS] = {};
    int configCount = -1;  // -1: not listed yet
    GLXContext contexts[MAX_CONTEXTS] = {};
    bool dialogEnded = false;
    INT_PTR dialogResult = 0;
};

X11State& state();

// The connection, opened on first use; null (after one line on stderr) when there is none.
Display* display();

X11Surface* findSurface(Window xid);
inline Window xidOf(HWND window) { return static_cast<Window>(reinterpret_cast<std::uintptr_t>(window)); }
inline HWND handleOf(Window xid) { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(xid)); }
inline Window xidOf(HDC dc) { return static_cast<Window>(reinterpret_cast<std::uintptr_t>(dc)); }

// The backend's row (x11_backend.cpp): its table and its probe.
extern const platform::BackendRow row;
// The calls of its table (window_backend.h lists them): connect, exitCode and postToOther in
// x11_backend.cpp, waitEvents in x11_connection.cpp, pumpEvents in x11_events.cpp, the surfaces,
// other windows and the pointer in x11_window.cpp, OpenGL in x11_glx.cpp, the settings dialog in
// x11_dialog.cpp.
SMOKEDRIFT_DECLARE_BACKEND_CALLS()
// Removes our bookkeeping of a surface (its grabs, its covers).
void forgetSurface(X11Surface& w);

// Screens (x11_screens.cpp).
// The screen whose root window this is, or -1.
int screenOfRoot(Window xid);
// Adds events to hear from a window of another client; on a root, to what others listen to there.
void listenTo(Window xid, long mask);
// A top-level window that covers its screen: from now on it follows the screen's size.
void coverScreen(X11Surface& w);
// A root window took a new size (RandR): the windows covering its screen take it too.
void screenResized(Window root, int width, int height);
// Maps the covers of the other screens with their full-screen window.
void showCovers(const X11Surface& w);
// Destroys them.
void dropCovers(X11Surface& w);
// The full-screen window one of whose covers this is, or null.
X11Surface* coveredBy(Window cover);
// Where screen `screen`'s origin lies in one desktop: the screens side by side, the default at 0.
int screenOriginX(int screen);
// Another client's top-level window was mapped, moved or restacked (heard on a root).
void topLevelChanged(const XEvent& e);
// Raises the full-screen windows over whatever came above them since the last events were read.
void keepOnTop();

// Input (x11_grab.cpp).
// A full-screen window just mapped takes the keyboard and the pointer; other windows take nothing.
void holdInput(const X11Surface& w);
// At each pass of the event loop: the grabs another client held are tried again, and meanwhile
// the pointer is watched.
void keepInputHeld();
// The window is going: its grabs are let go of.
void releaseInput(Window xid);
// A key from a keyboard device grabbed on its own becomes a core KeyPress on the grabbing window;
// false for any other event.
bool keyFromDevice(XEvent& e);

}  // namespace smokedrift::x11
