#pragma once
// State of the Wayland + EGL backend, shared by its files: one struct, fixed-size tables.
//
// Features: the full-screen saver only, on the output it is given (a layer-shell overlay where the
// compositor offers one, a full-screen xdg toplevel elsewhere); input from every seat; EGL pixel
// formats and a desktop-GL context whose last frame survives the swap; swaps paced by frame
// callbacks. Limits: no child windows (previews), no dialogs, no windows of other clients to find;
// one output per process.
//
// The screen saver covers each output with a process of its own, started and watched from above
// the backends (src/outputs): the scene is one object drawn at one size, and outputs have sizes of
// their own. Each process is told its output (drawOnOutput) and shows one window there (a
// layer-shell surface on its output, or a full-screen xdg toplevel where the compositor has no
// layer shell), with the scene or, when told to cover it black, without OpenGL; the processes of
// one run share a page (`Group`) to tell whether the keyboard focus is still one of theirs and
// which of their surfaces the pointer entered last.
#include <EGL/egl.h>
#include <GL/gl.h>
#include <GL/glext.h>
#include <wayland-client.h>
#include <wayland-egl.h>

#include <atomic>
#include <cstdint>

#include "platform/win32/posix_process.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/window_backend.h"

struct xdg_wm_base;
struct xdg_surface;
struct xdg_toplevel;
struct zwlr_layer_shell_v1;
struct zwlr_layer_surface_v1;

namespace smokedrift::wl {

// Outputs a connection lists, and processes of one run.
constexpr int MAX_OUTPUTS = 64;
constexpr int MAX_SEATS = 4;
constexpr int MAX_WL_SURFACES = 4;
constexpr int MAX_CONTEXTS = 4;
constexpr int MAX_CONFIGS = 64;
constexpr int MAX_GROUP = MAX_OUTPUTS;
// The longest side a surface of ours takes, in pixels, whatever the compositor asks: more than any
// output shows, and a black buffer that size (4 bytes a pixel) still fits a pool's int32 size.
constexpr int MAX_SURFACE_SIDE = 16384;

// A process of the run that covers an output which went away ends with this code; the watching
// process knows it is no reason to end the others.
constexpr int OUTPUT_GONE_CODE = 3;

struct WlOutput {
    std::uint32_t name = 0;  // the registry's name: the same in every client of the compositor
    wl_output* output = nullptr;
    int width = 0;  // the current mode, in pixels, as the output shows it (after its transform)
    int height = 0;
    int scale = 1;
    bool rotated = false;  // a transform of 90 or 270 degrees
    bool done = false;     // its first description is complete
};

struct WlSeat {
    std::uint32_t name = 0;
    wl_seat* seat = nullptr;
    wl_pointer* pointer = nullptr;
    wl_keyboard* keyboard = nullptr;
    wl_touch* touch = nullptr;
    bool pointerAfterShow = false;  // the pointer came when a surface of ours was already shown
};

// How a window's last frame survives a swap: the surface preserves it; the buffer age tells after
// each swap whether it did; the window draws into a buffer of its own; or the driver is trusted.
enum class History { Unknown, Preserved, BufferAge, OwnBuffer, Trusted };

// The surface under a window of ours.
struct WlSurface {
    HWND handle = nullptr;  // null: a free slot
    wl_surface* surface = nullptr;
    zwlr_layer_surface_v1* layer = nullptr;
    xdg_surface* xdgSurface = nullptr;
    xdg_toplevel* toplevel = nullptr;
    std::uint32_t outputName = 0;
    int scale = 1;
    int width = 0;  // in pixels
    int height = 0;
    int logicalWidth = 0;  // as the compositor gave it, in its units: the pixels over the scale
    int logicalHeight = 0;
    bool configured = false;
    int pendingWidth = 0;  // a toplevel's size arrives first, the surface's configure closes the set
    int pendingHeight = 0;
    bool closing = false;  // the compositor closed it: WM_CLOSE is on its way
    // The compositor has handled the first frame, and with it the pointer focus a surface that
    // appears under the pointer gets: a round trip after the first swap.
    bool settled = false;
    wl_callback* settling = nullptr;
    bool pacedByFrames = false;  // a swap interval of 1: draw no faster than the output shows
    // Frames swapped that the compositor has not said it showed yet. One may be drawn while the
    // one before waits for the refresh, as a swap interval of 1 allows; with both waiting, a new
    // frame would be wasted (or the output is off).
    wl_callback* framesInFlight[2] = {};
    int pixelFormat = 0;
    wl_egl_window* eglWindow = nullptr;
    wl_buffer* blackBuffer = nullptr;  // shown while nothing draws into the surface
    EGLSurface eglSurface = EGL_NO_SURFACE;
    History history = History::Unknown;
    unsigned int historyFramebuffer = 0;  // the own buffer: a framebuffer with colour and depth
    unsigned int historyColor = 0;
    unsigned int historyDepth = 0;
    int historyWidth = 0;
    int historyHeight = 0;
};

// The framebuffer calls the own buffer needs, loaded once a context is current (wl_egl.cpp).
struct FramebufferCalls {
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
    PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
    PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers = nullptr;
    PFNGLBLITFRAMEBUFFERPROC blitFramebuffer = nullptr;
    bool loaded = false;
};

// Shared by the processes of one run (anonymous shared memory made before they start).
struct Group {
    // A bit for each process of the run whose surface has the keyboard focus (memberBit): one that
    // ends holding it (its output went) never says it left, so the watcher clears its bit.
    std::atomic<std::uint64_t> keyboardHolders{0};
    std::atomic<int> pointerMember{-1};    // which process's surface the pointer entered last
    std::atomic<bool> failureTold{false};  // a process has said why OpenGL fails; the others need not
};

static_assert(MAX_GROUP <= 64, "a member's bit in the group's masks");
inline std::uint64_t memberBit(int member) { return std::uint64_t{1} << member; }

struct WlState {
    wl_display* display = nullptr;
    bool connectFailed = false;
    wl_registry* registry = nullptr;
    wl_compositor* compositor = nullptr;
    xdg_wm_base* wmBase = nullptr;
    zwlr_layer_shell_v1* layerShell = nullptr;
    wl_shm* shm = nullptr;
    WlOutput outputs[MAX_OUTPUTS];
    WlSeat seats[MAX_SEATS];
    WlSurface surfaces[MAX_WL_SURFACES];

