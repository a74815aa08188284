#pragma once
// State of the X11 + GLX backend, shared by its files. Fixed-size tables: nothing is allocated
// while the saver runs.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <GL/glx.h>

#include <cstdint>

#include "platform/posix_process.h"
#include "platform/posix_queue.h"
#include "platform/win32_api.h"

namespace smokedrift::x11 {

constexpr int MAX_WINDOWS = 8;
constexpr int MAX_CONFIGS = 512;
constexpr int MAX_CONTEXTS = 4;
constexpr int MAX_SCREENS = 8;

struct X11Window {
    Window xid = 0;
    Window glChild = 0;  // created by SetPixelFormat with the format's visual
    Window parent = 0;   // 0 for a top-level window
    WNDPROC proc = nullptr;
    int width = 0;
    int height = 0;
    bool topLevel = false;
    bool mapped = false;
    bool obscured = false;  // entirely covered by other windows (VisibilityNotify)
    bool focusOnMap = false;
    bool paintPending = false;
    bool fullScreen = false;  // a topmost pop-up made to cover the screen: it follows the screen's size
    Window covers[MAX_SCREENS] = {};  // of a full-screen window: a black window on each other screen
    int pixelFormat = 0;
};

constexpr int MAX_GRABBED_DEVICES = 16;

// The full-screen saver's grab of the keyboard and the pointer (x11_grab.cpp).
struct InputGrab {
    Window window = 0;     // the full-screen window that holds or wants the grab; 0: none
    bool keyboard = false;  // the core grabs are ours
    bool pointer = false;
    int xiOpcode = -1;  // XInput 2's opcode; 0: the server has none; -1: not asked yet
    int devices[MAX_GRABBED_DEVICES] = {};  // keyboard devices grabbed one by one meanwhile
    int deviceCount = 0;
    Window pointerRoot = 0;  // the pointer as last read while another client holds it
    int pointerX = 0;
    int pointerY = 0;
    unsigned int buttons = 0;
};

struct X11State {
    Display* display = nullptr;
    bool openFailed = false;
    int screen = 0;
    Window root = 0;
    Atom wmProtocols = 0;
    Atom wmDeleteWindow = 0;
    Cursor blankCursor = 0;
    bool cursorHidden = false;
    posix::ClassTable classes;
    X11Window windows[MAX_WINDOWS];
    posix::TimerTable timers;
    posix::MessageQueue queue;
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

X11Window* findWindow(Window xid);
inline Window xidOf(HWND window) { return static_cast<Window>(reinterpret_cast<std::uintptr_t>(window)); }
inline HWND handleOf(Window xid) { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(xid)); }
inline Window xidOf(HDC dc) { return static_cast<Window>(reinterpret_cast<std::uintptr_t>(dc)); }

// Waits until the X connection or the signal pipe has something, or the timeout (ms, -1 none).
void waitForInput(int timeoutMs);

// Removes our bookkeeping of a window after its WM_DESTROY went out.
void forgetWindow(X11Window& w);

// Screens (x11_screens.cpp).
// The screen whose root window this is, or -1.
int screenOfRoot(Window xid);
// Adds events to hear from a window of another client; on a root, to what others listen to there.
void listenTo(Window xid, long mask);
// A top-level window that covers its screen: from now on it follows the screen's size.
void coverScreen(X11Window& w);
// A root window took a new size (RandR): the windows covering its screen take it too.
void screenResized(Window root, int width, int height);
// Maps the covers of the other screens with their full-screen window.
void showCovers(const X11Window& w);
// Destroys them.
void dropCovers(X11Window& w);
// The full-screen window one of whose covers this is, or null.
X11Window* coveredBy(Window cover);
// Where screen `screen`'s origin lies in one desktop: the screens side by side, the default at 0.
int screenOriginX(int screen);
// Another client's top-level window was mapped, moved or restacked (heard on a root).
void topLevelChanged(const XEvent& e);
// Raises the full-screen windows over whatever came above them since the last events were read.
void keepOnTop();

// Input (x11_grab.cpp).
// A full-screen window just mapped takes the keyboard and the pointer; other windows take nothing.
void holdInput(const X11Window& w);
// At each pass of the event loop: the grabs another client held are tried again, and meanwhile
// the pointer is watched.
void keepInputHeld();
// The window is going: its grabs are let go of.
void releaseInput(Window xid);
// A key from a keyboard device grabbed on its own becomes a core KeyPress on the grabbing window;
// false for any other event.
bool keyFromDevice(XEvent& e);

}  // namespace smokedrift::x11
