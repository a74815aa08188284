// Windows on Wayland: a top-level pop-up becomes a surface covering this process's output, a
// layer-shell overlay where the compositor offers one, a full-screen xdg toplevel elsewhere.
// Nothing else has a place here: child windows (previews) and dialogs are X11's.
#include <cstdio>
#include <cstring>

#include "platform/posix_api.h"
#include "platform/wl_state.h"
#include "xdg-shell-client.h"
#ifdef SMOKEDRIFT_LAYER_SHELL
#include "wlr-layer-shell-unstable-v1-client.h"
#endif

namespace smokedrift::wl {

WlWindow* findWindow(HWND window) {
    if (window == nullptr) return nullptr;
    for (WlWindow& w : state().windows) {
        if (w.handle == window) return &w;
    }
    return nullptr;
}

WlWindow* windowOfSurface(wl_surface* surface) {
    for (WlWindow& w : state().windows) {
        if (w.handle != nullptr && w.surface == surface) return &w;
    }
    return nullptr;
}

void windowClosed(WlWindow& w) {
    if (w.closing) return;
    w.closing = true;
    state().queue.post(w.handle, WM_CLOSE, 0, 0);
}

void windowResized(WlWindow& w, int width, int height) {
    if (width <= 0 || height <= 0 || (width == w.width && height == w.height)) return;
    w.width = width;
    w.height = height;
    resizeDrawable(w);
    w.proc(w.handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
}

namespace {

void firstFrameHandled(void* data, wl_callback* callback, uint32_t) {
    auto* w = static_cast<WlWindow*>(data);
    wl_callback_destroy(callback);
    w->settling = nullptr;
    w->settled = true;
}

const wl_callback_listener settleListener = {firstFrameHandled};

}  // namespace

void windowShown(WlWindow& w) {
    if (w.settled || w.settling != nullptr) return;
    w.settling = wl_display_sync(state().display);
    wl_callback_add_listener(w.settling, &settleListener, &w);
}

// A scale changed while the window is shown: buffers of the new scale, as many pixels as that
// gives for the size the window has (the compositor may send a new one too, or not).
void outputChanged(const WlOutput& output) {
    for (WlWindow& w : state().windows) {
        if (w.handle == nullptr || w.outputName != output.name || w.scale == output.scale) continue;
        w.scale = output.scale;
        wl_surface_set_buffer_scale(w.surface, w.scale);
        if (w.configured) windowResized(w, w.logicalWidth * w.scale, w.logicalHeight * w.scale);
    }
}

namespace {

// A configure's size is in the surface's own units; the window is measured in pixels.
void configured(WlWindow& w, int width, int height) {
    if (width <= 0 || height <= 0) {
        // Ours to choose (sway's first configure of a toplevel): the output's size.
        if (const WlOutput* o = findOutput(w.outputName)) {
            width = o->width / w.scale;
            height = o->height / w.scale;
        }
    }
    w.logicalWidth = width;
    w.logicalHeight = height;
    const int pixelsWide = width * w.scale;
    const int pixelsHigh = height * w.scale;
    if (!w.configured) {
        w.configured = true;
        if (pixelsWide > 0) w.width = pixelsWide;
        if (pixelsHigh > 0) w.height = pixelsHigh;
        return;
    }
    windowResized(w, pixelsWide, pixelsHigh);
}

#ifdef SMOKEDRIFT_LAYER_SHELL
void layerConfigure(void* data, zwlr_layer_surface_v1* layer, uint32_t serial, uint32_t width, uint32_t height) {
    zwlr_layer_surface_v1_ack_configure(layer, serial);
    configured(*static_cast<WlWindow*>(data), static_cast<int>(width), static_cast<int>(height));
}

// The compositor takes a layer surface away when its output goes (before it says the output went)
// or when it will not show it any longer: either way this output is no longer this process's.
void layerClosed(void* data, zwlr_layer_surface_v1*) {
    state().outputGone = true;
    windowClosed(*static_cast<WlWindow*>(data));
}

const zwlr_layer_surface_v1_listener layerListener = {layerConfigure, layerClosed};
#endif

// A toplevel's size arrives first, the surface's configure after it closes the set.
int pendingWidth = 0;
int pendingHeight = 0;

void toplevelConfigure(void*, xdg_toplevel*, int32_t width, int32_t height, wl_array*) {
    pendingWidth = width;
    pendingHeight = height;
}

void toplevelClose(void* data, xdg_toplevel*) { windowClosed(*static_cast<WlWindow*>(data)); }

void toplevelBounds(void*, xdg_toplevel*, int32_t, int32_t) {}
void toplevelCapabilities(void*, xdg_toplevel*, wl_array*) {}

const xdg_toplevel_listener toplevelListener = {toplevelConfigure, toplevelClose, toplevelBounds,
                                                toplevelCapabilities};

void surfaceConfigure(void* data, xdg_surface* surface, uint32_t serial) {
    xdg_surface_ack_configure(surface, serial);
    configured(*static_cast<WlWindow*>(data), pendingWidth, pendingHeight);
}

const xdg_surface_listener xdgSurfaceListener = {surfaceConfigure};

void destroySurface(WlWindow& w) {
    releaseDrawable(w);
    if (w.settling != nullptr) wl_callback_destroy(w.settling);
#ifdef SMOKEDRIFT_LAYER_SHELL
    if (w.layer != nullptr) zwlr_layer_surface_v1_destroy(w.layer);
#endif
    if (w.toplevel != nullptr) xdg_toplevel_destroy(w.toplevel);
    if (w.xdgSurface != nullptr) xdg_surface_destroy(w.xdgSurface);
    if (w.surface != nullptr) wl_surface_destroy(w.surface);
    w = WlWindow{};
}

// The role that puts the surface over the whole output, above everything else.
void giveRole(WlWindow& w, const WlOutput& output, LPCSTR title) {
    WlState& s = state();
#ifdef SMOKEDRIFT_LAYER_SHELL
    if (s.layerShell != nullptr) {
        w.layer = zwlr_layer_shell_v1_get_layer_surface(s.layerShell, w.surface, output.output,
                                                        ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "smokedrift");
        zwlr_layer_surface_v1_add_listener(w.layer, &layerListener, &w);
        zwlr_layer_surface_v1_set_anchor(w.layer, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                                                      ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT |
                                                      ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
        // -1: over panels too, not beside them.
        zwlr_layer_surface_v1_set_exclusive_zone(w.layer, -1);
        zwlr_layer_surface_v1_set_keyboard_interactivity(w.layer, 1);
        zwlr_layer_surface_v1_set_size(w.layer, 0, 0);
        return;
    }
#endif
    w.xdgSurface = xdg_wm_base_get_xdg_surface(s.wmBase, w.surface);
    xdg_surface_add_listener(w.xdgSurface, &xdgSurfaceListener, &w);
    w.toplevel = xdg_surface_get_toplevel(w.xdgSurface);
    xdg_toplevel_add_listener(w.toplevel, &toplevelListener, &w);
    xdg_toplevel_set_title(w.toplevel, title != nullptr ? title : "smokedrift");
    xdg_toplevel_set_app_id(w.toplevel, "smokedrift");
    xdg_toplevel_set_fullscreen(w.toplevel, output.output);
}

}  // namespace

namespace api {

ATOM WINAPI RegisterClassA(const WNDCLASSA* windowClass) {
    return display() != nullptr ? state().classes.add(*windowClass) : 0;
}

HWND WINAPI CreateWindowExA(DWORD, LPCSTR className, LPCSTR title, DWORD style, int, int, int width, int height,
                            HWND parent, HMENU, HINSTANCE, LPVOID) {
    WlState& s = state();
    const WNDPROC classProc = display() != nullptr ? state().classes.find(className) : nullptr;
    const WlOutput* output = targetOutput();
    if (classProc == nullptr || (style & WS_CHILD) || parent != nullptr) return nullptr;
    if (output == nullptr) {
        s.outputGone = true;
        return nullptr;
    }
    WlWindow* w = nullptr;
    for (int i = 0; w == nullptr && i < MAX_WINDOWS; ++i) {
        if (s.windows[i].handle == nullptr) w = &s.windows[i];
    }
    if (w == nullptr) return nullptr;
    *w = WlWindow{};
    w->handle = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(1 + (w - s.windows)));
    w->proc = classProc;
    w->outputName = output->name;
    w->scale = output->scale;
    w->width = width;
    w->height = height;
    w->surface = wl_compositor_create_surface(s.compositor);
    wl_surface_set_buffer_scale(w->surface, w->scale);
    // The picture has no holes: the compositor need not draw what lies under it.
    wl_region* opaque = wl_compositor_create_region(s.compositor);
    wl_region_add(opaque, 0, 0, INT32_MAX, INT32_MAX);
    wl_surface_set_opaque_region(w->surface, opaque);
    wl_region_destroy(opaque);
    giveRole(*w, *output, title);
    wl_surface_commit(w->surface);
    while (!w->configured && !w->closing) roundtrip();
    if (w->closing) {
        destroySurface(*w);
        return nullptr;
    }
    const HWND handle = w->handle;
    if (w->proc(handle, WM_CREATE, 0, 0) == -1) {
        destroySurface(*w);
        return nullptr;
    }
    if (style & WS_VISIBLE) {
        w->proc(handle, WM_SHOWWINDOW, TRUE, 0);
        s.queue.post(handle, WM_PAINT, 0, 0);
    }
    wl_display_flush(s.display);
    return handle;
}

HWND WINAPI GetDesktopWindow() { return display() != nullptr ? desktopHandle() : nullptr; }

BOOL WINAPI IsWindow(HWND window) { return findWindow(window) != nullptr || window == desktopHandle() ? TRUE : FALSE; }

HWND WINAPI GetParent(HWND) { return nullptr; }

BOOL WINAPI GetClientRect(HWND window, LPRECT rect) {
    *rect = RECT{0, 0, 0, 0};
    if (const WlWindow* w = findWindow(window)) {
        rect->right = w->width;
        rect->bottom = w->height;
        return TRUE;
    }
    if (window == desktopHandle()) {
        const WlOutput* o = targetOutput();
        if (o == nullptr) return FALSE;
        rect->right = o->width;
        rect->bottom = o->height;
        return TRUE;
    }
    return FALSE;
}

// Another run's surfaces are not ours to find: compositors keep clients apart.
HWND WINAPI FindWindowA(LPCSTR, LPCSTR) { return nullptr; }

HWND WINAPI GetForegroundWindow() { return state().keyboardWindow; }

// The compositor hands out the focus; a layer surface asks for the keyboard when it is made.
BOOL WINAPI SetForegroundWindow(HWND window) { return findWindow(window) != nullptr ? TRUE : FALSE; }

HCURSOR WINAPI SetCursor(HCURSOR cursor) {
    const HCURSOR previous = state().cursorHidden ? nullptr : reinterpret_cast<HCURSOR>(1);
    // Wayland shows the pointer again only when a surface asks for a picture of it; ours never do.
    if (cursor == nullptr) hideCursor();
    return previous;
}

BOOL WINAPI GetCursorPos(LPPOINT point) {
    *point = state().cursor;
    return TRUE;
}

HDC WINAPI GetDC(HWND window) {
    if (display() == nullptr) return nullptr;
    return reinterpret_cast<HDC>(window == nullptr ? desktopHandle() : window);
}

int WINAPI ReleaseDC(HWND, HDC) { return 1; }

int WINAPI GetClipBox(HDC dc, LPRECT rect) {
    *rect = RECT{0, 0, 0, 0};
    const HWND window = reinterpret_cast<HWND>(dc);
    if (!api::GetClientRect(window, rect)) return ERROR;
    // The frames drawn have not been shown yet (or the output is off): a new one would be wasted.
    const WlWindow* w = findWindow(window);
    if (w != nullptr && w->framesInFlight[0] != nullptr && w->framesInFlight[1] != nullptr) return NULLREGION;
    return SIMPLEREGION;
}

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM, LPARAM) {
    WlWindow* w = findWindow(window);
    if (message != WM_CLOSE || w == nullptr) return 0;
    // As DestroyWindow: the window hears WM_DESTROY while its surface still exists.
    w->proc(window, WM_DESTROY, 0, 0);
    state().queue.dropFor(window);
    state().timers.dropFor(window);
    destroySurface(*w);
    wl_display_flush(state().display);
    return 0;
}

INT_PTR WINAPI DialogBoxParamA(HINSTANCE, LPCSTR, HWND, DLGPROC, LPARAM) { return -1; }
BOOL WINAPI EndDialog(HWND, INT_PTR) { return FALSE; }

}  // namespace api
}  // namespace smokedrift::wl