    // Which output this process covers (a registry name; 0: the first there is), and as which
    // member of the run.
    std::uint32_t targetOutput = 0;
    int member = 0;
    Group* group = nullptr;
    bool black = false;  // covers its output black, without the scene
    bool outputGone = false;

    // The pointer as Win32 sees it: a position that only travel moves. Wayland tells positions on
    // a surface; the first one after `enter` is where travel is measured from.
    POINT cursor = {0, 0};
    bool pointerInside = false;
    double pointerX = 0;
    double pointerY = 0;
    HWND pointerWindow = nullptr;
    wl_pointer* pointerOfEnter = nullptr;
    std::uint32_t enterSerial = 0;
    bool cursorHidden = false;
    HWND keyboardWindow = nullptr;
    std::uint64_t focusCheckDue = 0;         // when to look whether the focus stayed with us (0: no check)
    wl_keyboard* keyboardOfLeave = nullptr;  // the keyboard whose leave that look is for

    EGLDisplay eglDisplay = EGL_NO_DISPLAY;
    EGLConfig configs[MAX_CONFIGS] = {};
    int configCount = -1;  // -1: not listed yet
    EGLContext contexts[MAX_CONTEXTS] = {};
    EGLContext currentContext = EGL_NO_CONTEXT;
    HWND currentWindow = nullptr;
    FramebufferCalls framebuffer;

    UINT nextMessage = 0xC000;  // RegisterWindowMessageA's next number
};

WlState& state();

// The connection, made on first use; null (after one line on stderr, unless quiet) when there
// is none.
wl_display* display();
wl_display* connect(bool report);
// The compositor went away or broke the connection: one line (unless this process is one of a
// run, whose watcher says it) and out with 255.
[[noreturn]] void connectionLost();
// In a process just forked to cover one output: forgets the connection and state it inherited
// (without a word to the compositor, which still serves the watcher) and from now on draws only on
// `output` (a registry name), as `member` of the run sharing `group`, black when `black`.
void drawOnOutput(std::uint32_t output, int member, Group* group, bool black);
// The backend's row (wl_backend.cpp): its table, its probe, a process per output.
extern const platform::BackendRow row;
// The calls of its table (window_backend.h lists them): those that say what Wayland does not do
// in wl_backend.cpp, pumpEvents and waitEvents in wl_connection.cpp (pumping sends what is queued
// and handles what came, without waiting), the surfaces in wl_window.cpp, the pointer in
// wl_input.cpp, OpenGL in wl_egl.cpp, glyphs of our own for --fps in wl_font.cpp (no server lends
// a font).
SMOKEDRIFT_DECLARE_BACKEND_CALLS()
// Round trip: every request so far has been answered.
void roundtrip();

WlOutput* findOutput(std::uint32_t name);
WlOutput* targetOutput();
WlSurface* findSurface(HWND window);
// Surfaces (wl_window.cpp).
WlSurface* surfaceOf(wl_surface* surface);
inline HWND desktopHandle() { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x100)); }

// Input (wl_input.cpp): listens to a seat's devices as its capabilities come and go.
void addSeat(std::uint32_t name, std::uint32_t version);
void removeSeat(std::uint32_t name);
// What the devices' events do, for driving them without a compositor.
const wl_pointer_listener& pointerEvents();
const wl_keyboard_listener& keyboardEvents();
const wl_touch_listener& touchEvents();
// The keyboard focus left and no other surface of ours took it in time: deactivate.
void checkFocus();

// Surfaces (wl_window.cpp), continued.
// A window whose output went away or that the compositor closed.
void surfaceClosed(WlSurface& w);
// The surface took a size from the compositor: WM_SIZE, and the drawable follows.
void surfaceResized(WlSurface& w, int width, int height);
// A frame of the window was committed: the first one starts the round trip that settles it.
void surfaceShown(WlSurface& w);
// The output's description is complete again: its windows follow a new scale.
void outputChanged(const WlOutput& output);

// OpenGL (wl_egl.cpp).
void resizeDrawable(WlSurface& w);
void releaseDrawable(WlSurface& w);

}  // namespace smokedrift::wl
